#include "editor/Navigator.h"

#include "editor/DeviceUnits.h"
#include "editor/MouseTools.h"
#include "editor/PageEditor.h"
#include "editor/PageLayout.h"
#include "editor/PageView.h"
#include "editor/Scrolling.h"
#include "platform/Canvas.h"
#include "platform/Screen.h"

namespace {

constexpr TColor kShadowGrey = 0x808080;

// The navigator scales by the sheet's exact size in mm; without a printer (no such size) by
// the page's whole mm.
double SheetWidthMm(const TPageEditor& e) {
    return e.Metrics.PhysicalWidthMm > 0 ? e.Metrics.PhysicalWidthMm : e.PageWidthMm;
}
double SheetHeightMm(const TPageEditor& e) {
    return e.Metrics.PhysicalHeightMm > 0 ? e.Metrics.PhysicalHeightMm : e.PageHeightMm;
}

int32_t MmToNavigator(double mm, double sheetMm, int32_t from, int32_t to) {
    return sheetMm > 0 ? TruncClamped(mm / sheetMm * (to - from) + from) : from;
}

int32_t NavigatorToMm(int32_t px, double sheetMm, int32_t from, int32_t to) {
    return to != from ? TruncClamped(static_cast<double>(px - from) / (to - from) * sheetMm) : 0;
}

} // namespace

TRect NavigatorViewRect(const TPageEditor& e) {
    const TRect& nav = e.NavigatorPageRect;
    const double w = SheetWidthMm(e), h = SheetHeightMm(e);
    return TRect{MmToNavigator(ViewToMmXf(e, 0), w, nav.Left, nav.Right),
                 MmToNavigator(ViewToMmYf(e, 0), h, nav.Top, nav.Bottom),
                 MmToNavigator(ViewToMmXf(e, e.PictureWidth - 1), w, nav.Left, nav.Right),
                 MmToNavigator(ViewToMmYf(e, e.PictureHeight - 1), h, nav.Top, nav.Bottom)};
}

int32_t NavigatorToMmX(const TPageEditor& e, int32_t x) {
    return NavigatorToMm(x, SheetWidthMm(e), e.NavigatorPageRect.Left, e.NavigatorPageRect.Right);
}

int32_t NavigatorToMmY(const TPageEditor& e, int32_t y) {
    return NavigatorToMm(y, SheetHeightMm(e), e.NavigatorPageRect.Top, e.NavigatorPageRect.Bottom);
}

void PaintNavigator(TCanvas& c, const TPageEditor& e) {
    c.Pen = TPen{clSilver, 1, TPenStyle::psSolid};
    c.Brush = TBrush{clSilver, TBrushStyle::bsSolid};
    c.Rectangle(0, 0, TPageEditor::NavigatorWidth, TPageEditor::NavigatorHeight);
    TRect shadow = e.NavigatorPageRect;
    OffsetRect(shadow, kSheetShadow, kSheetShadow);
    c.Pen.Color = c.Brush.Color = kShadowGrey;
    c.Rectangle(shadow);
    c.Pen.Color = c.Brush.Color = clWhite;
    c.Rectangle(e.NavigatorPageRect);
    c.Pen = TPen{clBlue, 1, TPenStyle::psSolid};
    c.Brush = TBrush{clBlue, TBrushStyle::bsDiagCross};
    c.BkMode = TBkMode::Transparent;
    c.Rectangle(NavigatorViewRect(e));
}

void NavigatorMouseDown(TPageEditor& e, TScreen& screen, TMouseButton button, int32_t x,
                        int32_t y) {
    if (button != TMouseButton::Left || e.NavigatorDragging) return;
    if (!PtInRect(NavigatorViewRect(e), TPoint{x, y})) return;
    e.NavigatorDragging = true;
    e.NavigatorDragPoint = TPoint{x, y};
    InterruptMode(e, mdNavigatorDrag);
    screen.SetCursor(crDrag);
}

void NavigatorMouseMove(TPageEditor& e, int32_t x, int32_t y) {
    if (!e.NavigatorDragging) return;
    const TPoint from = e.NavigatorDragPoint;
    // The mm the pointer moved on the sheet, as picture pixels at the current zoom.
    const double pxPerMmX = MmToViewX(e, 1) - MmToViewX(e, 0);
    const double pxPerMmY = MmToViewY(e, 1) - MmToViewY(e, 0);
    const int32_t sx =
        TruncClamped((NavigatorToMmX(e, x) - NavigatorToMmX(e, from.X)) * pxPerMmX + e.ScrollX);
    const int32_t sy =
        TruncClamped((NavigatorToMmY(e, y) - NavigatorToMmY(e, from.Y)) * pxPerMmY + e.ScrollY);
    e.NavigatorDragPoint = TPoint{x, y};
    if (sx == e.ScrollX && sy == e.ScrollY) return;
    e.SetScroll(sx, sy);
    e.RepaintRequested = true;
}

void NavigatorMouseUp(TPageEditor& e, TScreen& screen) {
    if (!e.NavigatorDragging) return;
    e.NavigatorDragging = false;
    ResumeMode(e, mdNavigatorDrag);
    screen.SetCursor(crArrow);
    e.RepaintRequested = true;
}
