// The photo-like test picture of the JPEG benchmarks: smooth gradients and soft shapes, edges,
// fine texture and a little sensor-like noise, so the entropy-coded data has the density of a
// camera picture.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

// width x height pixels, red, green, blue, top row first.
inline std::vector<uint8_t> MakePhotoPicture(int width, int height) {
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    uint32_t noise = 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double fx = double(x) / width, fy = double(y) / height;
            const double d1 = (fx - 0.3) * (fx - 0.3) + (fy - 0.4) * (fy - 0.4);
            const double d2 = (fx - 0.75) * (fx - 0.75) + (fy - 0.7) * (fy - 0.7);
            const double shapes = 90 * std::exp(-d1 * 20) - 60 * std::exp(-d2 * 35);
            const bool edge = ((x / 97) + (y / 61)) % 7 == 0;
            const double texture =
                14 * std::sin(x * 0.31 + std::sin(y * 0.05) * 4) * std::cos(y * 0.23 + fx * 9);
            noise = noise * 1664525u + 1013904223u;
            const double n = (double(noise >> 24) - 127.5) / 16.0;
            const double base[3] = {60 + 120 * fx + shapes, 50 + 110 * fy + 0.6 * shapes,
                                    160 - 100 * fx * fy + 0.3 * shapes};
            for (int c = 0; c < 3; ++c) {
                double v = base[c] + texture + n + (edge ? 45 - 30 * c : 0);
                rgb[(size_t(y) * width + x) * 3 + c] = uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
            }
        }
    }
    return rgb;
}
