// libFuzzer target for the document reader: any bytes either fail with EDocumentError or read
// into a document that writes out and reads back to the same bytes.
#include <cstdio>
#include <cstdlib>
#include <span>

#include "document/DocumentFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TDocumentData doc;
    try {
        doc = ReadDocument(std::span<const uint8_t>(data, size), "fuzz.PST");
    } catch (const EDocumentError&) {
        return 0;
    }
    const std::vector<uint8_t> written = WriteDocument(doc);
    const TDocumentData again = ReadDocument(written, "fuzz.PST");
    if (WriteDocument(again) != written) {
        std::fprintf(stderr, "a document read back differently from how it was written\n");
        std::abort();
    }
    return 0;
}
