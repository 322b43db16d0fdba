// YCbCr to blue, green, red for one pixel: the arithmetic every colour conversion kernel of
// the decoder reproduces, and the tail of their rows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace jpeg_color {

inline uint8_t Clamp255(int32_t v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

// Fixed point with 12 fraction bits: 1.402, 0.34414, 0.71414 and 1.772 times 4096, truncated,
// each sum rounded once.
inline void ConvertPixel(int32_t y, int32_t cb, int32_t cr, uint8_t* out) {
    const int32_t u = cb - 128, v = cr - 128;
    out[0] = Clamp255(y + ((7258 * u + 2048) >> 12));
    out[1] = Clamp255(y - ((1409 * u + 2925 * v + 2048) >> 12));
    out[2] = Clamp255(y + ((5742 * v + 2048) >> 12));
}

// Pixels [from, width) of a row whose chroma is at 1 / ChromaFactor of the width.
template <int ChromaFactor>
inline void ConvertPixels(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                          uint32_t from, uint32_t width) {
    for (uint32_t x = from; x < width; ++x)
        ConvertPixel(lum[x], cb[x / ChromaFactor], cr[x / ChromaFactor], out + size_t(x) * 3);
}

} // namespace jpeg_color
