// The height that keeps a picture's proportions at a given width.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/Rect.h"

// width * pictureHeight / pictureWidth, truncated toward zero (a 200 x 100 picture is 40 high
// at width 80 and at 81). Nothing when the picture has no size or the height leaves int32.
inline std::optional<int32_t> ProportionalHeight(int32_t width, int32_t pictureWidth,
                                                 int32_t pictureHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0) return std::nullopt;
    const int64_t height = int64_t{width} * pictureHeight / pictureWidth;
    if (height < INT32_MIN || height > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(height);
}

// Where a picture goes in a box of boxWidth x boxHeight: as large as fits with its
// proportions, centred (at least one pixel each way). The whole box without a picture size.
inline TRect FitPreview(int32_t pictureWidth, int32_t pictureHeight, int32_t boxWidth,
                        int32_t boxHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0) return TRect{0, 0, boxWidth, boxHeight};
    int64_t w = boxWidth, h = int64_t{boxWidth} * pictureHeight / pictureWidth;
    if (h > boxHeight) {
        h = boxHeight;
        w = int64_t{boxHeight} * pictureWidth / pictureHeight;
    }
    w = std::max<int64_t>(w, 1);
    h = std::max<int64_t>(h, 1);
    const auto left = static_cast<int32_t>((boxWidth - w) / 2);
    const auto top = static_cast<int32_t>((boxHeight - h) / 2);
    return TRect{left, top, left + static_cast<int32_t>(w), top + static_cast<int32_t>(h)};
}
