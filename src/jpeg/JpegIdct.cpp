// Integer inverse DCT: a row pass that multiplies by the pre-scaled quantization values and a
// column pass that rounds, removes the level shift (T.81 A.3.1) and clamps to 0..255.
// Constants: 64 x cos(pi/8), 64 x cos(pi/4), 64 x cos(3 pi/8), truncated.
#include "jpeg/JpegIdct.h"

namespace {

// The butterflies run on uint32_t so that overflow from corrupt coefficients wraps instead of
// being undefined; Sar is the arithmetic (sign-keeping) right shift of the signed value.
using W = uint32_t;
constexpr W C1 = 59;
constexpr W C2 = 45;
constexpr W C3 = 24;
constexpr W kColumnBias = 128 * 4096 + 2048;  // level shift and rounding of the final >> 12

inline W Sar(W v, int n) { return W(int32_t(v) >> n); }

// One 8-point pass; `bias` is added to the even part's t0 and t1.
inline void Butterfly(const W y[8], W bias, W out[8]) {
    const W t0 = y[0] + y[4] + bias;
    const W t1 = y[0] - y[4] + bias;
    const W t2 = y[2] + y[6];
    const W t3 = Sar((y[2] - y[6]) * C2, 6);
    const W u = t3 + t2;
    const W e0 = t0 + u, e3 = t0 - u, e1 = t1 + t3, e2 = t1 - t3;

    const W z1 = y[1] + y[7], z2 = y[1] - y[7], z3 = y[5] + y[3], z4 = y[5] - y[3];
    const W p = (z2 + z4) * C3;
    const W d = Sar(p + (C1 - C3) * z4, 6);
    const W q5 = Sar((z1 - z3) * C2, 6);
    const W q6 = Sar((C1 + C3) * z2 - p, 6);
    const W e = d + q5, f = q5 + q6, g = q6 + z1 + z3;

    out[0] = e0 + g; out[1] = e1 + f; out[2] = e2 + e; out[3] = e3 + d;
    out[4] = e3 - d; out[5] = e2 - e; out[6] = e1 - f; out[7] = e0 - g;
}

inline uint8_t Clamp(W v) {
    const int32_t s = int32_t(v) >> 12;
    return uint8_t(s < 0 ? 0 : s > 255 ? 255 : s);
}

}  // namespace

void InverseDct(const int16_t* coefficients, const int32_t* scaled, uint8_t* out,
                size_t stride) {
    W rows[64];
    for (int r = 0; r < 8; ++r) {
        const int16_t* x = coefficients + r * 8;
        const int32_t* q = scaled + r * 8;
        W* o = rows + r * 8;
        if ((x[1] | x[2] | x[3] | x[4] | x[5] | x[6] | x[7]) == 0) {
            const W v = W(x[0]) * W(q[0]);
            for (int k = 0; k < 8; ++k) o[k] = v;
            continue;
        }
        W y[8];
        for (int k = 0; k < 8; ++k) y[k] = W(x[k]) * W(q[k]);
        Butterfly(y, 0, o);
    }
    for (int c = 0; c < 8; ++c) {
        W y[8], o[8];
        for (int k = 0; k < 8; ++k) y[k] = rows[k * 8 + c];
        Butterfly(y, kColumnBias, o);
        for (int k = 0; k < 8; ++k) out[k * stride + c] = Clamp(o[k]);
    }
}

uint8_t InverseDctDcOnly(int16_t dc, const int32_t* scaled) {
    // Row pass: only row 0 is non-zero, all its outputs x0 * q0. Column pass: every column
    // sees (v, 0, ..., 0), so all eight outputs are v + bias.
    return Clamp(W(dc) * W(scaled[0]) + kColumnBias);
}
