// The transposed inverse DCT for x86-64's baseline (SSE2): each pass in two halves of four
// lanes, one register each, joined by 4 x 4 transposes; saturating packs clamp the samples.
// Processors without SSE2 get the compiler's generic 8-lane vectors.
#include "jpeg/JpegIdct.h"

#if defined(__SSE2__)
#include <emmintrin.h>

#include "jpeg/JpegIdctButterfly.h"

namespace {

using jpeg_idct::Butterfly;
typedef uint32_t W4 __attribute__((vector_size(16)));

// Transposes a 4 x 4 block of 32-bit lanes: out[i] lane j = in[j] lane i.
[[gnu::always_inline]] inline void Transpose4(const W4 in[4], W4 out[4]) {
    const __m128i a = __m128i(in[0]), b = __m128i(in[1]), c = __m128i(in[2]), d = __m128i(in[3]);
    const __m128i ab0 = _mm_unpacklo_epi32(a, b), ab1 = _mm_unpackhi_epi32(a, b);
    const __m128i cd0 = _mm_unpacklo_epi32(c, d), cd1 = _mm_unpackhi_epi32(c, d);
    out[0] = W4(_mm_unpacklo_epi64(ab0, cd0));
    out[1] = W4(_mm_unpackhi_epi64(ab0, cd0));
    out[2] = W4(_mm_unpacklo_epi64(ab1, cd1));
    out[3] = W4(_mm_unpackhi_epi64(ab1, cd1));
}

// The row pass for rows 4h..4h+3 (lane i is row 4h + i): coefficient column k widened and
// dequantized, then the butterflies; o[j] lane i is output j of row 4h + i.
[[gnu::always_inline]] inline void RowPass(const int16_t* coefficients,
                                           const int32_t* scaledTransposed, int h, bool rightZero,
                                           W4 o[8]) {
    W4 y[8];
    for (int k = 0; k < 8; ++k) {
        if (k >= 4 && rightZero) {
            y[k] = W4{};
            continue;
        }
        const __m128i x =
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(coefficients + k * 8 + 4 * h));
        // Sign-extend four 16-bit values to 32 bits.
        const __m128i wide = _mm_srai_epi32(_mm_unpacklo_epi16(x, x), 16);
        W4 q;
        __builtin_memcpy(&q, scaledTransposed + k * 8 + 4 * h, sizeof q);
        y[k] = W4(wide) * q;
    }
    if (rightZero) {
        const W4 half[8] = {y[0], y[1], y[2], y[3], W4{}, W4{}, W4{}, W4{}};
        Butterfly(half, W4{}, o);
    } else {
        Butterfly(y, W4{}, o);
    }
}

} // namespace

void InverseDctTransposedSse2(const int16_t* coefficients, const int32_t* scaledTransposed,
                              uint8_t* out, size_t stride) {
    __m128i any = _mm_setzero_si128(), right = _mm_setzero_si128();
    for (int k = 0; k < 8; ++k) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(coefficients + k * 8));
        any = _mm_or_si128(any, x);
        if (k >= 4) right = _mm_or_si128(right, x);
    }
    const bool rightZero = _mm_movemask_epi8(_mm_cmpeq_epi8(right, _mm_setzero_si128())) == 0xFFFF;
    // Rows 4-7 of every column: the upper eight bytes of each column.
    const bool lowerZero =
        (_mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) & 0xFF00) == 0xFF00;

    // rowOut[h][j] lane i: output j of row 4h + i; columnIn[ch][k] lane i: output 4ch + i of
    // row k, the column pass's input k. Rows of zero coefficients give zeros, which the
    // column pass of a block with a zero lower half does not read.
    W4 rowOut[2][8], columnIn[2][8];
    RowPass(coefficients, scaledTransposed, 0, rightZero, rowOut[0]);
    if (!lowerZero) RowPass(coefficients, scaledTransposed, 1, rightZero, rowOut[1]);
    for (int h = 0; h < (lowerZero ? 1 : 2); ++h)
        for (int ch = 0; ch < 2; ++ch) Transpose4(&rowOut[h][4 * ch], &columnIn[ch][4 * h]);

    const W4 bias = {jpeg_idct::kColumnBias, jpeg_idct::kColumnBias, jpeg_idct::kColumnBias,
                     jpeg_idct::kColumnBias};
    W4 result[2][8];
    for (int ch = 0; ch < 2; ++ch) {
        if (lowerZero) {
            const W4 half[8] = {columnIn[ch][0],
                                columnIn[ch][1],
                                columnIn[ch][2],
                                columnIn[ch][3],
                                W4{},
                                W4{},
                                W4{},
                                W4{}};
            Butterfly(half, bias, result[ch]);
        } else {
            Butterfly(columnIn[ch], bias, result[ch]);
        }
    }
    // packssdw then packuswb clamp exactly as Clamp does (a value outside the 16-bit range
    // saturates there first, which is still below 0 or above 255); two rows per register.
    for (int k = 0; k < 8; k += 2) {
        const __m128i row0 = _mm_packs_epi32(_mm_srai_epi32(__m128i(result[0][k]), 12),
                                             _mm_srai_epi32(__m128i(result[1][k]), 12));
        const __m128i row1 = _mm_packs_epi32(_mm_srai_epi32(__m128i(result[0][k + 1]), 12),
                                             _mm_srai_epi32(__m128i(result[1][k + 1]), 12));
        const __m128i bytes = _mm_packus_epi16(row0, row1);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + k * stride), bytes);
        // movq stores of each half (movhpd's double is taken as aligned by the sanitizer).
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + (k + 1) * stride),
                         _mm_unpackhi_epi64(bytes, bytes));
    }
}

#else
#include "jpeg/JpegIdctVector.h"

void InverseDctTransposedSse2(const int16_t* coefficients, const int32_t* scaledTransposed,
                              uint8_t* out, size_t stride) {
    jpeg_idct::W8 o[8];
    jpeg_idct::TransposedIdct(coefficients, scaledTransposed, o);
    jpeg_idct::StoreRows(o, out, stride);
}
#endif
