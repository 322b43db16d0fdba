// Colour conversion between blue-green-red pixels and Y, Cb, Cr for the JPEG decoder and
// encoder, and upsampling of sample rows for the decoder.
#pragma once

#include <cstdint>

// Converts `width` full-resolution Y, Cb, Cr samples to blue, green, red bytes:
// red = Y + ((5742 (Cr-128) + 2048) >> 12), green = Y - ((1409 (Cb-128) + 2925 (Cr-128) + 2048)
// >> 12), blue = Y + ((7258 (Cb-128) + 2048) >> 12), each clamped to 0..255.
void YCbCrRowToBgr(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                   uint32_t width);

// The same with chroma rows at half the width: pixel x takes chroma sample x / 2 (replication
// upsampling fused with the conversion).
void YCbCrHalfRowToBgr(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                       uint32_t width);

// The kernels of both, one per instruction set (JpegSimd.h), all giving the same bytes: plain
// C++, SSE2 (JpegColorSse2.cpp) and AVX2 (JpegColorAvx2.cpp, only where the processor has it).
// The functions above use the fastest the processor has.
void YCbCrRowToBgrScalar(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                         uint32_t width);
void YCbCrHalfRowToBgrScalar(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                             uint32_t width);
void YCbCrRowToBgrSse2(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                       uint32_t width);
void YCbCrHalfRowToBgrSse2(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                           uint32_t width);
void YCbCrRowToBgrAvx2(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                       uint32_t width);
void YCbCrHalfRowToBgrAvx2(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                           uint32_t width);

// Interleaves `width` red, green and blue samples of components stored without colour
// conversion into blue, green, red bytes.
void RgbRowToBgr(const uint8_t* red, const uint8_t* green, const uint8_t* blue, uint8_t* out,
                 uint32_t width);

// Repeats each sample `factor` times; returns `row` itself for factor 1, else `buffer`
// (width bytes) holding the first `width` samples of the widened row.
const uint8_t* WidenRow(const uint8_t* row, uint32_t factor, uint32_t width, uint8_t* buffer);

// Converts `width` blue, green, red pixels to Y, Cb, Cr samples (JFIF), in integers scaled by
// 4096: Y = (1224 R + 2404 G + 466 B + 2048) >> 12, Cb = (526336 - 690 R - 1357 G + 2048 B)
// >> 12, Cr = (526336 + 2048 R - 1714 G - 333 B) >> 12, each clamped to 0..255.
void BgrRowToYCbCr(const uint8_t* bgr, uint8_t* lum, uint8_t* cb, uint8_t* cr, uint32_t width);
