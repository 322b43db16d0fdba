#include "editor/ViewZoom.h"

#include <algorithm>
#include <cmath>

#include "editor/DeviceUnits.h"
#include "editor/PageEditor.h"
#include "editor/PageLayout.h"
#include "editor/PageView.h"

namespace {

// The scroll position that brings sheet point (mmX, mmY) to picture pixel (x, y).
void ScrollToShow(TPageEditor& e, double mmX, double mmY, int32_t x, int32_t y) {
    const TViewMapping v(e);
    const double sx = v.ScaleX * mmX + v.Left - x;
    const double sy = v.ScaleY * mmY + v.Top - y;
    e.SetScroll(TruncClamped(std::round(sx)), TruncClamped(std::round(sy)));
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
