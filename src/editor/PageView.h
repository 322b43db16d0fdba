// The picture of the page: mappings between sheet millimetres and page-picture pixels, and
// the drawing of the sheet (background, shadow, sheet, printable area, page border).
#pragma once

#include "platform/Rect.h"

class TCanvas;
class TPageEditor;

// Picture x of a sheet x in mm (callers truncate), and the other way round (truncated).
double MmToViewX(const TPageEditor& e, double xMm);
double MmToViewY(const TPageEditor& e, double yMm);
int ViewToMmX(const TPageEditor& e, int px);
int ViewToMmY(const TPageEditor& e, int py);
// A rectangle in mm as picture pixels, right and bottom included (+1), as outlines want it.
TRect MmOutlineToView(const TPageEditor& e, const TRect& mm);

// Draws the sheet on the page picture at the current zoom and scroll position: the grey
// background, the sheet's shadow and the white sheet, the printable area dotted, and the
// page border when it is shown.
void PaintSheet(TCanvas& canvas, const TPageEditor& e);

// The navigator thumbnail: the whole sheet on the navigator's picture with the part the page
// picture shows marked in blue.
TRect NavigatorViewRect(const TPageEditor& e);
void PaintNavigator(TCanvas& canvas, const TPageEditor& e);
