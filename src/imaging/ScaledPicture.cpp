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
    if (Valid && SourcePixels == source.Pixels.data() && SourceWidth == source.Width &&
        SourceHeight == source.Height && Width == width && Height == height && PartRect == part) {
        return Scaled;
    }
    Scaled = TPixmap{};
    SourcePixels = source.Pixels.data();
    SourceWidth = source.Width;
    SourceHeight = source.Height;
    Width = width;
    Height = height;
    PartRect = part;
    Valid = true;
    ++ScalingCount;

    const bool whole = !source.Empty() &&
                       source.Pixels.size() >= static_cast<size_t>(source.Width) * source.Height;
    if (!whole || width <= 0 || height <= 0 || part.Left < 0 || part.Top < 0 ||
        part.Right > width || part.Bottom > height || IsRectEmpty(part)) {
        return Scaled;
    }
    Scaled.Width = part.Width();
    Scaled.Height = part.Height();
    Scaled.Pixels.resize(static_cast<size_t>(Scaled.Width) * Scaled.Height);
    std::vector<int32_t> columns(static_cast<size_t>(Scaled.Width));
    for (int32_t x = 0; x < Scaled.Width; ++x) {
        columns[static_cast<size_t>(x)] = SourceIndex(part.Left + x, source.Width, width);
    }
    uint32_t* out = Scaled.Pixels.data();
    for (int32_t y = 0; y < Scaled.Height; ++y) {
        const uint32_t* row =
            source.Pixels.data() +
            static_cast<size_t>(SourceIndex(part.Top + y, source.Height, height)) * source.Width;
        for (int32_t sx : columns) *out++ = row[sx];
    }
    return Scaled;
}
