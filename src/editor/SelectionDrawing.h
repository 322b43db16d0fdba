// What the page picture shows over the items and never prints: the selected items' outlines
// with their corner handles, the members of a selected frame, and the rubber band.
#pragma once

#include <array>

#include "platform/Rect.h"

class TCanvas;
class TPageEditor;

// Handles are squares of this many pixels centred on the corners of the outline.
inline constexpr int kHandleSize = 5;
// The four corners of an item's picture rectangle where its handles sit: top-left,
// top-right, bottom-right, bottom-left.
std::array<TPoint, 4> HandleCorners(const TRect& view);

void PaintSelection(TCanvas& canvas, const TPageEditor& e);
