// BitmapImage: DIB-layout picture storage for the codecs.
#include "codec/BitmapImage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "codec/GraphicsExceptions.h"
#include "codec/LargePages.h"

namespace {

bool IsValidBitCount(uint32_t bitCount) {
    return bitCount == 1 || bitCount == 2 || bitCount == 4 || bitCount == 8 || bitCount == 24;
}

uint32_t ReadLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t ReadLe16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

void PutLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

constexpr size_t kInfoHeaderSize = 40; // BITMAPINFOHEADER

} // namespace

void BitmapImage::Free::operator()(uint8_t* p) const { std::free(p); }

BitmapImage::BitmapImage(const BitmapImage& other)
    : m_RowWidth(other.m_RowWidth), m_BitCount(other.m_BitCount), m_Width(other.m_Width),
      m_Height(other.m_Height), m_ColorCount(other.m_ColorCount), m_ColorMap(other.m_ColorMap),
      m_DibLayout(other.m_DibLayout) {
    if (!other.m_Dib.empty()) {
        m_Dib = other.m_Dib;
        m_Pixels = m_Dib.data() + (other.m_Pixels - other.m_Dib.data());
        m_ImageDataSize = other.m_ImageDataSize;
    } else if (other.m_Pixels) {
        m_Owned.reset(static_cast<uint8_t*>(std::malloc(other.m_ImageDataSize)));
        if (!m_Owned) throw std::bad_alloc();
        std::memcpy(m_Owned.get(), other.m_Pixels, other.m_ImageDataSize);
        m_Pixels = m_Owned.get();
        m_ImageDataSize = other.m_ImageDataSize;
    }
}

BitmapImage& BitmapImage::operator=(const BitmapImage& other) {
    if (this != &other) *this = BitmapImage(other);
    return *this;
}

BitmapImage::BitmapImage(BitmapImage&& other) noexcept { *this = std::move(other); }

BitmapImage& BitmapImage::operator=(BitmapImage&& other) noexcept {
    if (this == &other) return *this;
    // Moving a vector or a unique_ptr keeps its buffer, so the row pointer stays valid.
    m_RowWidth = std::exchange(other.m_RowWidth, 0);
    m_BitCount = std::exchange(other.m_BitCount, 0);
    m_Width = std::exchange(other.m_Width, 0);
    m_Height = std::exchange(other.m_Height, 0);
    m_Owned = std::move(other.m_Owned);
    m_Dib = std::move(other.m_Dib);
    other.m_Dib = std::vector<uint8_t>();
    m_Pixels = std::exchange(other.m_Pixels, nullptr);
    m_ImageDataSize = std::exchange(other.m_ImageDataSize, 0);
    m_ColorCount = std::exchange(other.m_ColorCount, 0);
    m_ColorMap = std::move(other.m_ColorMap);
    other.m_ColorMap = std::vector<uint8_t>();
    m_DibLayout = other.m_DibLayout;
    return *this;
}

uint64_t BitmapImage::RowWidthFor(uint32_t bitCount, uint32_t width) {
    const uint64_t bytes = (uint64_t(bitCount) * width + 7) / 8;
    return (bytes + 3) & ~uint64_t(3);
}

