// The navigator: a thumbnail of the whole sheet with the part the page picture shows marked
// in blue. Dragging the mark scrolls the page picture.
#pragma once

#include <cstdint>

#include "platform/MouseButton.h"
#include "platform/Rect.h"

class TCanvas;
class TPageEditor;
class TScreen;

// The part the page picture shows, in navigator pixels: the float mm of the picture's corner
// pixels mapped onto the navigator's sheet.
TRect NavigatorViewRect(const TPageEditor& e);
// Sheet mm of a navigator pixel, truncated.
int32_t NavigatorToMmX(const TPageEditor& e, int32_t x);
int32_t NavigatorToMmY(const TPageEditor& e, int32_t y);

// The thumbnail: silver background, the sheet's shadow and the white sheet, the mark.
void PaintNavigator(TCanvas& canvas, const TPageEditor& e);

// The mouse on the navigator's picture, in its pixels. A left press inside the mark starts a
// drag (the drag cursor shows); each move scrolls the page picture by the mm the pointer
// moved on the sheet; the release ends the drag and brings back the mode the drag
// interrupted. Scrolling asks for a repaint.
void NavigatorMouseDown(TPageEditor& e, TScreen& screen, TMouseButton button, int32_t x, int32_t y);
void NavigatorMouseMove(TPageEditor& e, int32_t x, int32_t y);
void NavigatorMouseUp(TPageEditor& e, TScreen& screen);
