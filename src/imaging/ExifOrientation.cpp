#include "imaging/ExifOrientation.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "codec/BitmapImage.h"

namespace {

// Value of the orientation tag (0x0112) in IFD0 of a TIFF structure, 0 when not found.
int OrientationInTiff(std::span<const uint8_t> t) {
    if (t.size() < 8) return 0;
    const bool little = t[0] == 'I' && t[1] == 'I';
    if (!little && !(t[0] == 'M' && t[1] == 'M')) return 0;
    const auto u16 = [&](size_t at) -> uint32_t {
        return little ? uint32_t(t[at] | t[at + 1] << 8) : uint32_t(t[at] << 8 | t[at + 1]);
    };
    const auto u32 = [&](size_t at) -> uint32_t {
        return little ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    };
    if (u16(2) != 42) return 0;
    const uint64_t ifd = u32(4);
    if (ifd + 2 > t.size()) return 0;
    const uint32_t entries = u16(size_t(ifd));
    for (uint32_t i = 0; i < entries; ++i) {
        const uint64_t e = ifd + 2 + 12 * uint64_t{i};
        if (e + 12 > t.size()) return 0;
        const size_t at = size_t(e);
        // Tag, type 3 (SHORT), count 1: the value sits in the entry's first two value bytes.
        if (u16(at) == 0x0112 && u16(at + 2) == 3 && u32(at + 4) == 1) return int(u16(at + 8));
    }
    return 0;
}

} // namespace

int ExifOrientation(std::span<const uint8_t> d) {
    if (d.size() < 4 || d[0] != 0xFF || d[1] != 0xD8) return 1;
    size_t at = 2;
    // Segments up to the frame or the first scan; Exif always comes before them.
    while (at + 4 <= d.size() && d[at] == 0xFF) {
        const uint8_t marker = d[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == 0xDA ||
            (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xCC))
            break;
        const size_t length = size_t(d[at + 2]) << 8 | d[at + 3];
        if (length < 2 || at + 2 + length > d.size()) break;
        const auto body = d.subspan(at + 4, length - 2);
        if (marker == 0xE1 && body.size() >= 6 && std::memcmp(body.data(), "Exif\0\0", 6) == 0) {
            const int v = OrientationInTiff(body.subspan(6));
            return v >= 1 && v <= 8 ? v : 1;
        }
        at += 2 + length;
    }
    return 1;
}

void WriteOriented(const BitmapImage& picture, int orientation, uint8_t* rows, size_t rowWidth) {
    const uint32_t bytes = picture.BitCount() / 8; // 1 or 3
    const uint32_t w = picture.Width(), h = picture.Height();
    const bool swap = orientation >= 5;
    const uint32_t ow = swap ? h : w, oh = swap ? w : h;
    if (ow == 0 || oh == 0) return;
    if (orientation < 1 || orientation > 8) orientation = 1;

    // The stored pixel shown at x, y, as an address: stored rows are bottom-up (row r, 0 = top,
    // is stored row h - 1 - r), and every orientation maps x and y to the stored column and
    // row linearly, so the address is origin + x * stepX + y * stepY.
    const auto stored = [&](uint32_t x, uint32_t y) -> ptrdiff_t {
        uint32_t sx = x, sy = y;
        switch (orientation) {
        case 2: sx = w - 1 - x; break;
        case 3: sx = w - 1 - x, sy = h - 1 - y; break;
        case 4: sy = h - 1 - y; break;
        case 5: sx = y, sy = x; break;
        case 6: sx = y, sy = h - 1 - x; break;
        case 7: sx = w - 1 - y, sy = h - 1 - x; break;
        case 8: sx = w - 1 - y, sy = x; break;
        }
        return ptrdiff_t(h - 1 - sy) * ptrdiff_t(picture.RowWidth()) + ptrdiff_t(sx) * bytes;
    };
    const ptrdiff_t origin = stored(0, 0);
    const ptrdiff_t stepX = ow > 1 ? stored(1, 0) - origin : 0;
    const ptrdiff_t stepY = oh > 1 ? stored(0, 1) - origin : 0;
    const uint8_t* from = picture.ImageData();

    // Turned pictures read the source down its columns; done in square tiles, the source rows
    // a tile touches stay in the cache while the tile's output rows are written, where a whole
    // output row would touch a new cache line of the source for every pixel.
    constexpr uint32_t kTile = 32;
    for (uint32_t ty = 0; ty < oh; ty += kTile) {
        const uint32_t yEnd = std::min(oh, ty + kTile);
        for (uint32_t tx = 0; tx < ow; tx += kTile) {
            const uint32_t xEnd = std::min(ow, tx + kTile);
            for (uint32_t y = ty; y < yEnd; ++y) {
                uint8_t* to = rows + size_t(oh - 1 - y) * rowWidth + size_t(tx) * bytes;
                const uint8_t* p = from + origin + ptrdiff_t(y) * stepY + ptrdiff_t(tx) * stepX;
                if (bytes == 3) {
                    for (uint32_t x = tx; x < xEnd; ++x, to += 3, p += stepX) {
                        to[0] = p[0];
                        to[1] = p[1];
                        to[2] = p[2];
                    }
                } else {
                    for (uint32_t x = tx; x < xEnd; ++x, ++to, p += stepX) *to = *p;
                }
            }
        }
    }
}

BitmapImage Oriented(const BitmapImage& picture, int orientation) {
    if (orientation <= 1 || orientation > 8) return picture;
    const bool swap = orientation >= 5;
    BitmapImage out;
    out.SetSize(picture.ColorCount(), picture.BitCount(), swap ? picture.Height() : picture.Width(),
                swap ? picture.Width() : picture.Height());
    for (uint32_t i = 0; i < picture.ColorCount(); ++i)
        std::memcpy(out.ColorMapEntry(i), picture.ColorMapEntry(i), 3);
    WriteOriented(picture, orientation, out.ImageData(), out.RowWidth());
    return out;
}

bool OrientInPlace(BitmapImage& picture, int orientation) {
    if (orientation < 1 || orientation > 4) return false;
    const uint32_t w = picture.Width(), h = picture.Height();
    if (w == 0 || h == 0 || picture.ImageData() == nullptr) return true;
    const size_t bytes = picture.BitCount() / 8; // 1 or 3
    const size_t rowWidth = picture.RowWidth();
    uint8_t* rows = picture.ImageData();
    if (orientation == 2 || orientation == 3) {
        for (uint32_t y = 0; y < h; ++y) {
            uint8_t* left = rows + size_t(y) * rowWidth;
            uint8_t* right = left + (size_t(w) - 1) * bytes;
            for (; left < right; left += bytes, right -= bytes)
                std::swap_ranges(left, left + bytes, right);
        }
    }
    if (orientation == 3 || orientation == 4) {
        for (uint32_t y = 0; y < h / 2; ++y)
            std::swap_ranges(rows + size_t(y) * rowWidth, rows + size_t(y + 1) * rowWidth,
                             rows + size_t(h - 1 - y) * rowWidth);
    }
    return true;
}
