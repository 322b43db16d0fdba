// Zooming and sizing the page picture: zoom about a point of the picture (the pointer for
// the wheel, the centre for the zoom bar and the keys), the whole sheet or its true size on
// the screen, and a picture that grows and shrinks with the window.
#pragma once

#include <cstdint>

class TPageEditor;

// Zooms to the bar position (clamped to its range) keeping the sheet point under picture
// pixel (x, y) at that pixel, as far as the scroll range allows.
void ZoomAbout(TPageEditor& e, int position, int32_t x, int32_t y);
// The same about the picture's centre.
void ZoomAtCentre(TPageEditor& e, int position);
// Zoom 1: the whole sheet fits the picture, scrolled to its origin.
void ZoomToFitPage(TPageEditor& e);
// The bar position whose zoom shows a millimetre of the sheet as screenPixelsPerMm picture
// pixels (the sheet at its physical size), within the bar's range; the current position
// when the sheet or the screen gives no size.
int PhysicalSizeZoomPosition(const TPageEditor& e, double screenPixelsPerMm);
// Zooms about the centre to the physical size.
void ZoomToPhysicalSize(TPageEditor& e, double screenPixelsPerMm);

// The page picture took a new size (held to at least the base size): the sheet is laid out
// on it again at the same zoom, the sheet point at the picture's top-left corner staying
// there. The stored layout (Settings.BasePageRect) does not change. True when the size
// changed.
bool SetPictureSize(TPageEditor& e, int32_t width, int32_t height);
