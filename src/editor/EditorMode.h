// The interaction mode: the single state of the mouse tools, with named questions about it.
// The values are those the mode has always had (32 bits); a mode never changes by arithmetic.
#pragma once

#include <cstdint>

enum class TEditorMode : int32_t {
    mdIdle = 0,
    mdDragFrame = 1,
    mdDragCaption = 2,
    mdDragImage = 3,
    mdDeleteTool = 4,
    mdModifyTool = 5,
    mdHoverTop = 6, // the pointer is on an edge of a resizable box
    mdHoverBottom = 7,
    mdHoverLeft = 8,
    mdHoverRight = 9,
    mdResizeTop = 10, // that edge is being dragged
    mdResizeBottom = 11,
    mdResizeLeft = 12,
    mdResizeRight = 13,
    mdScrollTrack = 16,
    mdPlaceCaption = 17,
    mdPlaceImage = 18,
    mdNavigatorDrag = 19,
    mdPlaceHeightsLegend = 20,
    mdPlaceDistanceIndicator = 21,
    mdNewFrame = 22,
    mdPlaceText = 23,
    mdDragText = 24,
    mdNewLine = 25,
    mdNewRectangle = 26,
    mdDragRectangle = 27,
    mdNewPolygon = 28,
    mdDragPolygon = 29,
    mdDragLine = 30,
    mdDragLinePoint = 31,
    mdDragPolygonPoint = 32,
    mdRubberBand = 33,   // a band spanned from the empty sheet selects what it encloses
    mdHoverCorner = 34,  // the pointer is on a corner handle of a selected box
    mdResizeCorner = 35, // that corner is being dragged (two edges at once)
};
using enum TEditorMode;

// What a resize acts on (the box whose edge is hovered or dragged).
enum class TResizeKind : int32_t {
    rkNone = 0,
    rkHeightsLegend = 2,
    rkFrame = 4,
    rkRectangle = 5,
    rkImage = 6,
};
using enum TResizeKind;

// The pointer rests on a resizable edge or a selected box's corner handle (nothing is held; the
// page may change).
constexpr bool IsHovering(TEditorMode m) {
    return m == mdHoverTop || m == mdHoverBottom || m == mdHoverLeft || m == mdHoverRight ||
           m == mdHoverCorner;
}
// An edge of a box follows the pointer.
constexpr bool IsResizing(TEditorMode m) {
    return m == mdResizeTop || m == mdResizeBottom || m == mdResizeLeft || m == mdResizeRight;
}
// A box (frame, caption, image, text, rectangle) follows the pointer.
constexpr bool IsDraggingBox(TEditorMode m) {
    return m == mdDragFrame || m == mdDragCaption || m == mdDragImage || m == mdDragText ||
           m == mdDragRectangle;
}
// A polygon or line follows the pointer, whole or by one point.
constexpr bool IsDraggingPoints(TEditorMode m) {
    return m == mdDragPolygon || m == mdDragLine || m == mdDragLinePoint || m == mdDragPolygonPoint;
}
// A held button moves or resizes an item: the gesture is one history step, press to release.
constexpr bool IsDragging(TEditorMode m) {
    return IsDraggingBox(m) || IsResizing(m) || m == mdResizeCorner || IsDraggingPoints(m);
}
// A line or polygon is being entered point by point.
constexpr bool IsEnteringPoints(TEditorMode m) { return m == mdNewLine || m == mdNewPolygon; }
// A tool armed by a command waits for presses on the page (Delete, Modify, placing, entry).
constexpr bool IsToolActive(TEditorMode m) {
    switch (m) {
    case mdDeleteTool:
    case mdModifyTool:
    case mdPlaceCaption:
    case mdPlaceImage:
    case mdPlaceHeightsLegend:
    case mdPlaceDistanceIndicator:
    case mdNewFrame:
    case mdPlaceText:
    case mdNewLine:
    case mdNewRectangle:
    case mdNewPolygon: return true;
    default: return false;
    }
}
// The view is being moved (scroll thumb or navigator mark); the mode it interrupted comes back.
constexpr bool IsMovingView(TEditorMode m) { return m == mdScrollTrack || m == mdNavigatorDrag; }
// Nothing runs: the pointer is idle or only rests on an edge.
constexpr bool IsAtRest(TEditorMode m) { return m == mdIdle || IsHovering(m); }
// A tool stays armed after its button is released (each press adds a point or a frame).
constexpr bool StaysAfterRelease(TEditorMode m) { return IsEnteringPoints(m) || m == mdNewFrame; }

// The resize that a press on a hovered edge or corner starts, and the edge a resize or hover is on.
constexpr TEditorMode ResizeOfHover(TEditorMode hover) {
    switch (hover) {
    case mdHoverTop: return mdResizeTop;
    case mdHoverBottom: return mdResizeBottom;
    case mdHoverLeft: return mdResizeLeft;
    case mdHoverRight: return mdResizeRight;
    case mdHoverCorner: return mdResizeCorner;
    default: return hover;
    }
}
// A hovered top or bottom edge moves up and down (the others sideways).
constexpr bool ResizesUpDown(TEditorMode hover) {
    return hover == mdHoverTop || hover == mdHoverBottom;
}

// A stored 32-bit value names a mode.
constexpr bool IsDefinedMode(int32_t v) { return (v >= 0 && v <= 13) || (v >= 16 && v <= 35); }
