// BitmapImage: DIB-layout picture storage for the codecs.
#include "codec/BitmapImage.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "codec/GraphicsExceptions.h"

namespace {

bool IsValidBitCount(uint32_t bitCount) {
    return bitCount == 1 || bitCount == 2 || bitCount == 4 || bitCount == 8 || bitCount == 24;
}

uint32_t ReadLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t ReadLe16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

constexpr size_t kInfoHeaderSize = 40; // BITMAPINFOHEADER

} // namespace

void BitmapImage::Free::operator()(uint8_t* p) const { std::free(p); }

BitmapImage::BitmapImage(const BitmapImage& other)
    : m_RowWidth(other.m_RowWidth), m_BitCount(other.m_BitCount), m_Width(other.m_Width),
      m_Height(other.m_Height), m_ColorCount(other.m_ColorCount), m_ColorMap(other.m_ColorMap) {
    if (other.m_ImageData) {
        m_ImageData.reset(static_cast<uint8_t*>(std::malloc(other.m_ImageDataSize)));
        if (!m_ImageData) throw std::bad_alloc();
        std::memcpy(m_ImageData.get(), other.m_ImageData.get(), other.m_ImageDataSize);
        m_ImageDataSize = other.m_ImageDataSize;
    }
}

BitmapImage& BitmapImage::operator=(const BitmapImage& other) {
    if (this != &other) *this = BitmapImage(other);
    return *this;
}

uint64_t BitmapImage::RowWidthFor(uint32_t bitCount, uint32_t width) {
    const uint64_t bytes = (uint64_t(bitCount) * width + 7) / 8;
    return (bytes + 3) & ~uint64_t(3);
}

void BitmapImage::Clear() {
    m_ImageData.reset();
    m_ImageDataSize = 0;
    m_ColorMap = std::vector<uint8_t>();
    m_RowWidth = m_BitCount = m_Width = m_Height = m_ColorCount = 0;
}

void BitmapImage::SetSize(uint32_t colorCount, uint32_t bitCount, uint32_t width, uint32_t height) {
    Clear();
    if (!IsValidBitCount(bitCount)) throw EInvalidBitCount();
    const uint64_t rowWidth = RowWidthFor(bitCount, width);
    if (rowWidth > UINT32_MAX || (height != 0 && rowWidth > SIZE_MAX / height))
        throw std::bad_alloc();
    const bool mapped = bitCount != 24;
    m_RowWidth = uint32_t(rowWidth);
    m_BitCount = bitCount;
    m_Width = width;
    m_Height = height;
    m_ColorCount = mapped ? colorCount : 0;
    // A picture without pixels, or a colour-mapped one without colours, holds no data.
    if (width == 0 || height == 0 || (mapped && colorCount == 0)) return;
    const size_t bytes = size_t(rowWidth) * height;
    m_ImageData.reset(static_cast<uint8_t*>(std::calloc(bytes, 1)));
    if (!m_ImageData) throw std::bad_alloc();
    m_ImageDataSize = bytes;
    if (mapped) m_ColorMap.assign(size_t(colorCount) * 3, 0);
}

uint8_t* BitmapImage::ColorMapEntry(uint32_t index) {
    if (index >= m_ColorCount || m_ColorMap.empty()) throw ESubscriptOutOfRange();
    return &m_ColorMap[size_t(index) * 3];
}

const uint8_t* BitmapImage::ColorMapEntry(uint32_t index) const {
    return const_cast<BitmapImage*>(this)->ColorMapEntry(index);
}

uint8_t* BitmapImage::Row(uint32_t row) {
    if (row >= m_Height || !m_ImageData) throw ESubscriptOutOfRange();
    return &m_ImageData[size_t(m_Height - 1 - row) * m_RowWidth];
}

const uint8_t* BitmapImage::Row(uint32_t row) const {
    return const_cast<BitmapImage*>(this)->Row(row);
}

RgbValue BitmapImage::GetRGB(uint32_t row, uint32_t column) const {
    if (row >= m_Height || column >= m_Width) throw ESubscriptOutOfRange();
    const uint8_t* line = Row(row);
    if (m_BitCount == 24) {
        const uint8_t* p = line + size_t(column) * 3;
        return {p[2], p[1], p[0]};
    }
    uint32_t index = 0;
    switch (m_BitCount) {
    case 1: index = (line[column / 8] >> (7 - column % 8)) & 1; break;
    case 2: index = (line[column / 4] >> (6 - 2 * (column % 4))) & 3; break;
    case 4: index = (column % 2 == 0) ? line[column / 2] >> 4 : line[column / 2] & 15; break;
    default: index = line[column]; break;
    }
    const uint8_t* entry = ColorMapEntry(index);
    return {entry[2], entry[1], entry[0]};
}

void BitmapImage::AssignFromDib(const uint8_t* dib, size_t size) {
    if (dib == nullptr || size < kInfoHeaderSize) throw ESubscriptOutOfRange();
    const uint32_t headerSize = ReadLe32(dib);
    const uint32_t width = ReadLe32(dib + 4);
    const uint32_t height = ReadLe32(dib + 8);
    const uint32_t bitCount = ReadLe16(dib + 14);
    if (!IsValidBitCount(bitCount)) throw EInvalidBitCount();
    const uint32_t colorCount = bitCount < 24 ? (1u << bitCount) : 0;
    const uint64_t rowBytes = RowWidthFor(bitCount, width) * height;
    const uint64_t paletteBytes = uint64_t(colorCount) * 4;
    if (headerSize < kInfoHeaderSize || headerSize > size || paletteBytes > size - headerSize ||
        rowBytes > size - headerSize - paletteBytes)
        throw ESubscriptOutOfRange();
    SetSize(colorCount, bitCount, width, height);
    const uint8_t* palette = dib + headerSize;
    for (uint32_t i = 0; i < colorCount; ++i) {
        m_ColorMap[size_t(i) * 3 + 0] = palette[i * 4 + 0];
        m_ColorMap[size_t(i) * 3 + 1] = palette[i * 4 + 1];
        m_ColorMap[size_t(i) * 3 + 2] = palette[i * 4 + 2];
    }
    if (m_ImageData) std::memcpy(m_ImageData.get(), palette + paletteBytes, m_ImageDataSize);
}
