// libFuzzer target for the picture import of bitmap and JPEG files (no other formats): JPEG
// streams go through the decoder's import mode, which takes streams without the JFIF header,
// and must decode as the bit-at-a-time reference does in the same mode; an imported JPEG
// picture, stored as documents store it, must read back through the strict JFIF reader at its
// upright size; anything imported draws pixels of its size. Sanitizers watch the Exif reader
// and the turning of the picture on the way.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"
#include "imaging/ExifOrientation.h"
#include "imaging/MemBitmap.h"
#include "imaging/PictureImport.h"
#include "jpeg/JpegDecoder.h"
#include "jpeg/ReferenceDecoder.h"
#include "platform/BinaryStream.h"

namespace {

// Small frames keep every input fast; the size checks themselves are exercised by the tests.
constexpr uint64_t kFuzzPixelLimit = uint64_t(1) << 20;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

std::string Run(JpegDecoder& decoder, std::span<const uint8_t> data, BitmapImage& picture) {
    JpegDecoderOptions options;
    options.PixelLimit = kFuzzPixelLimit;
    options.RequireJfifHeader = false;
    decoder.SetOptions(options);
    try {
        decoder.Decode(data.data(), data.size(), picture);
        return "ok";
    } catch (const EGraphicsException& e) {
        return e.what();
    }
}

bool IsJpegStart(std::span<const uint8_t> d) {
    return d.size() >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF;
}

void CheckJpeg(std::span<const uint8_t> data) {
    BitmapImage fast, reference;
    JpegDecoder fastDecoder;
    ReferenceJpegDecoder referenceDecoder;
    const std::string fastResult = Run(fastDecoder, data, fast);
    const std::string referenceResult = Run(referenceDecoder, data, reference);
    if (fastResult != referenceResult) {
        std::fprintf(stderr, "fast: %s\nreference: %s\n", fastResult.c_str(),
                     referenceResult.c_str());
        std::abort();
    }
    // Larger frames would make the import allocate up to its own much higher limit.
    if (fastResult != "ok") return;
    if (fast.ImageDataSize() != reference.ImageDataSize() ||
        std::memcmp(fast.ImageData(), reference.ImageData(), fast.ImageDataSize()) != 0)
        Fail("fast and reference pictures differ in import mode");

    TMemBitmap picture;
    std::string why;
    if (!ImportPicture(data, picture, why)) {
        std::fprintf(stderr, "a stream the decoder reads was refused: %s\n", why.c_str());
        std::abort();
    }
    if (!picture.IsJpeg) Fail("an imported JPEG picture is not marked as one");
    const int orientation = ExifOrientation(data);
    const bool turned = orientation >= 5 && orientation <= 8;
    const int32_t w = int32_t(fast.Width()), h = int32_t(fast.Height());
    if (picture.Width != (turned ? h : w) || picture.Height != (turned ? w : h))
        Fail("the imported picture does not have its upright size");

    // Stored as a document stores it: the strict reader takes it back.
    TWriteStream out;
    try {
        picture.WriteToStream(out);
    } catch (const EGraphicsException& e) {
        std::fprintf(stderr, "an imported picture cannot be stored: %s\n", e.what());
        std::abort();
    }
    TMemBitmap back;
    TReadStream in(out.Data());
    try {
        back.ReadFromStream(in);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "a stored imported picture does not read back: %s\n", e.what());
        std::abort();
    }
    if (!in.AtEnd() || back.Width != picture.Width || back.Height != picture.Height || !back.IsJpeg)
        Fail("a stored imported picture read back differently");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    if (IsJpegStart(bytes)) {
        CheckJpeg(bytes);
        return 0;
    }
    TMemBitmap picture;
    std::string why;
    TImportedPicture about;
    if (!ImportPicture(bytes, picture, why, nullptr, &about)) {
        if (why.empty() || picture.HasImage) Fail("a refusal without a reason or with a picture");
        return 0;
    }
    const TPixmap pixels = picture.Pixels();
    if (pixels.Pixels.size() != size_t(picture.Width) * size_t(picture.Height))
        Fail("device pixels do not match the picture's size");
    return 0;
}
