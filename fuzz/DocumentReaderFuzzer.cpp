// libFuzzer target for the document reader: any bytes either fail with EDocumentError or read
// into a document that writes out and reads back. Without JPEG pictures the second writing
// gives the same bytes; a JPEG picture is re-encoded at every writing, so for those only its
// size, quality and flags must come back. Storing may fail only for a JPEG picture whose
// quality the encoder refuses.
#include <cstdio>
#include <cstdlib>
#include <span>
#include <stdexcept>

#include "document/DocumentFile.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

bool IsStoredJpeg(const TMemBitmap& b) { return b.IsJpeg && b.HasImage && !b.DibBlock.empty(); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TDocumentData doc;
    try {
        doc = ReadDocument(std::span<const uint8_t>(data, size), "fuzz.PST");
    } catch (const EDocumentError&) {
        return 0;
    }
    bool jpeg = false, badQuality = false;
    for (int i = 0; i < doc.Items.Images.Count(); ++i) {
        const TMemBitmap& b = *doc.Items.Images[i].Picture;
        if (!IsStoredJpeg(b)) continue;
        jpeg = true;
        badQuality = badQuality || b.JpegQuality < 1 || b.JpegQuality > 100;
    }
    std::vector<uint8_t> written;
    try {
        written = WriteDocument(doc);
    } catch (const std::runtime_error&) {
        if (!badQuality) Fail("a document that was read could not be written");
        return 0;
    }
    if (badQuality) Fail("a JPEG picture with a quality outside 1..100 was stored");
    const TDocumentData again = ReadDocument(written, "fuzz.PST");
    if (!jpeg) {
        if (WriteDocument(again) != written)
            Fail("a document read back differently from how it was written");
        return 0;
    }
    if (again.Items.Images.Count() != doc.Items.Images.Count()) Fail("images were lost");
    for (int i = 0; i < doc.Items.Images.Count(); ++i) {
        const TMemBitmap &a = *doc.Items.Images[i].Picture, &b = *again.Items.Images[i].Picture;
        if (a.IsJpeg != b.IsJpeg || a.HasImage != b.HasImage || a.JpegQuality != b.JpegQuality ||
            (IsStoredJpeg(a) && (a.Width != b.Width || a.Height != b.Height)))
            Fail("a picture read back differently from how it was written");
    }
    return 0;
}
