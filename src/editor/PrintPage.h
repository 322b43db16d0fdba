// Printing the document: millimetres on the sheet mapped to printer device pixels, and the
// whole page drawn as one print job on the printer's canvas.
#pragma once

#include <cstdint>
#include <string>

#include "editor/PrinterMetrics.h"
#include "platform/Outcome.h"

class TPrinter;
struct TPageItems;
struct TPageSettings;

// Printer device pixels of a sheet position in mm, counted from the printable area's corner
// (the physical offset is subtracted), truncated toward zero. Without a geometry (zero
// millimetres per pixel) the result is 0; far-off positions are held to +-2^28 pixels.
int32_t MmToPrinterX(const TPrinterMetrics& metrics, double xMm);
int32_t MmToPrinterY(const TPrinterMetrics& metrics, double yMm);

// Prints the document as one page, bottom to top: page border, frames (with shadows and
// titles), rectangles, polygons, images, captions, texts, lines. Throws EPrinter when the
// printer cannot print (no geometry, the job does not start or finish) and EPrintCancelled
// when the user called the job off; a job that fails half-way is aborted.
void PrintPage(TPrinter& printer, const TPageItems& items, const TPageSettings& settings,
               const TPrinterMetrics& metrics);

// "&Print" for the editor window: prints the page and turns every failure into the message
// for the user; a job the user cancelled is no failure.
TOutcome PrintDocument(TPrinter& printer, const TPageItems& items, const TPageSettings& settings,
                       const TPrinterMetrics& metrics);

// Caption of the message box that shows PrintDocument's message.
inline constexpr char kPrintCaption[] = "Print";
