#include "imaging/ScaledPicture.h"

#include <cstddef>
#include <vector>

namespace {

// The source pixel under the centre of target pixel t of a stretch from n to size pixels.
int32_t SourceIndex(int64_t t, int64_t n, int64_t size) {
    return static_cast<int32_t>((2 * t + 1) * n / (2 * size));
}

} // namespace

void TScaledPicture::Drop() {
    Valid = false;
    Scaled = TPixmap{};
}

const TPixmap& TScaledPicture::Part(const TPixmap& source, int32_t width, int32_t height,
                                    const TRect& part) {
    const bool whole = !source.Empty() &&
                       source.Pixels.size() >= static_cast<size_t>(source.Width) * source.Height;
    const TPixmap empty;
    const TPixmapRows rows(whole ? source : empty);
    return Part(rows, source.Pixels.data(), width, height, part);
}

const TPixmap& TScaledPicture::Part(const TPixelRows& source, const void* identity, int32_t width,
                                    int32_t height, const TRect& part) {
    const int32_t sw = source.Width(), sh = source.Height();
    if (Valid && SourcePixels == identity && SourceWidth == sw && SourceHeight == sh &&
        Width == width && Height == height && PartRect == part) {
        return Scaled;
    }
    Scaled = TPixmap{};
    SourcePixels = identity;
    SourceWidth = sw;
    SourceHeight = sh;
    Width = width;
    Height = height;
    PartRect = part;
    Valid = true;
    ++ScalingCount;

    if (sw <= 0 || sh <= 0 || width <= 0 || height <= 0 || part.Left < 0 || part.Top < 0 ||
        part.Right > width || part.Bottom > height || IsRectEmpty(part)) {
        return Scaled;
    }
    Scaled.Width = part.Width();
    Scaled.Height = part.Height();
    Scaled.Pixels.resize(static_cast<size_t>(Scaled.Width) * Scaled.Height);
    std::vector<int32_t> columns(static_cast<size_t>(Scaled.Width));
    for (int32_t x = 0; x < Scaled.Width; ++x) {
        columns[static_cast<size_t>(x)] = SourceIndex(part.Left + x, sw, width);
    }
    std::vector<uint32_t> row(static_cast<size_t>(sw));
    int32_t rowRead = -1;
    uint32_t* out = Scaled.Pixels.data();
    for (int32_t y = 0; y < Scaled.Height; ++y) {
        const int32_t sy = SourceIndex(part.Top + y, sh, height);
        if (sy != rowRead) {
            source.Row(sy, row.data());
            rowRead = sy;
        }
        for (int32_t sx : columns) *out++ = row[static_cast<size_t>(sx)];
    }
    return Scaled;
}
