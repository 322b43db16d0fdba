// Reading the picture formats the program has no codec of its own for (PNG, GIF, TIFF, WebP).
// The Qt side implements it with Qt's image reader; the picture import calls it for anything
// that is neither a Windows bitmap nor a JPEG stream.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// A read picture as the rows of a 24-bit packed bitmap: bottom row first, blue, green, red,
// each row padded to a multiple of 4 bytes. Transparency has been composited on white.
struct TReadPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Rows;
    std::string Format;        // the format's name, such as "PNG"
    int32_t DotsPerMeterX = 0; // the resolution the file gives; 0 when it gives none
    int32_t DotsPerMeterY = 0;
};

class TPictureReader {
public:
    virtual ~TPictureReader() = default;
    // The picture in data, or nothing with the reason in why. A picture whose header claims
    // more than maxPixels pixels is refused before its pixels are allocated.
    virtual std::optional<TReadPicture> Read(std::span<const uint8_t> data, uint64_t maxPixels,
                                             std::string& why) = 0;
};
