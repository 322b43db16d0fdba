#include "imaging/Dib.h"

#include <algorithm>

#include "imaging/MemBitmap.h"

namespace {

uint16_t U16(std::span<const uint8_t> d, size_t at) {
    return static_cast<uint16_t>(d[at] | (d[at + 1] << 8));
}

uint32_t U32(std::span<const uint8_t> d, size_t at) {
    return static_cast<uint32_t>(d[at]) | (static_cast<uint32_t>(d[at + 1]) << 8) |
           (static_cast<uint32_t>(d[at + 2]) << 16) | (static_cast<uint32_t>(d[at + 3]) << 24);
}

void PutU32(std::vector<uint8_t>& d, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) d[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

// The fields of an info header that starts at `at` and is known to have 40 bytes.
struct THeaderFields {
    uint32_t Size;
    int32_t Width;
    int32_t Height;
    uint16_t BitCount;
    uint32_t Compression;
    uint32_t ColorsUsed;
};

THeaderFields ReadHeader(std::span<const uint8_t> d, size_t at) {
    return {U32(d, at),
            static_cast<int32_t>(U32(d, at + 4)),
            static_cast<int32_t>(U32(d, at + 8)),
            U16(d, at + 14),
            U32(d, at + 16),
            U32(d, at + 32)};
}

// Checks the fields every picture must satisfy, whatever container it came in.
bool CheckHeader(const THeaderFields& h, std::string& why) {
    if (h.BitCount != 4 && h.BitCount != 8 && h.BitCount != 24) {
        why = std::to_string(h.BitCount) + " bits per pixel are not supported (only 4, 8 and 24)";
        return false;
    }
    if (h.Compression != 0) {
        why = "compressed bitmaps are not supported";
        return false;
    }
    if (h.Width <= 0 || h.Height <= 0) {
        why = "the picture size " + std::to_string(h.Width) + " x " + std::to_string(h.Height) +
              " is not supported";
        return false;
    }
    if (h.Width > TMemBitmap::kMaxSide || h.Height > TMemBitmap::kMaxSide ||
        int64_t{h.Width} * h.Height > TMemBitmap::kMaxPixels) {
        why = "the picture size " + std::to_string(h.Width) + " x " + std::to_string(h.Height) +
              " is too large";
        return false;
    }
    return true;
}

size_t FullPaletteEntries(int32_t bitCount) { return bitCount == 24 ? 0 : size_t{1} << bitCount; }

} // namespace

int32_t DibRowBytes(int32_t width, int32_t bitCount) {
    const int64_t bits = int64_t{width} * bitCount;
    return static_cast<int32_t>(((bits + 31) / 32) * 4);
}

std::optional<TDibLayout> CheckDib(std::span<const uint8_t> block, std::string& why) {
    return CheckDibHeader(block.first(std::min(block.size(), kInfoHeaderSize)), block.size(), why);
}

std::optional<TDibLayout> CheckDibHeader(std::span<const uint8_t> head, uint64_t blockSize,
                                         std::string& why) {
    if (blockSize < kInfoHeaderSize || head.size() < kInfoHeaderSize) {
        why = "the picture block is shorter than its header";
        return std::nullopt;
    }
    const THeaderFields h = ReadHeader(head, 0);
    if (h.Size < kInfoHeaderSize || h.Size > blockSize) {
        why = "the picture header size " + std::to_string(h.Size) + " is wrong";
        return std::nullopt;
    }
    if (!CheckHeader(h, why)) return std::nullopt;
    TDibLayout l;
    l.Width = h.Width;
    l.Height = h.Height;
    l.BitCount = h.BitCount;
    l.RowBytes = DibRowBytes(h.Width, h.BitCount);
    l.PaletteOffset = h.Size;
    l.PaletteEntries = FullPaletteEntries(h.BitCount);
    l.RowsOffset = l.PaletteOffset + 4 * l.PaletteEntries;
    // Sizes are bounded by kMaxPixels, so this product cannot overflow.
    const uint64_t end = l.RowsOffset + uint64_t(l.RowBytes) * uint64_t(l.Height);
    if (end > blockSize) {
        why = "the picture block holds " + std::to_string(blockSize) + " bytes but its " +
              std::to_string(l.Width) + " x " + std::to_string(l.Height) + " pixels need " +
              std::to_string(end);
        return std::nullopt;
    }
    return l;
}

std::optional<std::vector<uint8_t>> DibFromBitmapFile(std::span<const uint8_t> file,
                                                      std::string& why) {
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') {
        why = "not a Windows bitmap file";
        return std::nullopt;
    }
    if (file.size() < kFileHeaderSize + kInfoHeaderSize) {
        why = "the bitmap file is shorter than its header";
        return std::nullopt;
    }
    const THeaderFields h = ReadHeader(file, kFileHeaderSize);
    // Older 12-byte core headers have a different layout and are not supported.
    if (h.Size < kInfoHeaderSize || h.Size > file.size() - kFileHeaderSize) {
        why = "the bitmap header size " + std::to_string(h.Size) + " is not supported";
        return std::nullopt;
    }
    if (!CheckHeader(h, why)) return std::nullopt;

