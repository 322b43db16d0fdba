// Which item a Delete or Modify press acts on: the compass mark's outline, lines by their
// widened outline on the page picture, boxes by their rectangle and polygons by their area in
// mm, searched in the order each tool uses.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "document/ItemKind.h"
#include "platform/Rect.h"

class TPageEditor;

// The compass mark's outline in page-picture pixels: 4 points for the simple mark, 8 for the
// star. Empty when the page has no compass.
std::vector<TPoint> CompassOutline(const TPageEditor& e);
// True when the compass is shown and (x, y) lies inside its outline.
bool CompassHit(const TPageEditor& e, int32_t x, int32_t y);

// The item a Delete press at picture pixel (x, y) removes (the compass not included): lines
// last to first, then texts, captions and images last to first, polygons first to last,
// rectangles and frames last to first.
std::optional<TKKItem> FindDeleteTarget(const TPageEditor& e, int32_t x, int32_t y);
// The item a Modify press at (x, y) changes: lines, texts, captions, images, polygons,
// rectangles, frames, each list last to first.
std::optional<TKKItem> FindModifyTarget(const TPageEditor& e, int32_t x, int32_t y);
