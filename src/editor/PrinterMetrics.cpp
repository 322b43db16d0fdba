#include "editor/PrinterMetrics.h"

#include <cmath>
#include <utility>

#include "platform/Printer.h"

namespace {

float Ratio(float mm, float px) { return px != 0 ? mm / px : 0.0f; }

} // namespace

TPrinterMetrics ComputePrinterMetrics(const TPrinterDeviceCaps& caps,
                                      TPrinterOrientation orientation) {
    TPrinterMetrics m;
    m.PhysicalWidthPx = static_cast<float>(caps.PhysicalWidth);
    m.HorzResPx = static_cast<float>(caps.HorzRes);
    m.HorzSizeMm = static_cast<float>(caps.HorzSize);
    m.OffsetXPx = static_cast<float>(caps.PhysicalOffsetX);
    m.MmPerPixelX = Ratio(m.HorzSizeMm, m.HorzResPx);
    m.LeftMarginMm = std::ceil(m.MmPerPixelX * m.OffsetXPx);
    m.RightEdgeMm = std::floor(m.MmPerPixelX * m.HorzResPx + m.LeftMarginMm);
    m.PhysicalWidthMm = m.PhysicalWidthPx * m.MmPerPixelX;

    m.PhysicalHeightPx = static_cast<float>(caps.PhysicalHeight);
    m.VertResPx = static_cast<float>(caps.VertRes);
    m.VertSizeMm = static_cast<float>(caps.VertSize);
    m.OffsetYPx = static_cast<float>(caps.PhysicalOffsetY);
    m.MmPerPixelY = Ratio(m.VertSizeMm, m.VertResPx);
    m.TopMarginMm = std::ceil(m.MmPerPixelY * m.OffsetYPx);
    m.BottomEdgeMm = std::floor(m.MmPerPixelY * m.VertResPx + m.TopMarginMm);
    m.PhysicalHeightMm = m.PhysicalHeightPx * m.MmPerPixelY;

    if (orientation == TPrinterOrientation::poLandscape && m.HorzResPx < m.VertResPx) {
        std::swap(m.PhysicalWidthPx, m.PhysicalHeightPx);
        std::swap(m.HorzResPx, m.VertResPx);
        std::swap(m.HorzSizeMm, m.VertSizeMm);
        std::swap(m.OffsetXPx, m.OffsetYPx);
        std::swap(m.MmPerPixelX, m.MmPerPixelY);
        std::swap(m.LeftMarginMm, m.TopMarginMm);
        std::swap(m.RightEdgeMm, m.BottomEdgeMm);
        std::swap(m.PhysicalWidthMm, m.PhysicalHeightMm);
    }
    return m;
}

bool ReadDefaultPrinter(TPrinter& printer, TPrinterMetrics& metrics) {
    TPrinterEntry entry;
    if (!printer.DefaultEntry(entry)) return false;
    if (entry.Device.empty() || entry.Driver.empty() || entry.Port.empty()) return false;
    metrics = ComputePrinterMetrics(printer.DeviceCaps(), printer.Orientation());
    return true;
}

double LineWidthMm(const TPrinterMetrics& m, int32_t printerPixels) {
    double mmPerPixel = 25.4 / 600;
    if (m.MmPerPixelX > 0 && m.MmPerPixelY > 0) {
        mmPerPixel = (static_cast<double>(m.MmPerPixelX) + m.MmPerPixelY) / 2;
    } else if (m.MmPerPixelX > 0) {
        mmPerPixel = m.MmPerPixelX;
    }
    return printerPixels * mmPerPixel;
}
