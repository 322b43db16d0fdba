// The mouse on the page picture: presses pick the topmost item and start dragging it (or act
// in a tool mode), moves drag, resize and show the pointer in mm, releases end the drag.
// Driven by plain pointer events in page-picture pixels, so tests run it without a window.
#pragma once

#include <cstdint>

#include "platform/MouseButton.h"

class TPageEditor;
struct TCoreServices;

void MouseDown(TPageEditor& e, TCoreServices& s, TMouseButton button, int32_t x, int32_t y);
void MouseMove(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y);
void MouseUp(TPageEditor& e, TCoreServices& s, TMouseButton button, int32_t x, int32_t y);
