// The default printer's sheet geometry, from its device capabilities: sizes and offsets in
// device pixels, millimetres per pixel, the printable area in mm and the sheet size in mm.
// Everything the editor lays out is measured in mm on this sheet.
#pragma once

#include <cstdint>

class TPrinter;
struct TPrinterDeviceCaps;
enum class TPrinterOrientation;

struct TPrinterMetrics {
    float PhysicalWidthPx = 0;
    float HorzResPx = 0;
    float HorzSizeMm = 0;
    float OffsetXPx = 0;
    float MmPerPixelX = 0;
    float LeftMarginMm = 0;
    float RightEdgeMm = 0;
    float PhysicalWidthMm = 0;
    float PhysicalHeightPx = 0;
    float VertResPx = 0;
    float VertSizeMm = 0;
    float OffsetYPx = 0;
    float MmPerPixelY = 0;
    float TopMarginMm = 0;
    float BottomEdgeMm = 0;
    float PhysicalHeightMm = 0;

    friend bool operator==(const TPrinterMetrics&, const TPrinterMetrics&) = default;
};

// The metrics of a device with these capabilities. A landscape device that reports a
// portrait geometry (HorzRes < VertRes) has its horizontal and vertical halves exchanged.
// A zero resolution gives zero millimetres per pixel rather than a division by zero.
TPrinterMetrics ComputePrinterMetrics(const TPrinterDeviceCaps& caps,
                                      TPrinterOrientation orientation);

// Fills metrics from the default printer; false (metrics unchanged) when there is none.
bool ReadDefaultPrinter(TPrinter& printer, TPrinterMetrics& metrics);

// The millimetres a line of this width in printer pixels prints (the printer's pixel size,
// or that of a 600 dpi printer when there is none).
double LineWidthMm(const TPrinterMetrics& metrics, int32_t printerPixels);
