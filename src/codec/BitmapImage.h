// The picture exchanged with the JPEG codec. Its memory is laid out as a Windows DIB: rows
// bottom-up, each padded to a multiple of 4 bytes, 24-bit pixels as blue, green, red, and
// 1/2/4/8-bit pixels as indices into a blue-green-red colour map.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct RgbValue {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;
    bool operator==(const RgbValue&) const = default;
};

class BitmapImage {
public:
    BitmapImage() = default;
    BitmapImage(const BitmapImage& other);
    BitmapImage& operator=(const BitmapImage& other);
    BitmapImage(BitmapImage&& other) noexcept;
    BitmapImage& operator=(BitmapImage&& other) noexcept;

    // Releases the old contents and allocates zeroed rows (and, below 24 bits, a zeroed colour
    // map of colorCount entries). A bit count other than 1, 2, 4, 8, 24 raises EInvalidBitCount;
    // sizes whose row or data length cannot be represented raise std::bad_alloc.
    void SetSize(uint32_t colorCount, uint32_t bitCount, uint32_t width, uint32_t height);
    void Clear();

    // Copies a packed DIB (BITMAPINFOHEADER, palette of 2^BitCount entries, rows) of `size`
    // bytes. Data shorter than the header says raises ESubscriptOutOfRange.
    void AssignFromDib(const uint8_t* dib, size_t size);
    // The same checks, but the picture reads the block's palette and rows where they are,
    // without a copy: the block must outlive this picture (or its next SetSize or Clear), and
    // nothing may write through ImageData(). For the encoder, which only reads its picture.
    void ViewDib(const uint8_t* dib, size_t size);

    // With the DIB layout on, SetSize allocates the rows behind room for the 40-byte header
    // and the full palette (2^BitCount entries below 24 bits) of a packed DIB, in one vector,
    // so that TakeDib can hand the decoded picture over as a block without copying its rows.
    // Stays set through SetSize and Clear.
    void SetDibLayout(bool on) { m_DibLayout = on; }
    // The packed DIB of a picture allocated with the DIB layout: the header and palette are
    // written in front of the rows, the vector is moved out and the picture left empty.
    // Without the layout (or without pixels) the rows are copied into a new block.
    std::vector<uint8_t> TakeDib();
    // Bytes in front of the rows in a packed DIB of this bit count.
    static size_t DibPrefixSize(uint32_t bitCount);

    uint32_t RowWidth() const { return m_RowWidth; }
    uint32_t BitCount() const { return m_BitCount; }
    uint32_t Width() const { return m_Width; }
    uint32_t Height() const { return m_Height; }
    uint32_t ColorCount() const { return m_ColorCount; }
    uint8_t* ImageData() { return m_Pixels; }
    const uint8_t* ImageData() const { return m_Pixels; }
    size_t ImageDataSize() const { return m_ImageDataSize; }
    const uint8_t* ColorMap() const { return m_ColorMap.data(); }

    // The 3-byte (blue, green, red) colour-map entry; index >= ColorCount raises
    // ESubscriptOutOfRange.
    uint8_t* ColorMapEntry(uint32_t index);
    const uint8_t* ColorMapEntry(uint32_t index) const;

    // Row 0 is the top of the picture (the last stored row). row >= Height raises
    // ESubscriptOutOfRange.
    uint8_t* Row(uint32_t row);
    const uint8_t* Row(uint32_t row) const;

    // Colour of one pixel, through the colour map below 24 bits.
    RgbValue GetRGB(uint32_t row, uint32_t column) const;

    // Bytes per stored row for the given bit count and width (a multiple of 4).
    static uint64_t RowWidthFor(uint32_t bitCount, uint32_t width);

private:
    uint32_t m_RowWidth = 0;
    uint32_t m_BitCount = 0;
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
    // Zeroed with calloc: large blocks come straight from the system already zero, so a big
    // picture is not written twice.
    struct Free {
        void operator()(uint8_t* p) const;
    };
    std::unique_ptr<uint8_t[], Free> m_Owned;
    // The whole packed DIB, rows included, with the DIB layout.
    std::vector<uint8_t> m_Dib;
    // The rows: in m_Owned, in m_Dib, or in a viewed block.
    uint8_t* m_Pixels = nullptr;
    size_t m_ImageDataSize = 0;
    uint32_t m_ColorCount = 0;
    std::vector<uint8_t> m_ColorMap;
    bool m_DibLayout = false;
};
