// Colour conversion and upsampling of sample rows for the JPEG decoder.
#pragma once

#include <cstdint>

// Converts `width` full-resolution Y, Cb, Cr samples to blue, green, red bytes:
// red = Y + ((5742 (Cr-128) + 2048) >> 12), green = Y - ((1409 (Cb-128) + 2925 (Cr-128) + 2048)
// >> 12), blue = Y + ((7258 (Cb-128) + 2048) >> 12), each clamped to 0..255.
void YCbCrRowToBgr(const uint8_t* lum, const uint8_t* cb, const uint8_t* cr, uint8_t* out,
                   uint32_t width);

// Repeats each sample `factor` times; returns `row` itself for factor 1, else `buffer`
// (width bytes) holding the first `width` samples of the widened row.
const uint8_t* WidenRow(const uint8_t* row, uint32_t factor, uint32_t width, uint8_t* buffer);
