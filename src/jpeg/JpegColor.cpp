// The conversions between RGB and YCbCr of JFIF (T.871, JFIF 1.02 section 7) in fixed point,
// and replication upsampling of sample rows.
#include "jpeg/JpegColor.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <tmmintrin.h>
#endif

namespace {

inline uint8_t Clamp255(int32_t v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

// YCbCr to blue, green, red for one pixel, in fixed point with 12 fraction bits: 1.402,
// 0.34414, 0.71414 and 1.772 times 4096, truncated, each sum rounded once.
inline void ConvertPixel(int32_t y, int32_t cb, int32_t cr, uint8_t* out) {
    const int32_t u = cb - 128, v = cr - 128;
    out[0] = Clamp255(y + ((7258 * u + 2048) >> 12));
    out[1] = Clamp255(y - ((1409 * u + 2925 * v + 2048) >> 12));
    out[2] = Clamp255(y + ((5742 * v + 2048) >> 12));
}

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
    for (; x < width; ++x)
        ConvertPixel(lum[x], cb[x / ChromaFactor], cr[x / ChromaFactor], out + size_t(x) * 3);
}

} // namespace

void YCbCrRowToBgr(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                   uint32_t width) {
    ConvertRow<1>(lum, cb, cr, out, width);
}

void YCbCrHalfRowToBgr(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                       uint32_t width) {
    ConvertRow<2>(lum, cb, cr, out, width);
}

// Replication upsampling of one sample row by a whole factor.
const uint8_t* WidenRow(const uint8_t* row, uint32_t factor, uint32_t width, uint8_t* buffer) {
    if (factor == 1) return row;
    if (factor == 2) {
        uint32_t x = 0;
#if defined(__SSE2__)
        for (; x + 16 <= width; x += 16) {
            const __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + x / 2));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(buffer + x), _mm_unpacklo_epi8(v, v));
        }
#endif
        for (; x < width; ++x) buffer[x] = row[x >> 1];
    } else {
        for (uint32_t x = 0; x < width; ++x) buffer[x] = row[x / factor];
    }
    return buffer;
}

