// Integer inverse DCT in plain C++: a row pass that multiplies by the pre-scaled quantization
// values and a column pass that rounds, removes the level shift (T.81 A.3.1) and clamps to
// 0..255. The vector kernels (JpegIdctVector.h) do the same arithmetic eight lanes at a time.
#include "jpeg/JpegIdct.h"

#include "jpeg/JpegIdctButterfly.h"
#include "jpeg/JpegSimd.h"

using jpeg_idct::Butterfly;
using jpeg_idct::Clamp;
using jpeg_idct::kColumnBias;
using jpeg_idct::W;

namespace {

// The column pass over rows[r * 8 + c] and the store.
void ColumnPass(const W rows[64], uint8_t* out, size_t stride) {
    for (int c = 0; c < 8; ++c) {
        W y[8], o[8];
        for (int k = 0; k < 8; ++k) y[k] = rows[k * 8 + c];
        Butterfly(y, kColumnBias, o);
        for (int k = 0; k < 8; ++k) out[k * stride + c] = Clamp(o[k]);
    }
}

} // namespace

void InverseDct(const int16_t* coefficients, const int32_t* scaled, uint8_t* out, size_t stride) {
    // Row pass; a row whose AC terms are all zero gives eight equal values (the butterflies
    // give the same for such a row, this only saves the work).
    W rows[64];
    for (int r = 0; r < 8; ++r) {
        const int16_t* x = coefficients + r * 8;
        const int32_t* q = scaled + r * 8;
        W* o = rows + r * 8;
        if ((x[1] | x[2] | x[3] | x[4] | x[5] | x[6] | x[7]) == 0) {
            for (int k = 0; k < 8; ++k) o[k] = W(x[0]) * W(q[0]);
            continue;
        }
        W y[8];
        for (int k = 0; k < 8; ++k) y[k] = W(x[k]) * W(q[k]);
        Butterfly(y, W(0), o);
    }
    ColumnPass(rows, out, stride);
}

void InverseDctTransposedScalar(const int16_t* coefficients, const int32_t* scaledTransposed,
                                uint8_t* out, size_t stride) {
    W rows[64];
    for (int r = 0; r < 8; ++r) {
        W y[8];
        for (int k = 0; k < 8; ++k)
            y[k] = W(coefficients[k * 8 + r]) * W(scaledTransposed[k * 8 + r]);
        Butterfly(y, W(0), rows + r * 8);
    }
    ColumnPass(rows, out, stride);
}

void InverseDctTransposed(const int16_t* coefficients, const int32_t* scaledTransposed,
                          uint8_t* out, size_t stride) {
    static const auto kernel = JpegKernelsFor(JpegSimd::Best).InverseDctTransposed;
    kernel(coefficients, scaledTransposed, out, stride);
}
