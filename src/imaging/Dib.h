// Packed device-independent bitmaps: checking a block before it is trusted, building one from a
// Windows bitmap file, and turning one into device pixels. Every offset is checked against the
// block's size first, so damaged or hostile data is refused instead of being read past its end.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imaging/PixelRows.h"
#include "platform/Pixmap.h"

// Where the parts of a checked block lie.
struct TDibLayout {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t BitCount = 0;
    int32_t RowBytes = 0;
    size_t PaletteOffset = 0; // the header's size
    size_t PaletteEntries = 0;
    size_t RowsOffset = 0;
};

inline constexpr size_t kInfoHeaderSize = 40;
inline constexpr size_t kFileHeaderSize = 14;

// Bytes per stored row: bitCount * width bits rounded up to a multiple of 4 bytes.
int32_t DibRowBytes(int32_t width, int32_t bitCount);

// Checks a packed block (info header, 16 or 256 palette entries by bit depth, bottom-up rows):
// uncompressed, 4, 8 or 24 bits, a sensible size, and everything inside the block. Nothing
// and the reason in why when the block cannot be used.
std::optional<TDibLayout> CheckDib(std::span<const uint8_t> block, std::string& why);
// The same check from the block's first bytes (its 40-byte header, or all of a shorter block)
// and its length alone: every rule depends only on these, so a reader can pass over the rows
// without reading them.
std::optional<TDibLayout> CheckDibHeader(std::span<const uint8_t> head, uint64_t blockSize,
                                         std::string& why);

// The packed block for a Windows bitmap file (file header, info header, palette, rows). The
// rows are taken from where the file header says they start; a larger info header is cut to
// the 40-byte one and a short palette is filled up to the full 16 or 256 entries, so the
// block always has the layout CheckDib expects. A file that already has that layout gives
// its bytes after the file header unchanged.
std::optional<std::vector<uint8_t>> DibFromBitmapFile(std::span<const uint8_t> file,
                                                      std::string& why);

// The picture as device pixels, top row first, 0xFFRRGGBB.
TPixmap DibToPixmap(std::span<const uint8_t> block, const TDibLayout& layout);

// The rows of a checked block as device pixels, converted as they are read.
class TDibRows : public TPixelRows {
public:
    TDibRows(std::span<const uint8_t> block, const TDibLayout& layout)
        : Block(block), Layout(layout) {}
    int32_t Width() const override { return Layout.Width; }
    int32_t Height() const override { return Layout.Height; }
    void Row(int32_t y, uint32_t* out) const override;
    const uint8_t* PackedRow(int32_t y) const override;

private:
    std::span<const uint8_t> Block;
    TDibLayout Layout;
};
