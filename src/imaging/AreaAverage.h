// Shrinking a picture by area averaging: each target pixel is the mean of the source pixels
// its area covers, so fine detail blends instead of being dropped or aliased as picking the
// nearest pixel would.
#pragma once

#include <cstdint>

#include "imaging/PixelRows.h"
#include "platform/Pixmap.h"

// The source shrunk to width x height (each at most the source's and at least 1). Every source
// row is read once, so the cost is the source's pixels whatever the target size. A big source
// is shrunk by two threads, which call source.Row at once: it must be safe for that.
TPixmap AreaAverage(const TPixelRows& source, int32_t width, int32_t height);