void BitmapImage::Clear() {
    m_Owned.reset();
    m_Dib = std::vector<uint8_t>();
    m_Pixels = nullptr;
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
    if (m_DibLayout) {
        const size_t prefix = DibPrefixSize(bitCount);
        if (bytes > SIZE_MAX - prefix) throw std::bad_alloc();
        // Room first, so the pages can be asked for large before the zeroing touches them.
        m_Dib.reserve(prefix + bytes);
        AskForLargePages(m_Dib.data(), m_Dib.capacity());
        m_Dib.resize(prefix + bytes);
        m_Pixels = m_Dib.data() + prefix;
    } else {
        m_Owned.reset(static_cast<uint8_t*>(std::calloc(bytes, 1)));
        if (!m_Owned) throw std::bad_alloc();
        m_Pixels = m_Owned.get();
    }
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
    if (row >= m_Height || !m_Pixels) throw ESubscriptOutOfRange();
    return &m_Pixels[size_t(m_Height - 1 - row) * m_RowWidth];
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

namespace {

// The checked parts of a packed DIB: where its palette and rows start.
struct DibParts {
    uint32_t Width, Height, BitCount, ColorCount;
    const uint8_t* Palette;
    const uint8_t* Rows;
};

DibParts CheckedDib(const uint8_t* dib, size_t size) {
    if (dib == nullptr || size < kInfoHeaderSize) throw ESubscriptOutOfRange();
    const uint32_t headerSize = ReadLe32(dib);
    const uint32_t width = ReadLe32(dib + 4);
    const uint32_t height = ReadLe32(dib + 8);
    const uint32_t bitCount = ReadLe16(dib + 14);
    if (!IsValidBitCount(bitCount)) throw EInvalidBitCount();
    const uint32_t colorCount = bitCount < 24 ? (1u << bitCount) : 0;
    const uint64_t rowBytes = BitmapImage::RowWidthFor(bitCount, width) * height;
    const uint64_t paletteBytes = uint64_t(colorCount) * 4;
    if (headerSize < kInfoHeaderSize || headerSize > size || paletteBytes > size - headerSize ||
        rowBytes > size - headerSize - paletteBytes)
        throw ESubscriptOutOfRange();
    return {width, height, bitCount, colorCount, dib + headerSize, dib + headerSize + paletteBytes};
}

// A colour map (blue, green, red a colour) from the block's palette (four bytes a colour).
std::vector<uint8_t> ColorMapOf(const DibParts& d) {
    std::vector<uint8_t> map(size_t(d.ColorCount) * 3);
    for (uint32_t i = 0; i < d.ColorCount; ++i)
        std::memcpy(&map[size_t(i) * 3], d.Palette + size_t(i) * 4, 3);
    return map;
}

} // namespace

void BitmapImage::AssignFromDib(const uint8_t* dib, size_t size) {
    const DibParts d = CheckedDib(dib, size);
    SetSize(d.ColorCount, d.BitCount, d.Width, d.Height);
    // A picture without pixels has no colour map either (SetSize allocates neither).
    if (!m_ColorMap.empty()) m_ColorMap = ColorMapOf(d);
    if (m_Pixels) std::memcpy(m_Pixels, d.Rows, m_ImageDataSize);
}

void BitmapImage::ViewDib(const uint8_t* dib, size_t size) {
    const DibParts d = CheckedDib(dib, size);
    const uint64_t rowWidth = RowWidthFor(d.BitCount, d.Width);
    if (rowWidth > UINT32_MAX) throw std::bad_alloc();
    Clear();
    m_RowWidth = uint32_t(rowWidth);
    m_BitCount = d.BitCount;
    m_Width = d.Width;
    m_Height = d.Height;
    m_ColorCount = d.ColorCount;
    if (d.Width == 0 || d.Height == 0) return;
    m_ColorMap = ColorMapOf(d);
    m_ImageDataSize = size_t(rowWidth) * d.Height;
    m_Pixels = const_cast<uint8_t*>(d.Rows);
}

size_t BitmapImage::DibPrefixSize(uint32_t bitCount) {
    return kInfoHeaderSize + (bitCount < 24 ? size_t{4} << bitCount : 0);
}

std::vector<uint8_t> BitmapImage::TakeDib() {
    const size_t prefix = DibPrefixSize(m_BitCount);
    std::vector<uint8_t> block;
    const bool inPlace = !m_Dib.empty() && m_Pixels == m_Dib.data() + prefix;
    if (inPlace) {
        block = std::move(m_Dib);
        std::fill_n(block.data(), prefix, uint8_t{0});
    } else {
        block.assign(prefix + m_ImageDataSize, 0);
        if (m_Pixels) std::memcpy(block.data() + prefix, m_Pixels, m_ImageDataSize);
    }
    PutLe32(block.data(), uint32_t(kInfoHeaderSize));
    PutLe32(block.data() + 4, m_Width);
    PutLe32(block.data() + 8, m_Height);
    block[12] = 1; // planes
    block[14] = uint8_t(m_BitCount);
    const size_t entries = m_BitCount < 24 ? size_t{1} << m_BitCount : 0;
    for (size_t i = 0; i < m_ColorCount && i < entries; ++i)
        std::memcpy(&block[kInfoHeaderSize + 4 * i], &m_ColorMap[i * 3], 3);
    Clear();
    return block;
}
