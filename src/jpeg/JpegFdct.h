// Floating-point forward DCT with quantization for the JPEG encoder (T.81 A.3.3; the scaled
// separable transform of Arai, Agui and Nakajima, with its output scaling folded into the
// quantization divisors).
#pragma once

#include <cstddef>
#include <cstdint>

// Transforms the 8 x 8 samples at `samples` (rows `stride` bytes apart) after the level shift
// of 128, multiplies output (r, c) by divisorsTransposed[c * 8 + r] (the quantization table's
// f(r, c) / Q(r, c), column by column), rounds half away from zero and stores the 64
// coefficients in zigzag order.
void ForwardDctQuantize(const uint8_t* samples, size_t stride, const double* divisorsTransposed,
                        int16_t* zigzag);
