// Run-time choice of the decoder's kernels.
#include "jpeg/JpegSimd.h"

#include "jpeg/JpegColor.h"
#include "jpeg/JpegIdct.h"

namespace {

constexpr JpegKernels kScalar = {JpegSimd::Scalar, InverseDctTransposedScalar, YCbCrRowToBgrScalar,
                                 YCbCrHalfRowToBgrScalar};
constexpr JpegKernels kSse2 = {JpegSimd::Sse2, InverseDctTransposedSse2, YCbCrRowToBgrSse2,
                               YCbCrHalfRowToBgrSse2};
#if defined(FS_JPEG_AVX2)
constexpr JpegKernels kAvx2 = {JpegSimd::Avx2, InverseDctTransposedAvx2, YCbCrRowToBgrAvx2,
                               YCbCrHalfRowToBgrAvx2};
#endif

bool HasAvx2() {
#if defined(FS_JPEG_AVX2)
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#else
    return false;
#endif
}

} // namespace

bool JpegSimdAvailable(JpegSimd simd) {
    switch (simd) {
    case JpegSimd::Best:
    case JpegSimd::Scalar:
    case JpegSimd::Sse2: return true; // generic vectors where there is no SSE2
    case JpegSimd::Avx2: return HasAvx2();
    }
    return false;
}

const JpegKernels& JpegKernelsFor(JpegSimd simd) {
#if defined(FS_JPEG_AVX2)
    if ((simd == JpegSimd::Best || simd == JpegSimd::Avx2) && HasAvx2()) return kAvx2;
#endif
    if (simd == JpegSimd::Scalar) return kScalar;
    return kSse2;
}
