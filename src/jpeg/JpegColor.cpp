// The conversions between RGB and YCbCr of JFIF (T.871, JFIF 1.02 section 7) in fixed point,
// and replication upsampling of sample rows.
#include "jpeg/JpegColor.h"

#include "jpeg/JpegColorPixel.h"
#include "jpeg/JpegSimd.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <tmmintrin.h>
#endif

using jpeg_color::Clamp255;

void YCbCrRowToBgrScalar(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                         uint32_t width) {
    jpeg_color::ConvertPixels<1>(lum, cb, cr, out, 0, width);
}

void YCbCrHalfRowToBgrScalar(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                             uint32_t width) {
    jpeg_color::ConvertPixels<2>(lum, cb, cr, out, 0, width);
}

void YCbCrRowToBgr(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                   uint32_t width) {
    static const auto kernel = JpegKernelsFor(JpegSimd::Best).YCbCrRow;
    kernel(lum, cb, cr, out, width);
}

void YCbCrHalfRowToBgr(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                       uint32_t width) {
    static const auto kernel = JpegKernelsFor(JpegSimd::Best).YCbCrHalfRow;
    kernel(lum, cb, cr, out, width);
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
