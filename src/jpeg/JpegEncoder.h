// JPEG encoder: writes a BitmapImage as a baseline JFIF stream (ITU T.81 with the JFIF APP0
// header): Y, Cb and Cr without subsampling in one interleaved scan, quantization tables
// scaled from a quality value, Huffman tables optimised for the picture, and a restart marker
// every four MCU rows.
#pragma once

#include <cstdint>
#include <vector>

#include "codec/BitmapImageCoder.h"

class JpegEncoder : public BitmapImageEncoder {
public:
    static constexpr uint32_t kDefaultQuality = 75;
    static constexpr uint32_t kRestartRows = 4;
    // A frame stores its width and height in 16 bits.
    static constexpr uint32_t kMaxSide = 65535;
    // Larger pictures are refused before anything is allocated; the decoder refuses the same.
    static constexpr uint64_t kMaxPixels = uint64_t(1) << 28;

    // Takes effect at the next WriteImage or Encode; 1..100 is checked there.
    void SetQuality(uint32_t quality) { m_Quality = quality; }
    uint32_t Quality() const { return m_Quality; }
    // The most bytes the coefficients of the whole picture may take (6 bytes a pixel). A
    // larger picture is transformed one strip at a time for each of the two passes instead:
    // the same stream in a few rows of memory (the second transform costs about what the
    // cache misses of the whole buffer cost).
    void SetCoefficientBudget(uint64_t bytes) { m_CoefficientBudget = bytes; }
    uint64_t CoefficientBudget() const { return m_CoefficientBudget; }

    // Writes the whole stream. Nothing reaches the output unless the whole picture was
    // encoded: failures are EGraphicsException (EJpegValueOutOfRange for a quality outside
    // 1..100 or a picture size a frame cannot hold; ESubscriptOutOfRange for a pixel index
    // outside the colour map; EJpegFatal for an internal inconsistency; EGraphicsException
    // itself when the output stream fails). Allocation failures are std::bad_alloc.
    void WriteImage(std::ostream& output, const BitmapImage& picture) override;
    // The same stream as bytes in memory.
    std::vector<uint8_t> Encode(const BitmapImage& picture) const;

private:
    uint32_t m_Quality = kDefaultQuality;
    uint64_t m_CoefficientBudget = UINT64_MAX;
};
