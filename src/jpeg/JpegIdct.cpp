// Integer inverse DCT: a row pass that multiplies by the pre-scaled quantization values and a
// column pass that rounds, removes the level shift (T.81 A.3.1) and clamps to 0..255.
// Constants: 64 x cos(pi/8), 64 x cos(pi/4), 64 x cos(3 pi/8), truncated.
#include "jpeg/JpegIdct.h"

#include <cstring>

namespace {

// The butterflies run on uint32_t lanes so that overflow from corrupt coefficients wraps
// instead of being undefined; Sar is the arithmetic (sign-keeping) right shift of the signed
// value. The column pass runs on all eight columns at once as a GCC/Clang vector. Helpers
// that take vectors are always inlined: a call from the AVX2 copy of a transform into a helper
// built for plain x86-64 would pass 32-byte vectors under a different calling convention.
using W = uint32_t;
typedef uint32_t W8 __attribute__((vector_size(32)));
typedef int32_t I8 __attribute__((vector_size(32)));
constexpr W C1 = 59;
constexpr W C2 = 45;
constexpr W C3 = 24;
constexpr W kColumnBias = 128 * 4096 + 2048; // level shift and rounding of the final >> 12

[[gnu::always_inline]] inline W Sar(W v, int n) { return W(int32_t(v) >> n); }
[[gnu::always_inline]] inline W8 Sar(W8 v, int n) { return W8(I8(v) >> n); }

// One 8-point pass; `bias` is added to the even part's t0 and t1.
template <class T>
[[gnu::always_inline]] inline void Butterfly(const T y[8], T bias, T out[8]) {
    const T t0 = y[0] + y[4] + bias;
    const T t1 = y[0] - y[4] + bias;
    const T t2 = y[2] + y[6];
    const T t3 = Sar((y[2] - y[6]) * C2, 6);
    const T u = t3 + t2;
    const T e0 = t0 + u, e3 = t0 - u, e1 = t1 + t3, e2 = t1 - t3;

    const T z1 = y[1] + y[7], z2 = y[1] - y[7], z3 = y[5] + y[3], z4 = y[5] - y[3];
    const T p = (z2 + z4) * C3;
    const T d = Sar(p + (C1 - C3) * z4, 6);
    const T q5 = Sar((z1 - z3) * C2, 6);
    const T q6 = Sar((C1 + C3) * z2 - p, 6);
    const T e = d + q5, f = q5 + q6, g = q6 + z1 + z3;

    out[0] = e0 + g;
    out[1] = e1 + f;
    out[2] = e2 + e;
    out[3] = e3 + d;
    out[4] = e3 - d;
    out[5] = e2 - e;
    out[6] = e1 - f;
    out[7] = e0 - g;
}

// Eight lanes already clamped to 0..255 as eight bytes, in one store.
[[gnu::always_inline]] inline void StoreBytes(I8 v, uint8_t* line) {
    typedef uint8_t B32 __attribute__((vector_size(32)));
    typedef uint8_t B8 __attribute__((vector_size(8)));
    const B8 bytes = __builtin_shufflevector(B32(v), B32(v), 0, 4, 8, 12, 16, 20, 24, 28);
    std::memcpy(line, &bytes, sizeof bytes);
}

inline uint8_t Clamp(W v) {
    const int32_t s = int32_t(v) >> 12;
    return uint8_t(s < 0 ? 0 : s > 255 ? 255 : s);
}

} // namespace

// On x86-64 with GCC an AVX2 copy is chosen at load time where the processor has it (the
// 8-lane column pass then needs no emulated 32-bit multiplies); the default copy runs anywhere.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
__attribute__((target_clones("avx2", "default")))
#endif
void InverseDct(const int16_t* coefficients, const int32_t* scaled, uint8_t* out,
                size_t stride) {
    // Row pass; a row whose AC terms are all zero gives eight equal values (the butterflies
    // give the same for such a row, this only saves the work).
    W8 rows[8];
    for (int r = 0; r < 8; ++r) {
        const int16_t* x = coefficients + r * 8;
        const int32_t* q = scaled + r * 8;
        if ((x[1] | x[2] | x[3] | x[4] | x[5] | x[6] | x[7]) == 0) {
            const W v = W(x[0]) * W(q[0]);
            rows[r] = W8{v, v, v, v, v, v, v, v};
            continue;
        }
        W y[8], o[8];
        for (int k = 0; k < 8; ++k) y[k] = W(x[k]) * W(q[k]);
        Butterfly(y, W(0), o);
        rows[r] = W8{o[0], o[1], o[2], o[3], o[4], o[5], o[6], o[7]};
    }
    // Column pass on all columns at once, then >> 12 and clamp to 0..255.
    W8 o[8];
    const W8 bias = {kColumnBias, kColumnBias, kColumnBias, kColumnBias,
                     kColumnBias, kColumnBias, kColumnBias, kColumnBias};
    Butterfly(rows, bias, o);
    for (int k = 0; k < 8; ++k) {
        I8 v = I8(o[k]) >> 12;
        v = v < 0 ? 0 : v;
        v = v > 255 ? 255 : v;
        StoreBytes(v, out + k * stride);
    }
}

namespace {

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

} // namespace

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
__attribute__((target_clones("avx2", "default")))
#endif
void InverseDctTransposed(const int16_t* coefficients, const int32_t* scaledTransposed,
                          uint8_t* out, size_t stride) {
    typedef int16_t S8 __attribute__((vector_size(16)));
    // Row pass on all rows at once: lane r of y[k] is coefficient (r, k) times its scale.
    // Blocks whose right or lower half is zero are common: the butterflies then run on inputs
    // known to be zero, which the compiler folds away (the results are the same, being exact
    // integer arithmetic).
    W8 y[8], o[8];
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
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
        I8 v = I8(o[k]) >> 12;
        v = v < 0 ? 0 : v;
        v = v > 255 ? 255 : v;
        StoreBytes(v, out + k * stride);
    }
}

uint8_t InverseDctDcOnly(int16_t dc, const int32_t* scaled) {
    // Row pass: only row 0 is non-zero, all its outputs x0 * q0. Column pass: every column
    // sees (v, 0, ..., 0), so all eight outputs are v + bias.
    return Clamp(W(dc) * W(scaled[0]) + kColumnBias);
}
