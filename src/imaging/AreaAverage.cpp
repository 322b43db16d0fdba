#include "imaging/AreaAverage.h"

#include <algorithm>
#include <vector>

TPixmap AreaAverage(const TPixelRows& source, int32_t width, int32_t height) {
    const int32_t sw = source.Width(), sh = source.Height();
    TPixmap out;
    if (sw <= 0 || sh <= 0 || width <= 0 || height <= 0) return out;
    width = std::min(width, sw);
    height = std::min(height, sh);
    out.Width = width;
    out.Height = height;
    out.Pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));

    // Source column x falls in target column columnOf[x]; target column t spans
    // [t * sw / width, (t + 1) * sw / width), at least one source column as width <= sw.
    std::vector<int32_t> columnOf(static_cast<size_t>(sw));
    std::vector<uint32_t> columnCount(static_cast<size_t>(width), 0);
    for (int32_t t = 0; t < width; ++t) {
        const int32_t from = static_cast<int32_t>(int64_t{t} * sw / width);
        const int32_t to = static_cast<int32_t>(int64_t{t + 1} * sw / width);
        for (int32_t x = from; x < to; ++x) columnOf[static_cast<size_t>(x)] = t;
        columnCount[static_cast<size_t>(t)] = static_cast<uint32_t>(to - from);
    }
    std::vector<uint32_t> row(static_cast<size_t>(sw));
    // Sums of red, green and blue per target column; a box holds at most 65535 x 65535
    // pixels of 255, which fits 64 bits.
    std::vector<uint64_t> sums(3 * static_cast<size_t>(width));
    for (int32_t t = 0; t < height; ++t) {
        const int32_t from = static_cast<int32_t>(int64_t{t} * sh / height);
        const int32_t to = static_cast<int32_t>(int64_t{t + 1} * sh / height);
        std::fill(sums.begin(), sums.end(), 0);
        for (int32_t y = from; y < to; ++y) {
            source.Row(y, row.data());
            for (int32_t x = 0; x < sw; ++x) {
                const uint32_t p = row[static_cast<size_t>(x)];
                uint64_t* s = &sums[3 * static_cast<size_t>(columnOf[static_cast<size_t>(x)])];
                s[0] += (p >> 16) & 0xFF;
                s[1] += (p >> 8) & 0xFF;
                s[2] += p & 0xFF;
            }
        }
        const uint64_t rows = static_cast<uint64_t>(to - from);
        uint32_t* target = out.Pixels.data() + static_cast<size_t>(t) * width;
        for (int32_t c = 0; c < width; ++c) {
            const uint64_t n = rows * columnCount[static_cast<size_t>(c)];
            const uint64_t* s = &sums[3 * static_cast<size_t>(c)];
            // Rounded to the nearest value.
            const auto mean = [n](uint64_t v) { return static_cast<uint32_t>((v + n / 2) / n); };
            target[c] = 0xFF000000u | mean(s[0]) << 16 | mean(s[1]) << 8 | mean(s[2]);
        }
    }
    return out;
}
