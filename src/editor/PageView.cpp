#include "editor/PageView.h"

#include <algorithm>
#include <cmath>

#include "editor/DeviceUnits.h"
#include "editor/ItemDrawing.h"
#include "editor/PageEditor.h"
#include "editor/PageLayout.h"
#include "editor/SelectionDrawing.h"
#include "platform/Canvas.h"

namespace {

constexpr TColor kShadowGrey = 0x808080;

double Scale(int pixels, int mm) { return mm != 0 ? static_cast<double>(pixels) / mm : 0.0; }

// Pen and brush both solid in one colour.
void SetSolid(TCanvas& c, TColor color) {
    c.Pen = TPen{color, 1, TPenStyle::psSolid};
    c.Brush = TBrush{color, TBrushStyle::bsSolid};
}

double ViewToMm(int sheetMm, int px, int scroll, int from, int to) {
    const int size = to - from;
    return size != 0 ? static_cast<double>(sheetMm) * (px + scroll - from) / size : 0.0;
}

} // namespace

TViewMapping::TViewMapping(const TPageEditor& e)
    : ScaleX(Scale(e.PageRect().Right - e.PageRect().Left, e.PageWidthMm)),
      ScaleY(Scale(e.PageRect().Bottom - e.PageRect().Top, e.PageHeightMm)),
      Left(e.PageRect().Left), Top(e.PageRect().Top), ScrollX(e.ScrollX), ScrollY(e.ScrollY) {}

int32_t TViewMapping::PxX(double mm) const { return TruncClamped(X(mm)); }
int32_t TViewMapping::PxY(double mm) const { return TruncClamped(Y(mm)); }

double MmToViewX(const TPageEditor& e, double xMm) { return TViewMapping(e).X(xMm); }
double MmToViewY(const TPageEditor& e, double yMm) { return TViewMapping(e).Y(yMm); }

double ViewToMmXf(const TPageEditor& e, int px) {
    return ViewToMm(e.PageWidthMm, px, e.ScrollX, e.PageRect().Left, e.PageRect().Right);
}

double ViewToMmYf(const TPageEditor& e, int py) {
    return ViewToMm(e.PageHeightMm, py, e.ScrollY, e.PageRect().Top, e.PageRect().Bottom);
}

int ViewToMmX(const TPageEditor& e, int px) { return TruncClamped(ViewToMmXf(e, px)); }
int ViewToMmY(const TPageEditor& e, int py) { return TruncClamped(ViewToMmYf(e, py)); }

TRect MmRectToView(const TPageEditor& e, const TRect& mm) {
    const TViewMapping v(e);
    return TRect{v.PxX(mm.Left), v.PxY(mm.Top), v.PxX(mm.Right), v.PxY(mm.Bottom)};
}

TRect MmOutlineToView(const TPageEditor& e, const TRect& mm) {
    const TViewMapping v(e);
    return TRect{v.PxX(mm.Left), v.PxY(mm.Top), TruncClamped(v.X(mm.Right) + 1),
                 TruncClamped(v.Y(mm.Bottom) + 1)};
}

TRect VisibleMm(const TPageEditor& e) {
    return TRect{ViewToMmX(e, 0), ViewToMmY(e, 0), ViewToMmX(e, e.PictureWidth - 1),
                 ViewToMmY(e, e.PictureHeight - 1)};
}

int32_t LineWidthOnView(const TPageEditor& e, int32_t printerPixels) {
    const TViewMapping v(e);
    const double pixels = LineWidthMm(e.Metrics, printerPixels) * (v.ScaleX + v.ScaleY) / 2;
    return std::max<int32_t>(1, TruncClamped(std::round(pixels)));
}

void PaintSheet(TCanvas& c, const TPageEditor& e) {
    SetSolid(c, clSilver);
    c.Rectangle(0, 0, e.PictureWidth, e.PictureHeight);

    TRect shadow = e.PageRect();
    OffsetRect(shadow, TruncClamped(e.Zoom() * kSheetShadow - e.ScrollX),
               TruncClamped(e.Zoom() * kSheetShadow - e.ScrollY));
    SetSolid(c, kShadowGrey);
    c.Rectangle(shadow);

    TRect sheet = e.PageRect();
    OffsetRect(sheet, -e.ScrollX, -e.ScrollY);
    SetSolid(c, clWhite);
    c.Rectangle(sheet);

    const TPrinterMetrics& m = e.Metrics;
    const TViewMapping v(e);
    c.Pen = TPen{kShadowGrey, 1, TPenStyle::psDot};
    c.Rectangle(v.PxX(m.LeftMarginMm), v.PxY(m.TopMarginMm), TruncClamped(v.X(m.RightEdgeMm) + 1),
                TruncClamped(v.Y(m.BottomEdgeMm) + 1));

    // The page border: an outline over the hollow brush.
    c.Pen = TPen{e.Settings.PageBorderColor, 1, TPenStyle::psSolid};
    c.Brush.Style = TBrushStyle::bsClear;
    if (e.Settings.PageBorderVisible) c.Rectangle(MmOutlineToView(e, e.Settings.PageBorderRect));
    c.Brush.Style = TBrushStyle::bsSolid;
}

void PaintPage(TCanvas& canvas, const TPageEditor& e) {
    PaintSheet(canvas, e);
    PaintItems(canvas, e);
    PaintSelection(canvas, e);
}
