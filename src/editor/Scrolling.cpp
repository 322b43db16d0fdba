#include "editor/Scrolling.h"

#include <algorithm>

#include "editor/PageEditor.h"
#include "editor/ViewZoom.h"

int32_t ScrollLargeChange(int32_t maximum) { return std::max<int32_t>(1, maximum / 10); }

void InterruptMode(TPageEditor& e, TEditorMode mode) {
    if (e.Mode == mode) return;
    e.InterruptedMode = IsHovering(e.Mode) ? mdIdle : e.Mode;
    e.Mode = mode;
}

void ResumeMode(TPageEditor& e, TEditorMode mode) {
    if (e.Mode != mode) return;
    e.Mode = e.InterruptedMode;
    e.InterruptedMode = mdIdle;
}

void BeginScrollTrack(TPageEditor& e) { InterruptMode(e, mdScrollTrack); }

void EndScrollTrack(TPageEditor& e) {
    if (e.Mode != mdScrollTrack) return;
    ResumeMode(e, mdScrollTrack);
    e.RepaintRequested = true;
}

namespace {

void WheelZoom(TPageEditor& e, int32_t delta, std::optional<TPoint> pointer) {
    // Parts of a notch add up; turning back starts afresh.
    if ((e.WheelZoomRest > 0 && delta < 0) || (e.WheelZoomRest < 0 && delta > 0)) {
        e.WheelZoomRest = 0;
    }
    const int64_t turn = int64_t{e.WheelZoomRest} + delta;
    const int64_t steps = turn / kWheelNotch;
    e.WheelZoomRest = static_cast<int32_t>(turn % kWheelNotch);
    if (steps == 0) return;
    const int32_t before = e.ZoomPosition;
    const int64_t wanted =
        std::clamp<int64_t>(before + steps, TPageEditor::ZoomMin, TPageEditor::ZoomMax);
    if (wanted == before) return;
    const TPoint at = pointer.value_or(TPoint{e.PictureWidth / 2, e.PictureHeight / 2});
    ZoomAbout(e, static_cast<int>(wanted), at.X, at.Y);
    e.RepaintRequested = true;
}

int32_t WheelPixels(int32_t delta) {
    // Forward (positive) moves the view towards the top or left of the sheet.
    return static_cast<int32_t>(-int64_t{delta} * kWheelScrollPixels / kWheelNotch);
}

// Zooms with Ctrl, else scrolls.
void WheelMoves(TPageEditor& e, int32_t deltaX, int32_t deltaY, bool shift, bool ctrl,
                std::optional<TPoint> pointer) {
    if (ctrl) {
        WheelZoom(e, deltaY != 0 ? deltaY : deltaX, pointer);
        return;
    }
    int32_t across = deltaX, down = deltaY;
    if (shift) {
        across = deltaY != 0 ? deltaY : deltaX;
        down = 0;
    }
    const int64_t x =
        std::clamp<int64_t>(int64_t{e.ScrollX} + WheelPixels(across), 0, e.ScrollMaxX);
    const int64_t y = std::clamp<int64_t>(int64_t{e.ScrollY} + WheelPixels(down), 0, e.ScrollMaxY);
    if (x == e.ScrollX && y == e.ScrollY) return;
    e.SetScroll(static_cast<int>(x), static_cast<int>(y));
    e.RepaintRequested = true;
}

} // namespace

void WheelOnPage(TPageEditor& e, int32_t deltaX, int32_t deltaY, bool shift, bool ctrl,
                 std::optional<TPoint> pointer) {
    // Nothing is held while the pointer rests on an edge or a corner handle, so the wheel
    // works there as well; the rest is given up once the view moves under the pointer (the
    // next pointer move finds what lies there then).
    const TEditorMode mode = e.Mode;
    if (mode != mdIdle && !IsHovering(mode)) return;
    const int32_t zoom = e.ZoomPosition, scrollX = e.ScrollX, scrollY = e.ScrollY;
    e.Mode = mdIdle;
    WheelMoves(e, deltaX, deltaY, shift, ctrl, pointer);
    if (e.ZoomPosition == zoom && e.ScrollX == scrollX && e.ScrollY == scrollY) e.Mode = mode;
}
