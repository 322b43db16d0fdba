#include "editor/PageView.h"

#include "editor/PageEditor.h"
#include "platform/Canvas.h"

namespace {

constexpr TColor kShadowGrey = 0x808080;

double Scale(int pixels, int mm) { return mm != 0 ? static_cast<double>(pixels) / mm : 0.0; }

// Pen and brush both solid in one colour.
void SetSolid(TCanvas& c, TColor color) {
    c.Pen = TPen{color, 1, TPenStyle::psSolid};
    c.Brush = TBrush{color, TBrushStyle::bsSolid};
}

} // namespace

double MmToViewX(const TPageEditor& e, double xMm) {
    return Scale(e.PageRect.Right - e.PageRect.Left, e.PageWidthMm) * xMm + e.PageRect.Left -
           e.ScrollX;
}

double MmToViewY(const TPageEditor& e, double yMm) {
    return Scale(e.PageRect.Bottom - e.PageRect.Top, e.PageHeightMm) * yMm + e.PageRect.Top -
           e.ScrollY;
}

int ViewToMmX(const TPageEditor& e, int px) {
    const int w = e.PageRect.Right - e.PageRect.Left;
    return w != 0 ? static_cast<int>(static_cast<double>(e.PageWidthMm) *
                                     (px + e.ScrollX - e.PageRect.Left) / w)
                  : 0;
}

int ViewToMmY(const TPageEditor& e, int py) {
    const int h = e.PageRect.Bottom - e.PageRect.Top;
    return h != 0 ? static_cast<int>(static_cast<double>(e.PageHeightMm) *
                                     (py + e.ScrollY - e.PageRect.Top) / h)
                  : 0;
}

TRect MmOutlineToView(const TPageEditor& e, const TRect& mm) {
    return TRect{static_cast<int32_t>(MmToViewX(e, mm.Left)),
                 static_cast<int32_t>(MmToViewY(e, mm.Top)),
                 static_cast<int32_t>(MmToViewX(e, mm.Right) + 1),
                 static_cast<int32_t>(MmToViewY(e, mm.Bottom) + 1)};
}

void PaintSheet(TCanvas& c, const TPageEditor& e) {
    SetSolid(c, clSilver);
    c.Rectangle(0, 0, TPageEditor::PictureWidth, TPageEditor::PictureHeight);

    TRect shadow = e.PageRect;
    OffsetRect(shadow, static_cast<int32_t>(e.Zoom * 10 - e.ScrollX),
               static_cast<int32_t>(e.Zoom * 10 - e.ScrollY));
    SetSolid(c, kShadowGrey);
    c.Rectangle(shadow);

    TRect sheet = e.PageRect;
    OffsetRect(sheet, -e.ScrollX, -e.ScrollY);
    SetSolid(c, clWhite);
    c.Rectangle(sheet);

    const TPrinterMetrics& m = e.Metrics;
    c.Pen = TPen{kShadowGrey, 1, TPenStyle::psDot};
    c.Rectangle(static_cast<int32_t>(MmToViewX(e, m.LeftMarginMm)),
                static_cast<int32_t>(MmToViewY(e, m.TopMarginMm)),
                static_cast<int32_t>(MmToViewX(e, m.RightEdgeMm) + 1),
                static_cast<int32_t>(MmToViewY(e, m.BottomEdgeMm) + 1));

    if (e.Settings.PageBorderVisible) {
        c.Pen = TPen{e.Settings.PageBorderColor, 1, TPenStyle::psSolid};
        c.Brush.Style = TBrushStyle::bsClear;
        c.Rectangle(MmOutlineToView(e, e.Settings.PageBorderRect));
        c.Brush.Style = TBrushStyle::bsSolid;
    }
}

namespace {

// Navigator pixels of sheet mm; the navigator scales by the sheet's exact size in mm.
int MmToNavigator(double mm, float sheetMm, int navFrom, int navTo) {
    return sheetMm > 0 ? static_cast<int>(mm / sheetMm * (navTo - navFrom) + navFrom) : navFrom;
}

} // namespace

TRect NavigatorViewRect(const TPageEditor& e) {
    const TRect& nav = e.NavigatorPageRect;
    const float w = e.Metrics.PhysicalWidthMm > 0 ? e.Metrics.PhysicalWidthMm
                                                  : static_cast<float>(e.PageWidthMm);
    const float h = e.Metrics.PhysicalHeightMm > 0 ? e.Metrics.PhysicalHeightMm
                                                   : static_cast<float>(e.PageHeightMm);
    return TRect{MmToNavigator(ViewToMmX(e, 0), w, nav.Left, nav.Right),
                 MmToNavigator(ViewToMmY(e, 0), h, nav.Top, nav.Bottom),
                 MmToNavigator(ViewToMmX(e, TPageEditor::PictureWidth - 1), w, nav.Left, nav.Right),
                 MmToNavigator(ViewToMmY(e, TPageEditor::PictureHeight - 1), h, nav.Top,
                               nav.Bottom)};
}

void PaintNavigator(TCanvas& c, const TPageEditor& e) {
    SetSolid(c, clSilver);
    c.Rectangle(0, 0, TPageEditor::NavigatorWidth, TPageEditor::NavigatorHeight);
    TRect shadow = e.NavigatorPageRect;
    OffsetRect(shadow, 10, 10);
    SetSolid(c, kShadowGrey);
    c.Rectangle(shadow);
    SetSolid(c, clWhite);
    c.Rectangle(e.NavigatorPageRect);
    c.Pen = TPen{clBlue, 1, TPenStyle::psSolid};
    c.Brush = TBrush{clBlue, TBrushStyle::bsDiagCross};
    c.BkMode = TBkMode::Transparent;
    c.Rectangle(NavigatorViewRect(e));
}
