// What the user is doing with the pointer and the keys: the mode of the mouse state machine,
// the item a drag or resize holds, items waiting to be placed, points being entered, the
// selection and the rubber band.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "document/ItemKind.h"
#include "document/ItemLists.h"
#include "document/PointList.h"
#include "editor/EditorMode.h"
#include "platform/Rect.h"

struct TInteractionState {
    TEditorMode Mode = mdIdle;
    // A gesture's history step is open, from its press to its release (editor/ChangeStep.h).
    bool GestureOpen = false;
    // The mode a scroll-thumb drag or a navigator drag interrupted; it comes back after.
    TEditorMode InterruptedMode = mdIdle;
    TResizeKind ResizeKind = rkNone;
    TPoint DragAnchor; // mm: the pointer at the last accepted drag step
    // The item being dragged or resized (CaptionOrTextIndex serves captions and texts).
    int32_t CaptionOrTextIndex = -1;
    int32_t ImageIndex = -1;
    int32_t FrameIndex = -1;
    int32_t RectangleIndex = -1;
    int32_t LineIndex = -1;
    int32_t LinePointIndex = -1;
    int32_t PolygonIndex = -1;
    int32_t PolygonPointIndex = -1;
    // Items made by a dialog that wait for the press that places them.
    std::unique_ptr<TNyomtatoSzoveg> PendingCaption;
    std::unique_ptr<TNyomtatoKep> PendingImage;
    TSize PendingImageSize; // mm
    std::unique_ptr<TNyomtatoSorok> PendingText;
    std::unique_ptr<TPointList> LinePoints;    // while a line is entered
    std::unique_ptr<TPointList> PolygonPoints; // while a polygon is entered

    // The selected items, in the order they were selected. Drawn over the page with handles;
    // neither printed nor stored. Never names an item that does not exist.
    std::vector<TKKItem> Selection;
    // The rubber band's corners in picture pixels (mdRubberBand).
    TPoint BandStart;
    TPoint BandEnd;
    // The box a placing tool just made follows the pointer until the release (the tool's mode
    // stays as its press left it): spanned from SpanStart (mm); SpanPress is the press in
    // picture pixels, SpanMoved whether the pointer has really left it.
    bool Spanning = false;
    TKKItem Spanned;
    TPoint SpanStart;
    TPoint SpanPress;
    bool SpanMoved = false;
    // The corner handle hovered or dragged: 0 top-left, 1 top-right, 2 bottom-right, 3
    // bottom-left, of the box ResizeKind and its index field name.
    int32_t Corner = -1;
    // The pointer over the page picture, in picture pixels (a paste goes there).
    std::optional<TPoint> Pointer;
};
