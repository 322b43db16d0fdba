// A device-ready picture: 32-bit pixels, top row first, each 0xFFRRGGBB in native byte order.
// Pictures are converted to this form once when loaded, so drawing never converts pixels again
// (the Qt canvas wraps the pixel memory directly).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct TPixmap {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Pixels; // Width * Height, row-major, top-down
    // The pixels came out of a lossy coding (a JPEG photo): an output that compresses pictures
    // (a PDF) may store them lossy again, which is far smaller and quicker to write.
    bool MayStoreLossy = false;

    bool Empty() const { return Width <= 0 || Height <= 0; }
    uint32_t At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};