    const size_t fullEntries = FullPaletteEntries(h.BitCount);
    // 0 colours used means a full palette; a 24-bit file may still carry an (unused) one.
    size_t fileEntries = h.ColorsUsed == 0 ? fullEntries : h.ColorsUsed;
    if (h.BitCount != 24 && fileEntries > fullEntries) {
        why = "the bitmap palette has " + std::to_string(h.ColorsUsed) + " colours, more than " +
              std::to_string(h.BitCount) + " bits can index";
        return std::nullopt;
    }
    const uint64_t paletteAt = kFileHeaderSize + uint64_t{h.Size};
    const uint64_t paletteEnd = paletteAt + 4 * uint64_t{fileEntries};
    const uint32_t offBits = U32(file, 10);
    const uint64_t rowsAt = offBits != 0 ? offBits : paletteEnd;
    const int32_t rowBytes = DibRowBytes(h.Width, h.BitCount);
    const uint64_t rowsSize = uint64_t(rowBytes) * uint64_t(h.Height);
    if (rowsAt < (h.BitCount == 24 ? paletteAt : paletteEnd)) {
        why = "the bitmap's pixel rows overlap its header";
        return std::nullopt;
    }
    if (h.BitCount != 24 && paletteEnd > file.size()) {
        why = "the bitmap file ends inside its palette";
        return std::nullopt;
    }
    if (rowsAt + rowsSize > file.size()) {
        why = "the bitmap file holds " + std::to_string(file.size()) + " bytes but its " +
              std::to_string(h.Width) + " x " + std::to_string(h.Height) + " pixels need " +
              std::to_string(rowsAt + rowsSize);
        return std::nullopt;
    }

    const size_t blockPalette = 4 * fullEntries;
    std::vector<uint8_t> block;
    block.reserve(kInfoHeaderSize + blockPalette + rowsSize);
    const auto at = [&file](uint64_t offset) {
        return file.begin() + static_cast<ptrdiff_t>(offset);
    };
    block.insert(block.end(), at(kFileHeaderSize), at(kFileHeaderSize + kInfoHeaderSize));
    PutU32(block, 0, kInfoHeaderSize);
    if (fileEntries != fullEntries) PutU32(block, 32, 0); // the block's palette is always full
    if (h.BitCount != 24) {
        block.insert(block.end(), at(paletteAt), at(paletteEnd));
        block.resize(kInfoHeaderSize + blockPalette, 0);
    }
    block.insert(block.end(), at(rowsAt), at(rowsAt + rowsSize));
    return block;
}

void TDibRows::Row(int32_t y, uint32_t* out) const {
    const TDibLayout& l = Layout;
    const uint8_t* palette = Block.data() + l.PaletteOffset;
    auto fromPalette = [palette](unsigned index) {
        const uint8_t* e = palette + 4 * index; // blue, green, red, reserved
        return 0xFF000000u | (uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0];
    };
    const uint8_t* row =
        Block.data() + l.RowsOffset + static_cast<size_t>(l.Height - 1 - y) * l.RowBytes;
    switch (l.BitCount) {
    case 4:
        for (int32_t x = 0; x < l.Width; ++x) {
            const uint8_t b = row[x / 2];
            out[x] = fromPalette((x % 2 == 0) ? (b >> 4) : (b & 0x0F));
        }
        break;
    case 8:
        for (int32_t x = 0; x < l.Width; ++x) out[x] = fromPalette(row[x]);
        break;
    default:
        for (int32_t x = 0; x < l.Width; ++x) {
            const uint8_t* px = row + 3 * static_cast<size_t>(x);
            out[x] = 0xFF000000u | (uint32_t{px[2]} << 16) | (uint32_t{px[1]} << 8) | px[0];
        }
    }
}

const uint8_t* TDibRows::PackedRow(int32_t y) const {
    if (Layout.BitCount != 24) return nullptr;
    return Block.data() + Layout.RowsOffset +
           static_cast<size_t>(Layout.Height - 1 - y) * static_cast<size_t>(Layout.RowBytes);
}

TPixmap DibToPixmap(std::span<const uint8_t> block, const TDibLayout& l) {
    TPixmap p;
    p.Width = l.Width;
    p.Height = l.Height;
    p.Pixels.resize(static_cast<size_t>(l.Width) * static_cast<size_t>(l.Height));
    const TDibRows rows(block, l);
    for (int32_t y = 0; y < l.Height; ++y)
        rows.Row(y, p.Pixels.data() + static_cast<size_t>(y) * l.Width);
    return p;
}
