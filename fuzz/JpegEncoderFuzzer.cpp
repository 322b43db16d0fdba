// libFuzzer target for the JPEG encoder: the input chooses a quality, a bit depth, a size, a
// colour map and the pixels of a small picture. Every picture encodes (or fails with the
// expected message for a bad quality or a pixel outside its colour map), the same way twice and
// when transformed a strip at a time, and our decoder reads the stream back to a picture of the
// same size.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"
#include "jpeg/JpegDecoder.h"
#include "jpeg/JpegEncoder.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

// The input after the four header bytes, repeated as far as needed (zeros when empty).
class Filler {
public:
    Filler(const uint8_t* data, size_t size) : m_Data(data), m_Size(size) {}
    uint8_t Next() { return m_Size == 0 ? 0 : m_Data[m_At++ % m_Size]; }

private:
    const uint8_t* m_Data;
    size_t m_Size;
    size_t m_At = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    static const uint32_t kBitCounts[] = {1, 2, 4, 8, 24};
    const uint32_t quality = data[0] % 103; // 0, 101 and 102 are refused
    const uint32_t bitCount = kBitCounts[data[1] % 5];
    const uint32_t width = 1 + data[2] % 200;
    const uint32_t height = 1 + data[3] % 80;
    // Usually a full colour map; now and then a short one, so that some pixels fall outside.
    const uint32_t fullMap = bitCount == 24 ? 0 : 1u << bitCount;
    const uint32_t colors = bitCount == 24 || data[4] < 200 ? fullMap : 1 + data[4] % fullMap;
    Filler fill(data + 5, size - 5);

    BitmapImage picture;
    picture.SetSize(colors, bitCount, width, height);
    for (uint32_t i = 0; i < colors; ++i) {
        uint8_t* entry = picture.ColorMapEntry(i);
        for (int c = 0; c < 3; ++c) entry[c] = fill.Next();
    }
    bool outsideMap = false;
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = picture.Row(y);
        for (uint32_t x = 0; x < picture.RowWidth(); ++x) row[x] = fill.Next();
        if (bitCount == 24) continue;
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t index = 0;
            switch (bitCount) {
            case 1: index = (row[x / 8] >> (7 - x % 8)) & 1; break;
            case 2: index = (row[x / 4] >> (6 - 2 * (x % 4))) & 3; break;
            case 4: index = x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15; break;
            default: index = row[x]; break;
            }
            outsideMap = outsideMap || index >= colors;
        }
    }

    JpegEncoder encoder;
    encoder.SetQuality(quality);
    std::vector<uint8_t> stream;
    try {
        stream = encoder.Encode(picture);
    } catch (const EGraphicsException& e) {
        const std::string expected = quality < 1 || quality > 100 ? "Value out of range"
                                     : outsideMap                 ? "Subscript out of range"
                                                                  : "no failure";
        if (e.what() != expected) Fail(std::string("encoding failed: ") + e.what());
        return 0;
    }
    if (quality < 1 || quality > 100 || outsideMap) Fail("a picture that must fail was encoded");
    if (encoder.Encode(picture) != stream) Fail("the same picture encoded differently");
    // Transformed a strip at a time for each pass, as pictures past the memory budget are.
    JpegEncoder strips;
    strips.SetQuality(quality);
    strips.SetCoefficientBudget(0);
    if (strips.Encode(picture) != stream) Fail("the strip encoding gave another stream");

    BitmapImage decoded;
    JpegDecoder decoder;
    try {
        decoder.Decode(stream.data(), stream.size(), decoded);
    } catch (const EGraphicsException& e) {
        Fail(std::string("our decoder refused the stream: ") + e.what());
    }
    if (decoded.Width() != width || decoded.Height() != height || decoded.BitCount() != 24)
        Fail("the stream decoded to another size");
    return 0;
}
