// The height that keeps a picture's proportions at a given width.
#pragma once

#include <cstdint>
#include <optional>

// width * pictureHeight / pictureWidth, truncated toward zero (a 200 x 100 picture is 40 high
// at width 80 and at 81). Nothing when the picture has no size or the height leaves int32.
inline std::optional<int32_t> ProportionalHeight(int32_t width, int32_t pictureWidth,
                                                 int32_t pictureHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0) return std::nullopt;
    const int64_t height = int64_t{width} * pictureHeight / pictureWidth;
    if (height < INT32_MIN || height > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(height);
}