namespace {

void BgrRowToYCbCrScalar(const uint8_t* bgr, uint8_t* lum, uint8_t* cb, uint8_t* cr,
                         uint32_t width) {
    for (uint32_t x = 0; x < width; ++x) {
        const int32_t b = bgr[3 * size_t(x)], g = bgr[3 * size_t(x) + 1],
                      r = bgr[3 * size_t(x) + 2];
        lum[x] = Clamp255((1224 * r + 2404 * g + 466 * b + 2048) >> 12);
        cb[x] = Clamp255((526336 - 690 * r - 1357 * g + 2048 * b) >> 12);
        cr[x] = Clamp255((526336 + 2048 * r - 1714 * g - 333 * b) >> 12);
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
#define FS_JPEG_SSSE3_COLOR 1

// pshufb masks that gather byte c (0 blue, 1 green, 2 red) of 16 pixels from the three
// 16-byte parts of their 48 bytes; -128 leaves a zero.
struct GatherMasks {
    alignas(16) int8_t Mask[3][3][16];
};

constexpr GatherMasks MakeGatherMasks() {
    GatherMasks g{};
    for (int c = 0; c < 3; ++c)
        for (int part = 0; part < 3; ++part)
            for (int i = 0; i < 16; ++i) {
                const int at = 3 * i + c;
                g.Mask[c][part][i] = at / 16 == part ? int8_t(at % 16) : int8_t(-128);
            }
    return g;
}

constexpr GatherMasks kGatherMasks = MakeGatherMasks();

// (a x wa[0] + b x wa[1] + c x wc[0] + 1 x wc[1]) >> 12 for four 16-bit lanes of a, b, c:
// pmaddwd sums the products of each pair exactly in 32 bits, the shift is arithmetic.
[[gnu::target("ssse3"), gnu::always_inline]] inline __m128i
WeightedSum(__m128i a, __m128i b, __m128i c, __m128i wab, __m128i wc1, bool high) {
    const __m128i one = _mm_set1_epi16(1);
    const __m128i ab = high ? _mm_unpackhi_epi16(a, b) : _mm_unpacklo_epi16(a, b);
    const __m128i c1 = high ? _mm_unpackhi_epi16(c, one) : _mm_unpacklo_epi16(c, one);
    return _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(ab, wab), _mm_madd_epi16(c1, wc1)), 12);
}

// Sixteen pixels a step with SSSE3. The colour differences are computed as 128 + ((2048 +
// the weighted sum) >> 12), which equals (526336 + the sum) >> 12 since 526336 is 128 x 4096
// + 2048; packus clamps to 0..255 as Clamp255 does.
[[gnu::target("ssse3")]] void BgrRowToYCbCrSsse3(const uint8_t* bgr, uint8_t* lum, uint8_t* cb,
                                                 uint8_t* cr, uint32_t width) {
    const __m128i zero = _mm_setzero_si128(), offset = _mm_set1_epi16(128);
    const __m128i lumRG = _mm_set_epi16(2404, 1224, 2404, 1224, 2404, 1224, 2404, 1224);
    const __m128i lumB = _mm_set_epi16(2048, 466, 2048, 466, 2048, 466, 2048, 466);
    const __m128i cbRG = _mm_set_epi16(-1357, -690, -1357, -690, -1357, -690, -1357, -690);
    const __m128i cbB = _mm_set1_epi16(2048);
    const __m128i crRG = _mm_set_epi16(-1714, 2048, -1714, 2048, -1714, 2048, -1714, 2048);
    const __m128i crB = _mm_set_epi16(2048, -333, 2048, -333, 2048, -333, 2048, -333);
    uint32_t x = 0;
    for (; x + 16 <= width; x += 16) {
        const uint8_t* p = bgr + size_t(x) * 3;
        const __m128i parts[3] = {_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
                                  _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16)),
                                  _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32))};
        __m128i channel[3];
        for (int c = 0; c < 3; ++c) {
            __m128i v = zero;
            for (int part = 0; part < 3; ++part) {
                const __m128i mask =
                    _mm_load_si128(reinterpret_cast<const __m128i*>(kGatherMasks.Mask[c][part]));
                v = _mm_or_si128(v, _mm_shuffle_epi8(parts[part], mask));
            }
            channel[c] = v;
        }
        __m128i y[2], u[2], v[2];
        for (int half = 0; half < 2; ++half) {
            auto widen = [&](__m128i bytes) {
                return half ? _mm_unpackhi_epi8(bytes, zero) : _mm_unpacklo_epi8(bytes, zero);
            };
            const __m128i b = widen(channel[0]), g = widen(channel[1]), r = widen(channel[2]);
            y[half] = _mm_packs_epi32(WeightedSum(r, g, b, lumRG, lumB, false),
                                      WeightedSum(r, g, b, lumRG, lumB, true));
            u[half] = _mm_add_epi16(_mm_packs_epi32(WeightedSum(r, g, b, cbRG, cbB, false),
                                                    WeightedSum(r, g, b, cbRG, cbB, true)),
                                    offset);
            v[half] = _mm_add_epi16(_mm_packs_epi32(WeightedSum(r, g, b, crRG, crB, false),
                                                    WeightedSum(r, g, b, crRG, crB, true)),
                                    offset);
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(lum + x), _mm_packus_epi16(y[0], y[1]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(cb + x), _mm_packus_epi16(u[0], u[1]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(cr + x), _mm_packus_epi16(v[0], v[1]));
    }
    BgrRowToYCbCrScalar(bgr + size_t(x) * 3, lum + x, cb + x, cr + x, width - x);
}
#endif

} // namespace

void BgrRowToYCbCr(const uint8_t* bgr, uint8_t* lum, uint8_t* cb, uint8_t* cr, uint32_t width) {
#if defined(FS_JPEG_SSSE3_COLOR)
    if (__builtin_cpu_supports("ssse3")) {
        BgrRowToYCbCrSsse3(bgr, lum, cb, cr, width);
        return;
    }
#endif
    BgrRowToYCbCrScalar(bgr, lum, cb, cr, width);
}

void RgbRowToBgr(const uint8_t* red, const uint8_t* green, const uint8_t* blue, uint8_t* out,
                 uint32_t width) {
    for (uint32_t x = 0; x < width; ++x, out += 3) {
        out[0] = blue[x];
        out[1] = green[x];
        out[2] = red[x];
    }
}
