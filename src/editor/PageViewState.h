// How the page is shown: the printer's sheet, the page picture's size, the sheet's layout on
// it, the zoom, the scroll position and the navigator's thumbnail.
#pragma once

#include <cstdint>

#include "editor/PrinterMetrics.h"
#include "platform/Rect.h"

struct TPageViewState {
    // The page picture's smallest and first size, in pixels. Documents store the sheet's
    // layout on a picture of this size (Settings.BasePageRect), whatever the window's size.
    static constexpr int BasePictureWidth = 360;
    static constexpr int BasePictureHeight = 312;
    // The navigator's thumbnail, in pixels.
    static constexpr int NavigatorWidth = 128;
    static constexpr int NavigatorHeight = 111;
    static constexpr int ZoomMin = 5;
    static constexpr int ZoomMax = 100;

    TPrinterMetrics Metrics;
    // The page picture's current size in pixels (the window's free space); the layout, the
    // zoom, the scroll range, hit-testing and the navigator's mark all follow it.
    int32_t PictureWidth = BasePictureWidth;
    int32_t PictureHeight = BasePictureHeight;
    int32_t PageWidthMm = 0;
    int32_t PageHeightMm = 0;
    // The sheet on the page picture at zoom 1, laid out for the current sheet. The page
    // settings keep the value a loaded document brought, which may belong to another sheet,
    // so the view never zooms that one.
    TRect BasePageRect;
    TRect NavigatorPageRect;
    int32_t ScrollX = 0;
    int32_t ScrollY = 0;
    // The scroll range: what brings the whole zoomed sheet into view, widened by a zoom about
    // a point where that point needs it (editor/ViewZoom.h).
    int32_t ScrollMaxX = 0;
    int32_t ScrollMaxY = 0;
    int32_t ZoomPosition = ZoomMin;
    bool NavigatorDirty = false;
    // The navigator's view mark is being dragged from this navigator pixel.
    bool NavigatorDragging = false;
    TPoint NavigatorDragPoint;
    // Ctrl+wheel turns not yet worth a whole zoom step (fine-grained wheels send parts).
    int32_t WheelZoomRest = 0;

    // The zoom factor of the bar's position: 0.2 a step.
    double Zoom() const { return ZoomPosition * 0.2; }
    // The sheet on the page picture at the current zoom, before scrolling: its top-left
    // corner stays where the layout put it.
    TRect PageRect() const;
};
