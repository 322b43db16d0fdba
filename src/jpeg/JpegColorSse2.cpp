// YCbCr rows to blue, green, red with SSE2, x86-64's baseline: 16 pixels a step, the rest by
// the scalar arithmetic (which is all of it on processors without SSE2).
#include "jpeg/JpegColor.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "jpeg/JpegColorPixel.h"

namespace {

#if defined(__SSE2__)
// Eight pixels of the same arithmetic on SSE2: the products and the rounding constant are
// summed exactly by pmaddwd (pairs of 16-bit values times 16-bit constants into 32 bits), the
// shift is arithmetic, and packs/packus clamp to 0..255 as Clamp255 does.
inline __m128i Offset8(__m128i a, __m128i b, __m128i weights) {
    const __m128i lo = _mm_srai_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(a, b), weights), 12);
    const __m128i hi = _mm_srai_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(a, b), weights), 12);
    return _mm_packs_epi32(lo, hi);
}
#endif

} // namespace

namespace {

// Both conversions: ChromaFactor 1 takes full-resolution chroma, 2 chroma at half the width,
// each sample repeated for two pixels as it is loaded.
template <int ChromaFactor>
void ConvertRow(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                uint32_t width) {
    uint32_t x = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), bias = _mm_set1_epi16(128);
    const __m128i one = _mm_set1_epi16(1);
    const __m128i blueWeights = _mm_set_epi16(2048, 7258, 2048, 7258, 2048, 7258, 2048, 7258);
    const __m128i redWeights = _mm_set_epi16(2048, 5742, 2048, 5742, 2048, 5742, 2048, 5742);
    const __m128i greenWeights = _mm_set_epi16(2925, 1409, 2925, 1409, 2925, 1409, 2925, 1409);
    const __m128i greenRound = _mm_set1_epi32(2048);
    // Masks: bytes 0-2 of each 64-bit half; bytes 3-5 of each half; bytes 0-5; bytes 6-11.
    const __m128i lowPixel = _mm_set_epi32(0, 0x00FFFFFF, 0, 0x00FFFFFF);
    const __m128i highPixel =
        _mm_set_epi32(0x0000FFFF, int(0xFF000000u), 0x0000FFFF, int(0xFF000000u));
    const __m128i sixBytes = _mm_set_epi32(0, 0, 0x0000FFFF, -1);
    const __m128i nextSixBytes = _mm_set_epi32(0, -1, int(0xFFFF0000u), 0);
    // 16 pixels per step; each step's last 16-byte store runs 4 bytes into the next pixels,
    // which the following step or the scalar tail overwrites.
    for (; x + 16 + 2 <= width; x += 16) {
        const __m128i y8 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lum + x));
        __m128i u8, v8;
        if constexpr (ChromaFactor == 1) {
            u8 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cb + x));
            v8 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cr + x));
        } else {
            u8 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(cb + x / 2));
            v8 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(cr + x / 2));
            u8 = _mm_unpacklo_epi8(u8, u8);
            v8 = _mm_unpacklo_epi8(v8, v8);
        }
        __m128i outB[2], outG[2], outR[2];
        for (int half = 0; half < 2; ++half) {
            const __m128i y = half ? _mm_unpackhi_epi8(y8, zero) : _mm_unpacklo_epi8(y8, zero);
            const __m128i u = _mm_sub_epi16(
                half ? _mm_unpackhi_epi8(u8, zero) : _mm_unpacklo_epi8(u8, zero), bias);
            const __m128i v = _mm_sub_epi16(
                half ? _mm_unpackhi_epi8(v8, zero) : _mm_unpacklo_epi8(v8, zero), bias);
            outB[half] = _mm_add_epi16(y, Offset8(u, one, blueWeights));
            outR[half] = _mm_add_epi16(y, Offset8(v, one, redWeights));
            const __m128i gl = _mm_srai_epi32(
                _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(u, v), greenWeights), greenRound),
                12);
            const __m128i gh = _mm_srai_epi32(
                _mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(u, v), greenWeights), greenRound),
                12);
            outG[half] = _mm_sub_epi16(y, _mm_packs_epi32(gl, gh));
        }
        const __m128i b = _mm_packus_epi16(outB[0], outB[1]);
        const __m128i g = _mm_packus_epi16(outG[0], outG[1]);
        const __m128i r = _mm_packus_epi16(outR[0], outR[1]);
        // Blue-green-red-zero words, four pixels per register, then squeezed to 12 bytes:
        // the second pixel of each 64-bit half moves down one byte, the upper half two bytes.
        const __m128i bgLo = _mm_unpacklo_epi8(b, g), bgHi = _mm_unpackhi_epi8(b, g);
        const __m128i r0Lo = _mm_unpacklo_epi8(r, zero), r0Hi = _mm_unpackhi_epi8(r, zero);
        const __m128i quads[4] = {_mm_unpacklo_epi16(bgLo, r0Lo), _mm_unpackhi_epi16(bgLo, r0Lo),
                                  _mm_unpacklo_epi16(bgHi, r0Hi), _mm_unpackhi_epi16(bgHi, r0Hi)};
        uint8_t* p = out + size_t(x) * 3;
        for (int q = 0; q < 4; ++q) {
            const __m128i pairs =
                _mm_or_si128(_mm_and_si128(quads[q], lowPixel),
                             _mm_and_si128(_mm_srli_epi64(quads[q], 8), highPixel));
            const __m128i packed =
                _mm_or_si128(_mm_and_si128(pairs, sixBytes),
                             _mm_and_si128(_mm_srli_si128(pairs, 2), nextSixBytes));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 12 * q), packed);
        }
    }
#endif
    jpeg_color::ConvertPixels<ChromaFactor>(lum, cb, cr, out, x, width);
}

} // namespace

void YCbCrRowToBgrSse2(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                       uint32_t width) {
    ConvertRow<1>(lum, cb, cr, out, width);
}

void YCbCrHalfRowToBgrSse2(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                           uint32_t width) {
    ConvertRow<2>(lum, cb, cr, out, width);
}
