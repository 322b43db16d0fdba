// YCbCr rows to blue, green, red with AVX2: 32 pixels a step, the rest by the SSE2 kernel.
// Half-width chroma is converted at its own resolution and each result used for two pixels.
#include "jpeg/JpegColor.h"
#include "jpeg/JpegSimd.h"

#if defined(FS_JPEG_AVX2)
#include <immintrin.h>

namespace {

// Blue, green and red offsets of 16 chroma pairs, as 16-bit lanes in the order of u and v:
// pmaddwd sums each product pair and the rounding constant exactly in 32 bits, the shift is
// arithmetic, and the results fit 16 bits (at most 227 either way).
struct Offsets {
    __m256i Blue, Green, Red;
};

[[gnu::target("avx2"), gnu::always_inline]] inline __m256i
WeightedPairs(__m256i a, __m256i b, __m256i weights, __m256i round) {
    const __m256i lo =
        _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(a, b), weights), round);
    const __m256i hi =
        _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(a, b), weights), round);
    return _mm256_packs_epi32(_mm256_srai_epi32(lo, 12), _mm256_srai_epi32(hi, 12));
}

[[gnu::target("avx2"), gnu::always_inline]] inline Offsets ChromaOffsets(__m256i cb, __m256i cr) {
    const __m256i bias = _mm256_set1_epi16(128), round = _mm256_set1_epi32(2048);
    const __m256i u = _mm256_sub_epi16(cb, bias), v = _mm256_sub_epi16(cr, bias);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i blue = _mm256_set1_epi32(7258), red = _mm256_set1_epi32(5742);
    const __m256i green = _mm256_set1_epi32(2925 << 16 | 1409);
    return {WeightedPairs(u, zero, blue, round), WeightedPairs(u, v, green, round),
            WeightedPairs(v, zero, red, round)};
}

// pshufb masks that place byte i of a 16-pixel blue, green or red run into part p (0..2) of
// the run's 48 interleaved bytes; -128 leaves a zero.
struct InterleaveMasks {
    alignas(32) int8_t Mask[3][3][32];
};

constexpr InterleaveMasks MakeInterleaveMasks() {
    InterleaveMasks m{};
    for (int part = 0; part < 3; ++part)
        for (int channel = 0; channel < 3; ++channel)
            for (int i = 0; i < 32; ++i) {
                const int at = 16 * part + i % 16;
                m.Mask[part][channel][i] = at % 3 == channel ? int8_t(at / 3) : int8_t(-128);
            }
    return m;
}

constexpr InterleaveMasks kInterleave = MakeInterleaveMasks();

// y: 16-bit luma of pixels 0-7 | 16-23 (first) and 8-15 | 24-31 (second), offsets likewise;
// writes the 96 bytes of the 32 pixels.
[[gnu::target("avx2"), gnu::always_inline]] inline void
Store32(const __m256i y[2], const __m256i blue[2], const __m256i green[2], const __m256i red[2],
        uint8_t* out) {
    // Bytes of pixels 0-15 in the lower half, 16-31 in the upper one.
    const __m256i channels[3] = {
        _mm256_packus_epi16(_mm256_add_epi16(y[0], blue[0]), _mm256_add_epi16(y[1], blue[1])),
        _mm256_packus_epi16(_mm256_sub_epi16(y[0], green[0]), _mm256_sub_epi16(y[1], green[1])),
        _mm256_packus_epi16(_mm256_add_epi16(y[0], red[0]), _mm256_add_epi16(y[1], red[1]))};
    __m256i parts[3];
    for (int part = 0; part < 3; ++part) {
        __m256i v = _mm256_setzero_si256();
        for (int c = 0; c < 3; ++c)
            v = _mm256_or_si256(
                v,
                _mm256_shuffle_epi8(channels[c], _mm256_load_si256(reinterpret_cast<const __m256i*>(
                                                     kInterleave.Mask[part][c]))));
        parts[part] = v;
    }
    // parts[p] holds part p of pixels 0-15 below and of 16-31 above.
    __m256i* p = reinterpret_cast<__m256i*>(out);
    _mm256_storeu_si256(p, _mm256_permute2x128_si256(parts[0], parts[1], 0x20));
    _mm256_storeu_si256(p + 1, _mm256_permute2x128_si256(parts[2], parts[0], 0x30));
    _mm256_storeu_si256(p + 2, _mm256_permute2x128_si256(parts[1], parts[2], 0x31));
}

[[gnu::target("avx2"), gnu::always_inline]] inline void WidenLuma(const uint8_t* lum,
                                                                  __m256i y[2]) {
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lum));
    const __m256i zero = _mm256_setzero_si256();
    y[0] = _mm256_unpacklo_epi8(bytes, zero);
    y[1] = _mm256_unpackhi_epi8(bytes, zero);
}

} // namespace

[[gnu::target("avx2")]] void YCbCrRowToBgrAvx2(const uint8_t* lum, const uint8_t* cb,
                                               const uint8_t* cr, uint8_t* out, uint32_t width) {
    const __m256i zero = _mm256_setzero_si256();
    uint32_t x = 0;
    for (; x + 32 <= width; x += 32) {
        __m256i y[2];
        WidenLuma(lum + x, y);
        const __m256i u = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cb + x));
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cr + x));
        const Offsets first =
            ChromaOffsets(_mm256_unpacklo_epi8(u, zero), _mm256_unpacklo_epi8(v, zero));
        const Offsets second =
            ChromaOffsets(_mm256_unpackhi_epi8(u, zero), _mm256_unpackhi_epi8(v, zero));
        const __m256i blue[2] = {first.Blue, second.Blue};
        const __m256i green[2] = {first.Green, second.Green};
        const __m256i red[2] = {first.Red, second.Red};
        Store32(y, blue, green, red, out + size_t(x) * 3);
    }
    YCbCrRowToBgrSse2(lum + x, cb + x, cr + x, out + size_t(x) * 3, width - x);
}

[[gnu::target("avx2")]] void YCbCrHalfRowToBgrAvx2(const uint8_t* lum, const uint8_t* cb,
                                                   const uint8_t* cr, uint8_t* out,
                                                   uint32_t width) {
    uint32_t x = 0;
    for (; x + 32 <= width; x += 32) {
        __m256i y[2];
        WidenLuma(lum + x, y);
        // Chroma 0-7 | 8-15 as 16-bit lanes; unpacking each offset with itself gives those of
        // pixels 0-7 | 16-23 and 8-15 | 24-31, the order of y.
        const __m256i u =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(cb + x / 2)));
        const __m256i v =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(cr + x / 2)));
        const Offsets o = ChromaOffsets(u, v);
        const __m256i blue[2] = {_mm256_unpacklo_epi16(o.Blue, o.Blue),
                                 _mm256_unpackhi_epi16(o.Blue, o.Blue)};
        const __m256i green[2] = {_mm256_unpacklo_epi16(o.Green, o.Green),
                                  _mm256_unpackhi_epi16(o.Green, o.Green)};
        const __m256i red[2] = {_mm256_unpacklo_epi16(o.Red, o.Red),
                                _mm256_unpackhi_epi16(o.Red, o.Red)};
        Store32(y, blue, green, red, out + size_t(x) * 3);
    }
    YCbCrHalfRowToBgrSse2(lum + x, cb + x / 2, cr + x / 2, out + size_t(x) * 3, width - x);
}
#endif
