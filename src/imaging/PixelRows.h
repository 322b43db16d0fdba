// A picture read one row of device pixels at a time, so scaling can work from a packed block
// without first converting the whole picture to device pixels.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/Pixmap.h"

class TPixelRows {
public:
    virtual ~TPixelRows() = default;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    // Row y (0 = top) as Width() pixels 0xFFRRGGBB.
    virtual void Row(int32_t y, uint32_t* out) const = 0;
    // Row y as it is stored when the rows are packed blue, green, red bytes, else nothing: a
    // scaler can then read them without converting them first.
    virtual const uint8_t* PackedRow(int32_t) const { return nullptr; }
};

// The rows of a device pixmap.
class TPixmapRows : public TPixelRows {
public:
    explicit TPixmapRows(const TPixmap& pixmap) : Pixmap(pixmap) {}
    int32_t Width() const override { return Pixmap.Width; }
    int32_t Height() const override { return Pixmap.Height; }
    void Row(int32_t y, uint32_t* out) const override {
        std::memcpy(out, Pixmap.Pixels.data() + static_cast<size_t>(y) * Pixmap.Width,
                    sizeof(uint32_t) * static_cast<size_t>(Pixmap.Width));
    }

private:
    const TPixmap& Pixmap;
};
