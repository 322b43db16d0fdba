// The 8-point pass of the decoder's inverse DCT, written once for a scalar lane and for
// GCC/Clang vectors of them: JpegIdct.cpp (scalar), JpegIdctVector.h (SSE2, AVX2).
#pragma once

#include <cstdint>

namespace jpeg_idct {

// The butterflies run on uint32_t lanes so that overflow from corrupt coefficients wraps
// instead of being undefined; Sar is the arithmetic (sign-keeping) right shift of the signed
// value. Helpers that take vectors are always inlined: a call from the AVX2 transform into a
// helper built for plain x86-64 would pass 32-byte vectors under a different convention.
using W = uint32_t;
// 64 x cos(pi/8), 64 x cos(pi/4), 64 x cos(3 pi/8), truncated.
constexpr W C1 = 59;
constexpr W C2 = 45;
constexpr W C3 = 24;
constexpr W kColumnBias = 128 * 4096 + 2048; // level shift and rounding of the final >> 12

[[gnu::always_inline]] inline W Sar(W v, int n) { return W(int32_t(v) >> n); }

template <class T>
[[gnu::always_inline]] inline T Sar(T v, int n) {
    typedef int32_t I __attribute__((vector_size(sizeof(T))));
    return T(I(v) >> n);
}

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

// The final >> 12 and clamp to 0..255 of one output.
[[gnu::always_inline]] inline uint8_t Clamp(W v) {
    const int32_t s = int32_t(v) >> 12;
    return uint8_t(s < 0 ? 0 : s > 255 ? 255 : s);
}

} // namespace jpeg_idct
