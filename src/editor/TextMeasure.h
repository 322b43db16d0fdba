// The size of captions and texts on paper: the text measured with the item's font as the
// printer would draw it, converted to mm and rounded up to whole millimetres.
#pragma once

#include <cstdint>

#include "editor/PrinterMetrics.h"

class TPrinter;
class TNyomtatoSzoveg;
class TNyomtatoSorok;

// Right/Bottom = Left/Top + the measured width/height of the caption's one line.
void MeasureCaption(TNyomtatoSzoveg& caption, TPrinter& printer, const TPrinterMetrics& metrics);
// Right/Bottom = Left/Top + the width of the longest line and the height of all lines.
//
// Without a printer (no measuring canvas, or no geometry) both estimate the size from the
// font height in mm: one line is |FontHeightMm| high and each character half as wide, at
// least 1 mm each way, so the item stays visible and can be picked with the mouse.
void MeasureText(TNyomtatoSorok& text, TPrinter& printer, const TPrinterMetrics& metrics);

// A font height in mm as printer device pixels (trunc(mm / MmPerPixelY)). Without a geometry
// the height is taken at a nominal 600 dpi, so fonts keep a usable size.
int32_t FontHeightMmToPrinter(int32_t heightMm, const TPrinterMetrics& metrics);
