// The picture of the page: mappings between sheet millimetres and page-picture pixels, the
// drawing of the sheet (background, shadow, sheet, printable area, page border) and of the
// whole page with its items.
#pragma once

#include <cstdint>

#include "platform/Rect.h"

class TCanvas;
class TPageEditor;

// The page picture's mapping of sheet millimetres with its scale worked out once, for
// drawing many items; MmToViewX and MmToViewY give the very same values.
struct TViewMapping {
    explicit TViewMapping(const TPageEditor& e);
    double X(double mm) const { return ScaleX * mm + Left - ScrollX; }
    double Y(double mm) const { return ScaleY * mm + Top - ScrollY; }
    // Truncated to whole pixels, far-off positions held to a safe range.
    int32_t PxX(double mm) const;
    int32_t PxY(double mm) const;

    double ScaleX, ScaleY; // pixels per mm
    double Left, Top;      // the zoomed sheet's corner
    double ScrollX, ScrollY;
};

// Picture x of a sheet x in mm (callers truncate), and the other way round (truncated).
double MmToViewX(const TPageEditor& e, double xMm);
double MmToViewY(const TPageEditor& e, double yMm);
int ViewToMmX(const TPageEditor& e, int px);
int ViewToMmY(const TPageEditor& e, int py);
// The same without truncation: the sheet position in mm under a picture pixel.
double ViewToMmXf(const TPageEditor& e, int px);
double ViewToMmYf(const TPageEditor& e, int py);
// A rectangle in mm as picture pixels, each corner truncated.
TRect MmRectToView(const TPageEditor& e, const TRect& mm);
// The same with right and bottom included (+1), as outlines want it.
TRect MmOutlineToView(const TPageEditor& e, const TRect& mm);
// The part of the sheet the picture shows, in whole mm, its right and bottom being the mm
// of the last pixel column and row.
TRect VisibleMm(const TPageEditor& e);

// The picture pixels a line of this width in printer pixels covers: its printed width in mm
// at the current zoom, rounded, and at least one pixel.
int32_t LineWidthOnView(const TPageEditor& e, int32_t printerPixels);

// Draws the sheet on the page picture at the current zoom and scroll position: the grey
// background, the sheet's shadow and the white sheet, the printable area dotted, and the
// page border when it is shown.
void PaintSheet(TCanvas& canvas, const TPageEditor& e);

// The whole page picture: the sheet, every item (see ItemDrawing.h), then the selection.
void PaintPage(TCanvas& canvas, const TPageEditor& e);
