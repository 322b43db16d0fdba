// The instruction sets the decoder's inverse DCT and colour conversion are built for, and the
// choice among them at run time. Every set gives the same bytes: plain C++ is the reference
// the others are tested against.
#pragma once

#include <cstddef>
#include <cstdint>

// x86-64 builds carry AVX2 kernels beside the baseline ones (chosen when the processor has it).
#if defined(__x86_64__) && defined(__GNUC__)
#define FS_JPEG_AVX2 1
#endif

enum class JpegSimd : uint8_t {
    Best,   // the fastest set this processor has
    Scalar, // portable C++
    Sse2,   // x86-64's baseline (elsewhere the compiler's generic vectors)
    Avx2,   // x86-64 processors that have it
};

// The block and row kernels of one instruction set (see JpegIdct.h and JpegColor.h).
struct JpegKernels {
    JpegSimd Simd;
    void (*InverseDctTransposed)(const int16_t* coefficients, const int32_t* scaledTransposed,
                                 uint8_t* out, size_t stride);
    void (*YCbCrRow)(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                     uint32_t width);
    void (*YCbCrHalfRow)(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                         uint32_t width);
};

// Whether this build and this processor can run `simd` (Best and Scalar always).
bool JpegSimdAvailable(JpegSimd simd);
// The kernels of `simd`; for Best, or a set the processor lacks, those of the best it has.
const JpegKernels& JpegKernelsFor(JpegSimd simd);
