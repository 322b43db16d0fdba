// Differential libFuzzer target for the JPEG decoder: every input is decoded with the fast bit
// reader and with the bit-at-a-time reference; both must fail with the same message or produce
// the same picture. Sanitizers catch memory errors and undefined behaviour on the way.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"
#include "jpeg/JpegDecoder.h"
#include "jpeg/ReferenceDecoder.h"

namespace {

// Small frames keep every input fast; the size checks themselves are exercised by the tests.
constexpr uint64_t kFuzzPixelLimit = uint64_t(1) << 20;

std::string Run(JpegDecoder& decoder, const uint8_t* data, size_t size, BitmapImage& picture) {
    decoder.SetPixelLimit(kFuzzPixelLimit);
    try {
        decoder.Decode(data, size, picture);
        return "ok";
    } catch (const EGraphicsException& e) {
        return e.what();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BitmapImage fast, reference;
    JpegDecoder fastDecoder;
    ReferenceJpegDecoder referenceDecoder;
    const std::string fastResult = Run(fastDecoder, data, size, fast);
    const std::string referenceResult = Run(referenceDecoder, data, size, reference);
    if (fastResult != referenceResult) {
        std::fprintf(stderr, "fast: %s\nreference: %s\n", fastResult.c_str(),
                     referenceResult.c_str());
        std::abort();
    }
    if (fastResult == "ok" &&
        (fast.ImageDataSize() != reference.ImageDataSize() ||
         std::memcmp(fast.ImageData(), reference.ImageData(), fast.ImageDataSize()) != 0)) {
        std::fprintf(stderr, "fast and reference pictures differ\n");
        std::abort();
    }
    return 0;
}
