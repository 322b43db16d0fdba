// Moving the page picture: the scroll bars' large steps, the outline drawing while a scroll
// thumb is dragged, and the mouse wheel (scrolling, and zooming with Ctrl).
#pragma once

#include <cstdint>
#include <optional>

#include "platform/Rect.h"

#include "editor/EditorMode.h"

class TPageEditor;

// Wheel turns in eighths of a degree, as wheels report them: one notch is 120.
inline constexpr int32_t kWheelNotch = 120;
// Picture pixels the page scrolls per notch (about a sixth of the picture).
inline constexpr int32_t kWheelScrollPixels = 48;

// The large step of a scroll bar with this maximum: a tenth of it, at least one pixel.
int32_t ScrollLargeChange(int32_t maximum);

// A scroll thumb is being dragged (any of the three bars): the view draws outlines until the
// thumb is released. The release brings back the tool that was active before, and asks for a
// full repaint.
void BeginScrollTrack(TPageEditor& e);
void EndScrollTrack(TPageEditor& e);

// Enters a passing mode (scroll-thumb or navigator drag) over the current one, and leaves it
// again. The current mode comes back afterwards, so a tool survives scrolling; a hover over an
// edge does not (the pointer has left the picture).
void InterruptMode(TPageEditor& e, TEditorMode mode);
void ResumeMode(TPageEditor& e, TEditorMode mode);

// The wheel over the page picture, while the editor is idle or the pointer rests on an edge or
// a corner handle (which it then leaves, once the view moved): scrolls vertically (a
// sideways wheel horizontally), with Shift horizontally; with Ctrl moves the zoom bar one
// step per notch (forward zooms in) about the pointer's picture pixel, or the picture's
// centre when no pointer is given. Asks for a repaint when the view changed.
void WheelOnPage(TPageEditor& e, int32_t deltaX, int32_t deltaY, bool shift, bool ctrl,
                 std::optional<TPoint> pointer = std::nullopt);
