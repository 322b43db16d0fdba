#include "editor/ViewZoom.h"

#include <algorithm>
#include <cmath>

#include "editor/DeviceUnits.h"
#include "editor/PageEditor.h"
#include "editor/PageLayout.h"
#include "editor/PageView.h"

namespace {

// The largest scroll position that still shows only the zoom-1 picture, magnified: picture
// pixel `size` at zoom 1 comes to the picture's far edge.
int32_t MagnifiedPictureLimit(double zoom, int32_t sheetOrigin, int32_t size) {
    return TruncClamped(std::floor((zoom - 1.0) * (size - sheetOrigin)));
}

// The scroll position that brings sheet point (mmX, mmY) to picture pixel (x, y). Where the
// zoomed sheet does not yet fill the picture (a wide or tall window), the usual scroll range
// cannot move the sheet's origin out of view, and the point would drift away from the
// pointer; the range then grows as far as the point needs, within the magnified zoom-1
// picture, until the zoom changes again. The sheet never moves right of or below its origin.
void ScrollToShow(TPageEditor& e, double mmX, double mmY, int32_t x, int32_t y) {
    const TViewMapping v(e);
    const int32_t sx = TruncClamped(std::round(v.ScaleX * mmX + v.Left - x));
    const int32_t sy = TruncClamped(std::round(v.ScaleY * mmY + v.Top - y));
    e.ScrollMaxX =
        std::max(e.ScrollMaxX,
                 std::min(sx, MagnifiedPictureLimit(e.Zoom(), e.PageRect().Left, e.PictureWidth)));
    e.ScrollMaxY =
        std::max(e.ScrollMaxY,
                 std::min(sy, MagnifiedPictureLimit(e.Zoom(), e.PageRect().Top, e.PictureHeight)));
    e.SetScroll(sx, sy);
}

} // namespace

void ZoomAbout(TPageEditor& e, int position, int32_t x, int32_t y) {
    const double mmX = ViewToMmXf(e, x), mmY = ViewToMmYf(e, y);
    e.SetZoomPosition(position);
    ScrollToShow(e, mmX, mmY, x, y);
}

void ZoomAtCentre(TPageEditor& e, int position) {
    ZoomAbout(e, position, e.PictureWidth / 2, e.PictureHeight / 2);
}

void ZoomToFitPage(TPageEditor& e) {
    e.SetZoomPosition(TPageEditor::ZoomMin);
    e.SetScroll(0, 0);
}

int PhysicalSizeZoomPosition(const TPageEditor& e, double screenPixelsPerMm) {
    const double basePixelsPerMm =
        e.PageWidthMm > 0
            ? static_cast<double>(e.BasePageRect.Right - e.BasePageRect.Left) / e.PageWidthMm
            : 0.0;
    if (!(basePixelsPerMm > 0) || !(screenPixelsPerMm > 0) || !std::isfinite(screenPixelsPerMm))
        return e.ZoomPosition;
    const double position = std::round(screenPixelsPerMm / basePixelsPerMm / 0.2);
    return static_cast<int>(
        std::clamp<double>(position, TPageEditor::ZoomMin, TPageEditor::ZoomMax));
}

void ZoomToPhysicalSize(TPageEditor& e, double screenPixelsPerMm) {
    ZoomAtCentre(e, PhysicalSizeZoomPosition(e, screenPixelsPerMm));
}

bool SetPictureSize(TPageEditor& e, int32_t width, int32_t height) {
    width = std::max<int32_t>(width, TPageEditor::BasePictureWidth);
    height = std::max<int32_t>(height, TPageEditor::BasePictureHeight);
    if (width == e.PictureWidth && height == e.PictureHeight) return false;
    const double mmX = ViewToMmXf(e, 0), mmY = ViewToMmYf(e, 0);
    e.PictureWidth = width;
    e.PictureHeight = height;
    e.BasePageRect = FitSheet(width, height, e.PageWidthMm, e.PageHeightMm);
    e.SetZoomPosition(e.ZoomPosition);
    ScrollToShow(e, mmX, mmY, 0, 0);
    return true;
}
