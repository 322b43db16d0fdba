// The transposed inverse DCT for processors with AVX2: one register per 8-lane vector.
#include "jpeg/JpegIdct.h"
#include "jpeg/JpegSimd.h"

#if defined(FS_JPEG_AVX2)
#include <immintrin.h>

#include "jpeg/JpegIdctVector.h"

// The outputs clamped by packssdw then packuswb exactly as Clamp does (a value outside the
// 16-bit range saturates there first, which is still below 0 or above 255), four rows to a
// register.
[[gnu::target("avx2")]] void InverseDctTransposedAvx2(const int16_t* coefficients,
                                                      const int32_t* scaledTransposed, uint8_t* out,
                                                      size_t stride) {
    // Each column of coefficients widened and dequantized straight from memory.
    jpeg_idct::W8 y[8], o[8];
    __m128i any = _mm_setzero_si128(), right = _mm_setzero_si128();
    for (int k = 0; k < 8; ++k) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(coefficients + k * 8));
        any = _mm_or_si128(any, x);
        if (k >= 4) right = _mm_or_si128(right, x);
        y[k] = jpeg_idct::W8(_mm256_mullo_epi32(
            _mm256_cvtepi16_epi32(x),
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(scaledTransposed + k * 8))));
    }
    const bool rightZero = _mm_testz_si128(right, right) != 0;
    const bool lowerZero = _mm_testz_si128(any, _mm_set_epi64x(-1, 0)) != 0; // rows 4-7
    jpeg_idct::TransformDequantized(y, rightZero, lowerZero, o);
    __m256i v[8];
    for (int k = 0; k < 8; ++k) v[k] = _mm256_srai_epi32(__m256i(o[k]), 12);
    // Per 128-bit half: rows k, k+1 as 16-bit lanes, then four rows as bytes; the permutation
    // puts row k's eight bytes together.
    const __m256i rows01 = _mm256_packs_epi32(v[0], v[1]);
    const __m256i rows23 = _mm256_packs_epi32(v[2], v[3]);
    const __m256i rows45 = _mm256_packs_epi32(v[4], v[5]);
    const __m256i rows67 = _mm256_packs_epi32(v[6], v[7]);
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    const __m256i top = _mm256_permutevar8x32_epi32(_mm256_packus_epi16(rows01, rows23), order);
    const __m256i bottom = _mm256_permutevar8x32_epi32(_mm256_packus_epi16(rows45, rows67), order);
    const __m128i parts[4] = {_mm256_castsi256_si128(top), _mm256_extracti128_si256(top, 1),
                              _mm256_castsi256_si128(bottom), _mm256_extracti128_si256(bottom, 1)};
    for (int i = 0; i < 4; ++i) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + (2 * i) * stride), parts[i]);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + (2 * i + 1) * stride),
                         _mm_unpackhi_epi64(parts[i], parts[i]));
    }
}
#endif
