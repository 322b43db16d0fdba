// A part of a picture stretched to a size, scaled once and kept. A view that repaints the
// same picture at the same size and scroll position then only copies pixels, however large
// the picture is; scaling costs the part's pixels, never the whole picture's.
#pragma once

#include <cstdint>

#include "imaging/PixelRows.h"
#include "platform/Pixmap.h"
#include "platform/Rect.h"

class TScaledPicture {
public:
    // The pixels of part (in pixels of the stretched picture, within 0, 0, width, height) of
    // source stretched to width x height, nearest pixel. Scaled again only when the source,
    // the size or the part differ from the last call.
    const TPixmap& Part(const TPixmap& source, int32_t width, int32_t height, const TRect& part);
    // The same from rows read on demand; identity tells one source from another (the memory
    // the rows are read from), so only the rows the part shows are ever read.
    const TPixmap& Part(const TPixelRows& source, const void* identity, int32_t width,
                        int32_t height, const TRect& part);
    // Forgets the scaled pixels (the picture changed).
    void Drop();
    // The bytes of scaled pixels kept.
    size_t KeptBytes() const { return Scaled.Pixels.size() * sizeof(uint32_t); }
    // How many times pixels were scaled, for tests.
    int Scalings() const { return ScalingCount; }

private:
    // The source is recognised by its pixel memory and size; the owner also drops the copy
    // whenever it replaces the picture.
    const void* SourcePixels = nullptr;
    int32_t SourceWidth = 0, SourceHeight = 0;
    int32_t Width = 0, Height = 0;
    TRect PartRect;
    TPixmap Scaled;
    bool Valid = false;
    int ScalingCount = 0;
};
