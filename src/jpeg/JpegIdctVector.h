// The transposed inverse DCT on GCC/Clang vectors of eight 32-bit lanes, included by the
// files that build it for one instruction set each (JpegIdctSse2.cpp, JpegIdctAvx2.cpp).
// Everything here is always inlined into those functions, so each gets code for its own set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "jpeg/JpegIdctButterfly.h"

namespace jpeg_idct {

typedef uint32_t W8 __attribute__((vector_size(32)));
typedef int32_t I8 __attribute__((vector_size(32)));

// 8 x 8 transpose of 32-bit lanes in three rounds of two-vector shuffles.
[[gnu::always_inline]] inline void Transpose(const W8 in[8], W8 out[8]) {
    W8 t[8], u[8];
    for (int i = 0; i < 8; i += 2) {
        t[i] = __builtin_shufflevector(in[i], in[i + 1], 0, 8, 1, 9, 4, 12, 5, 13);
        t[i + 1] = __builtin_shufflevector(in[i], in[i + 1], 2, 10, 3, 11, 6, 14, 7, 15);
    }
    for (int i = 0; i < 8; i += 4) {
        for (int j = 0; j < 2; ++j) {
            u[i + 2 * j] =
                __builtin_shufflevector(t[i + j], t[i + j + 2], 0, 1, 8, 9, 4, 5, 12, 13);
            u[i + 2 * j + 1] =
                __builtin_shufflevector(t[i + j], t[i + j + 2], 2, 3, 10, 11, 6, 7, 14, 15);
        }
    }
    // u[c] (c < 4) holds rows 0-3 of columns c and c + 4, u[c + 4] rows 4-7: join the halves.
    for (int i = 0; i < 4; ++i) {
        out[i] = __builtin_shufflevector(u[i], u[i + 4], 0, 1, 2, 3, 8, 9, 10, 11);
        out[i + 4] = __builtin_shufflevector(u[i], u[i + 4], 4, 5, 6, 7, 12, 13, 14, 15);
    }
}

// Rows of eight outputs >> 12, clamped to 0..255, eight bytes a row.
[[gnu::always_inline]] inline void StoreRows(const W8 o[8], uint8_t* out, size_t stride) {
    {
        typedef uint8_t B32 __attribute__((vector_size(32)));
        typedef uint8_t B8 __attribute__((vector_size(8)));
#pragma GCC unroll 8
        for (int k = 0; k < 8; ++k) {
            I8 v = I8(o[k]) >> 12;
            v = v < 0 ? 0 : v;
            v = v > 255 ? 255 : v;
            const B8 bytes = __builtin_shufflevector(B32(v), B32(v), 0, 4, 8, 12, 16, 20, 24, 28);
            std::memcpy(out + k * stride, &bytes, sizeof bytes);
        }
    }
}

// The two passes on dequantized inputs: lane r of y[k] is coefficient (r, k) times its scale.
// The row pass runs on all rows at once, the column pass on all columns. Blocks whose right
// half (columns 4-7) or lower half (rows 4-7) is zero are common: the butterflies then run on
// inputs known to be zero, which the compiler folds away (the results are the same, being
// exact integer arithmetic). o[k] receives row k of the outputs before the final shift.
[[gnu::always_inline]] inline void TransformDequantized(const W8 y[8], bool rightZero,
                                                        bool lowerZero, W8 o[8]) {
    if (rightZero) {
        const W8 half[8] = {y[0], y[1], y[2], y[3], W8{}, W8{}, W8{}, W8{}};
        Butterfly(half, W8{}, o);
    } else {
        Butterfly(y, W8{}, o);
    }
    // o[j] holds output j of every row; the column pass wants row k's outputs in one vector.
    // Rows whose coefficients are all zero give zero outputs.
    W8 rows[8];
    Transpose(o, rows);
    const W8 bias = {kColumnBias, kColumnBias, kColumnBias, kColumnBias,
                     kColumnBias, kColumnBias, kColumnBias, kColumnBias};
    if (lowerZero) {
        const W8 half[8] = {rows[0], rows[1], rows[2], rows[3], W8{}, W8{}, W8{}, W8{}};
        Butterfly(half, bias, o);
    } else {
        Butterfly(rows, bias, o);
    }
}

// coefficients[c * 8 + r] holds row r, column c; scaledTransposed likewise.
[[gnu::always_inline]] inline void TransposedIdct(const int16_t* coefficients,
                                                  const int32_t* scaledTransposed, W8 o[8]) {
    typedef int16_t S8 __attribute__((vector_size(16)));
    W8 y[8];
    S8 x[8], any = {}, right = {};
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
        std::memcpy(&x[k], coefficients + k * 8, sizeof x[k]);
        any |= x[k];
        if (k >= 4) right |= x[k];
    }
    typedef int64_t L2 __attribute__((vector_size(16)));
    const bool rightZero = (L2(right)[0] | L2(right)[1]) == 0;
    const bool lowerZero = L2(any)[1] == 0; // rows 4-7 of every column
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
        W8 q;
        std::memcpy(&q, scaledTransposed + k * 8, sizeof q);
        y[k] = W8(__builtin_convertvector(x[k], I8)) * q;
    }
    TransformDequantized(y, rightZero, lowerZero, o);
}

} // namespace jpeg_idct
