// Forward DCT in double precision. Both passes run on eight lanes at once: the column pass
// with lane c holding column c, the row pass on the transposed block with lane r holding row
// r. Every lane performs exactly the scalar operations, in the same order, so the results are
// those of the one-dimensional transform written out below; this file is built without
// floating-point contraction, since a fused multiply-add rounds once where the transform
// rounds twice and moves the ties of the final rounding.
#include "jpeg/JpegFdct.h"

#include <cmath>
#include <cstring>
#include <numbers>

#include "jpeg/JpegTables.h"

namespace {

// Four doubles: a ymm register in the AVX2 copy, two xmm registers otherwise. A row of the
// block is two of them (columns 0-3 and 4-7).
typedef double D4 __attribute__((vector_size(32)));
typedef int64_t L4 __attribute__((vector_size(32)));
typedef int32_t I4 __attribute__((vector_size(16)));
typedef int16_t S4 __attribute__((vector_size(8)));
typedef uint8_t B4 __attribute__((vector_size(4)));

// The three cosines, computed once when the program starts.
const double kCos4 = std::cos(std::numbers::pi / 4);
const double kCos6 = std::cos(3 * std::numbers::pi / 8);
const double kCos2MinusCos6 = std::cos(std::numbers::pi / 8) - std::cos(3 * std::numbers::pi / 8);
const double kCos2PlusCos6 = std::cos(std::numbers::pi / 8) + std::cos(3 * std::numbers::pi / 8);

// One 8-point transform per lane: x[i] is input i, out[k] output k.
[[gnu::always_inline]] inline void Transform(const D4 x[8], D4 out[8]) {
    const D4 t0 = x[0] + x[7], t7 = x[0] - x[7];
    const D4 t1 = x[1] + x[6], t6 = x[1] - x[6];
    const D4 t2 = x[2] + x[5], t5 = x[2] - x[5];
    const D4 t3 = x[3] + x[4], t4 = x[3] - x[4];

    // Even part.
    const D4 t10 = t0 + t3, t13 = t0 - t3;
    const D4 t11 = t1 + t2, t12 = t1 - t2;
    out[0] = t10 + t11;
    out[4] = t10 - t11;
    const D4 z1 = (t12 + t13) * kCos4;
    out[2] = t13 + z1;
    out[6] = t13 - z1;

    // Odd part.
    const D4 a = t4 + t5, b = t5 + t6, c = t6 + t7;
    const D4 k = (a + c) * kCos6;
    const D4 s = k + c * kCos2MinusCos6;
    const D4 z3 = b * kCos4;
    const D4 z4 = a * kCos2PlusCos6 - k;
    const D4 z11 = t7 + z3, z13 = t7 - z3;
    out[1] = z11 + s;
    out[7] = z11 - s;
    out[5] = z13 + z4;
    out[3] = z13 - z4;
}

// 4 x 4 transpose: unpack pairs of rows, then exchange 128-bit halves.
[[gnu::always_inline]] inline void Transpose4(const D4 in[4], D4 out[4]) {
    const D4 t0 = __builtin_shufflevector(in[0], in[1], 0, 4, 2, 6);
    const D4 t1 = __builtin_shufflevector(in[0], in[1], 1, 5, 3, 7);
    const D4 t2 = __builtin_shufflevector(in[2], in[3], 0, 4, 2, 6);
    const D4 t3 = __builtin_shufflevector(in[2], in[3], 1, 5, 3, 7);
    out[0] = __builtin_shufflevector(t0, t2, 0, 1, 4, 5);
    out[1] = __builtin_shufflevector(t1, t3, 0, 1, 4, 5);
    out[2] = __builtin_shufflevector(t0, t2, 2, 3, 6, 7);
    out[3] = __builtin_shufflevector(t1, t3, 2, 3, 6, 7);
}

} // namespace

// On x86-64 with GCC an AVX2 copy is chosen at load time where the processor has it. AVX2
// does not include FMA, and contraction is off for this file in any case.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
__attribute__((target_clones("avx2", "default")))
#endif
void ForwardDctQuantize(const uint8_t* samples, size_t stride, const double* divisorsTransposed,
                        int16_t* zigzag) {
    // Column pass: lane c of left[i] (right[i]) is sample (i, c) (sample (i, c + 4)) less
    // 128; lane c of the outputs is output k of column c, that is row k of the intermediate
    // block.
    D4 left[8], right[8], leftOut[8], rightOut[8];
    for (int i = 0; i < 8; ++i) {
        B4 l, r;
        std::memcpy(&l, samples + size_t(i) * stride, sizeof l);
        std::memcpy(&r, samples + size_t(i) * stride + 4, sizeof r);
        left[i] = __builtin_convertvector(__builtin_convertvector(l, I4), D4) - 128.0;
        right[i] = __builtin_convertvector(__builtin_convertvector(r, I4), D4) - 128.0;
    }
    Transform(left, leftOut);
    Transform(right, rightOut);

    // Row pass on the transposed block: lane r of top[j] (bottom[j]) is intermediate (r, j)
    // (intermediate (r + 4, j)). The quadrants (A B; C D) become (A' C'; B' D').
    D4 top[8], bottom[8];
    Transpose4(leftOut, top);
    Transpose4(leftOut + 4, bottom);
    Transpose4(rightOut, top + 4);
    Transpose4(rightOut + 4, bottom + 4);
    Transform(top, leftOut);
    Transform(bottom, rightOut);

    // Quantization: output (r, k) times its divisor, rounded half away from zero (0.5 with
    // the value's sign added, then truncated), kept column by column.
    int16_t quantized[64];
    const L4 signBit = L4{} + INT64_MIN;
    const L4 half = (L4)(D4{} + 0.5);
    for (int k = 0; k < 16; ++k) {
        // k < 8: rows 0-3 of column k; k >= 8: rows 4-7 of column k - 8.
        const D4 out = k < 8 ? leftOut[k] : rightOut[k - 8];
        const int at = (k % 8) * 8 + (k / 8) * 4;
        D4 divisor;
        std::memcpy(&divisor, divisorsTransposed + at, sizeof divisor);
        const D4 v = out * divisor;
        const D4 rounded = v + (D4)(((L4)v & signBit) | half);
        const S4 q = __builtin_convertvector(__builtin_convertvector(rounded, I4), S4);
        std::memcpy(quantized + at, &q, sizeof q);
    }
#pragma GCC unroll 64
    for (int i = 0; i < 64; ++i) zigzag[i] = quantized[kZigzagToTransposed[i]];
}
