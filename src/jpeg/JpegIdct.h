// Integer inverse DCT with dequantization folded in (T.81 A.3.3; a scaled separable
// transform in the manner of Arai, Agui and Nakajima).
#pragma once

#include <cstddef>
#include <cstdint>

#include "jpeg/JpegIdctButterfly.h"

// coefficients: 64 values in natural order; scaled: the table's ScaledValues; writes 8 rows of
// 8 samples, `stride` bytes apart. The arithmetic is 32-bit two's complement and wraps on
// overflow, which only corrupt data can cause. Plain C++: the reference of the tests.
void InverseDct(const int16_t* coefficients, const int32_t* scaled, uint8_t* out, size_t stride);

// The same transform for a block stored column by column (coefficients[c * 8 + r] holds row r,
// column c; `scaledTransposed` likewise), with the fastest kernel the processor has.
void InverseDctTransposed(const int16_t* coefficients, const int32_t* scaledTransposed,
                          uint8_t* out, size_t stride);
// Its kernels, one per instruction set (JpegSimd.h), all giving the same bytes: plain C++,
// SSE2 (JpegIdctSse2.cpp) and AVX2 (JpegIdctAvx2.cpp, only where the processor has it).
void InverseDctTransposedScalar(const int16_t* coefficients, const int32_t* scaledTransposed,
                                uint8_t* out, size_t stride);
void InverseDctTransposedSse2(const int16_t* coefficients, const int32_t* scaledTransposed,
                              uint8_t* out, size_t stride);
void InverseDctTransposedAvx2(const int16_t* coefficients, const int32_t* scaledTransposed,
                              uint8_t* out, size_t stride);

// The same transform for a block whose only non-zero coefficient is the DC term: every
// sample is the same value. Row pass: only row 0 is non-zero, all its outputs x0 * q0. Column
// pass: every column sees (v, 0, ..., 0), so all eight outputs are v + bias.
inline uint8_t InverseDctDcOnly(int16_t dc, const int32_t* scaled) {
    using jpeg_idct::W;
    return jpeg_idct::Clamp(W(dc) * W(scaled[0]) + jpeg_idct::kColumnBias);
}
