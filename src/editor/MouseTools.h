// The mouse on the page picture: presses pick the topmost item and start dragging it (or act
// in a tool mode), moves drag, resize and show the pointer in mm, releases end the drag.
// Driven by plain pointer events in page-picture pixels, so tests run it without a window.
#pragma once

#include <cstdint>

#include "platform/MouseButton.h"

class TPageEditor;
struct TCoreServices;

// shift holds the TShiftState bits of the modifier keys: Shift adds an item to the selection
// or takes it out, and keeps an image's proportions while it is spanned or resized by a corner.
void MouseDown(TPageEditor& e, TCoreServices& s, TMouseButton button, int32_t x, int32_t y,
               unsigned shift = 0);
void MouseMove(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y, unsigned shift = 0);
void MouseUp(TPageEditor& e, TCoreServices& s, TMouseButton button, int32_t x, int32_t y,
             unsigned shift = 0);
// A double click in the idle mode opens the Modify dialog of the item under the pointer.
void MouseDoubleClick(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y);
// The pointer left the page picture (a paste then goes beside the originals).
void MouseLeave(TPageEditor& e);
