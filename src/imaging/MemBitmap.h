// The picture of an image item: a packed device-independent bitmap block (header, palette,
// rows) and the device-ready pixels made from it once per load.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Pixmap.h"

class TMemBitmap {
public:
    TMemBitmap() = default;

    std::vector<uint8_t> DibBlock; // empty when there is no block
    TPixmap DeviceBitmap;          // empty when there is no picture to draw
    int32_t RowBytes = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t BitCount = 24;
    bool IsJpeg = false;
    int32_t JpegQuality = 64;
    bool HasImage = true;
};
