#include "editor/TextMeasure.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "document/Caption.h"
#include "document/TextItem.h"
#include "editor/DeviceUnits.h"
#include "platform/Printer.h"
#include "platform/TextLines.h"

namespace {

constexpr double kNominalMmPerPixel = 25.4 / 600;
// Whole mm covering a length in device pixels.
int32_t PixelsToWholeMm(int32_t pixels, float mmPerPixel) {
    return TruncClamped(std::ceil(static_cast<double>(pixels) * mmPerPixel));
}

bool CanMeasure(const TPrinterMetrics& m) { return m.MmPerPixelX > 0 && m.MmPerPixelY > 0; }

// The extent estimated from the font height in mm, for a machine without a printer.
TSize EstimateMm(std::string_view text, int32_t fontHeightMm) {
    const int64_t height = std::max<int64_t>(1, std::llabs(fontHeightMm));
    int64_t widest = 0;
    const auto lines = SplitTextLines(text);
    for (auto line : lines) widest = std::max<int64_t>(widest, static_cast<int64_t>(line.size()));
    const double width = std::max<double>(1.0, std::ceil(widest * height / 2.0));
    return TSize{TruncClamped(width), TruncClamped(static_cast<double>(height) * lines.size())};
}

void SetExtent(TRect& rect, TSize mm) {
    rect.Right = TruncClamped(static_cast<double>(rect.Left) + mm.cx);
    rect.Bottom = TruncClamped(static_cast<double>(rect.Top) + mm.cy);
}

} // namespace

void MeasureCaption(TNyomtatoSzoveg& caption, TPrinter& printer, const TPrinterMetrics& metrics) {
    std::unique_ptr<TCanvas> canvas = CanMeasure(metrics) ? printer.CreateMeasureCanvas() : nullptr;
    if (!canvas) {
        // Only the first line counts for a caption.
        SetExtent(caption.Rect,
                  EstimateMm(SplitTextLines(caption.Text).front(), caption.FontHeightMm));
        return;
    }
    canvas->Font = caption.Font;
    const TSize px = canvas->TextExtent(caption.Text);
    SetExtent(caption.Rect, TSize{PixelsToWholeMm(px.cx, metrics.MmPerPixelX),
                                  PixelsToWholeMm(px.cy, metrics.MmPerPixelY)});
}

void MeasureText(TNyomtatoSorok& text, TPrinter& printer, const TPrinterMetrics& metrics) {
    std::unique_ptr<TCanvas> canvas = CanMeasure(metrics) ? printer.CreateMeasureCanvas() : nullptr;
    if (!canvas) {
        SetExtent(text.Rect, EstimateMm(text.Text, text.FontHeightMm));
        return;
    }
    canvas->Font = text.Font;
    TRect r{};
    canvas->DrawText(text.Text, r, DT_CALCRECT);
    SetExtent(text.Rect, TSize{PixelsToWholeMm(r.Right - r.Left, metrics.MmPerPixelX),
                               PixelsToWholeMm(r.Bottom - r.Top, metrics.MmPerPixelY)});
}

int32_t FontHeightMmToPrinter(int32_t heightMm, const TPrinterMetrics& metrics) {
    const double mmPerPixel =
        metrics.MmPerPixelY > 0 ? static_cast<double>(metrics.MmPerPixelY) : kNominalMmPerPixel;
    return TruncClamped(heightMm / mmPerPixel);
}
