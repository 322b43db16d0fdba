#include "editor/PrintPage.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <vector>

#include "document/ItemLists.h"
#include "document/PageSettings.h"
#include "editor/DeviceUnits.h"
#include "editor/FrameDecoration.h"
#include "editor/TextMeasure.h"
#include "platform/Printer.h"

namespace {

int32_t MmToPrinter(double mm, float mmPerPixel, float offsetPx) {
    if (!(mmPerPixel > 0)) return 0;
    return TruncClamped(mm / mmPerPixel - offsetPx);
}

TRect MapRect(const TPrinterMetrics& m, const TRect& r) {
    return TRect{MmToPrinterX(m, r.Left), MmToPrinterY(m, r.Top), MmToPrinterX(m, r.Right),
                 MmToPrinterY(m, r.Bottom)};
}

std::vector<TPoint> MapPoints(const TPrinterMetrics& m, const TPointList& list) {
    std::vector<TPoint> out;
    out.reserve(list.View().size());
    for (const TPoint& p : list.View()) out.push_back({MmToPrinterX(m, p.X), MmToPrinterY(m, p.Y)});
    return out;
}

void PrintFrame(TCanvas& c, const TPrinterMetrics& m, const TNyomtatoKeret& frame) {
    const TRect r = MapRect(m, frame.Rect);
    c.Pen.Color = frame.BorderColor;
    c.Brush.Color = frame.FillColor;
    c.Brush.Style = static_cast<TBrushStyle>(frame.FillStyle);
    c.Rectangle(r.Left, r.Top, r.Right + 1, r.Bottom + 1);

    if (frame.Shadow) {
        DrawFrameShadow(c, r, MmToPrinterX(m, 2) - MmToPrinterX(m, 0),
                        MmToPrinterY(m, 2) - MmToPrinterY(m, 0));
    }
    // The title font's height is held in mm.
    DrawFrameTitle(c, frame, r, FontHeightMmToPrinter(frame.TitleFont.Height, m),
                   TruncClamped(2.0 / m.MmPerPixelX));
}

void DrawPage(TCanvas& c, const TPageItems& items, const TPageSettings& settings,
              const TPrinterMetrics& m) {
    // The page border: outline only.
    c.Brush.Style = TBrushStyle::bsClear;
    if (settings.PageBorderVisible) {
        c.Pen.Color = settings.PageBorderColor;
        c.Rectangle(MapRect(m, settings.PageBorderRect));
    }

    c.Pen.Style = TPenStyle::psSolid;
    for (int i = 0; i < items.Frames.Count(); ++i) PrintFrame(c, m, items.Frames[i]);

    c.Brush.Style = TBrushStyle::bsSolid;
    c.Pen.Style = TPenStyle::psSolid;
    for (int i = 0; i < items.Rectangles.Count(); ++i) {
        const TNyomtatoNegyszog& rect = items.Rectangles[i];
        c.Brush.Color = rect.Color;
        c.Pen.Color = rect.Color;
        c.Rectangle(MapRect(m, rect.Rect));
    }

    c.Pen.Width = 1;
    for (int i = 0; i < items.Polygons.Count(); ++i) {
        const TNyomtatoPoligon& polygon = items.Polygons[i];
        if (polygon.Count() == 0) continue;
        c.Pen.Color = polygon.Color;
        c.Brush.Color = polygon.Color;
        c.Polygon(MapPoints(m, polygon));
    }

    for (int i = 0; i < items.Images.Count(); ++i) {
        const TNyomtatoKep& image = items.Images[i];
        const TRect r = MapRect(m, image.Rect);
        image.Picture->StretchDraw(c, r.Left, r.Top, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
    }

    // Captions and texts: the text colour is the font's; FillBackground puts white behind.
    c.BkColor = clWhite;
    for (int i = 0; i < items.Captions.Count(); ++i) {
        const TNyomtatoSzoveg& caption = items.Captions[i];
        c.Font = caption.Font;
        c.BkMode = caption.FillBackground ? TBkMode::Opaque : TBkMode::Transparent;
        c.TextOut(MmToPrinterX(m, caption.Rect.Left), MmToPrinterY(m, caption.Rect.Top),
                  caption.Text);
    }

    c.BkMode = TBkMode::Opaque;
    c.BkColor = clWhite;
    for (int i = 0; i < items.Texts.Count(); ++i) {
        const TNyomtatoSorok& text = items.Texts[i];
        c.Font = text.Font;
        c.BkMode = text.FillBackground ? TBkMode::Opaque : TBkMode::Transparent;
        const int32_t x = MmToPrinterX(m, text.Rect.Left);
        const int32_t y = MmToPrinterY(m, text.Rect.Top);
        TRect r{x, y, x, y};
        c.DrawText(text.Text, r, DT_NOCLIP);
    }

    // Line widths are device pixels of the printer, so a printed line is much thinner than
    // the same line on the screen.
    c.BkMode = TBkMode::Opaque;
    for (int i = 0; i < items.Lines.Count(); ++i) {
        const TNyomtatoVonal& line = items.Lines[i];
        if (line.Count() == 0) continue;
        c.Pen.Color = line.Color;
        c.Pen.Width = line.Width;
        c.Pen.Style = static_cast<TPenStyle>(line.PenStyle);
        c.Polyline(MapPoints(m, line));
    }
}

} // namespace

int32_t MmToPrinterX(const TPrinterMetrics& metrics, double xMm) {
    return MmToPrinter(xMm, metrics.MmPerPixelX, metrics.OffsetXPx);
}

int32_t MmToPrinterY(const TPrinterMetrics& metrics, double yMm) {
    return MmToPrinter(yMm, metrics.MmPerPixelY, metrics.OffsetYPx);
}

void PrintPage(TPrinter& printer, const TPageItems& items, const TPageSettings& settings,
               const TPrinterMetrics& metrics) {
    if (!(metrics.MmPerPixelX > 0) || !(metrics.MmPerPixelY > 0)) {
        throw EPrinter("There is no printer to print on.");
    }
    TCanvas& canvas = printer.BeginDoc();
    try {
        DrawPage(canvas, items, settings, metrics);
    } catch (...) {
        printer.Abort();
        throw;
    }
    printer.EndDoc();
}

TOutcome PrintDocument(TPrinter& printer, const TPageItems& items, const TPageSettings& settings,
                       const TPrinterMetrics& metrics) {
    try {
        PrintPage(printer, items, settings, metrics);
        return TOutcome::Success();
    } catch (const EPrintCancelled&) {
        return TOutcome::Success();
    } catch (const EPrinter& e) {
        return TOutcome::Failure(e.what());
    } catch (const std::bad_alloc&) {
        return TOutcome::Failure("There is not enough memory to print the page.");
    } catch (const std::exception& e) {
        return TOutcome::Failure(std::string("The page could not be printed: ") + e.what());
    }
}
