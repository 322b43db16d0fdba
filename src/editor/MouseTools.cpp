#include "editor/MouseTools.h"

#include <algorithm>
#include <string>

#include "editor/commands/ItemCommands.h"
#include "editor/CoreServices.h"
#include "editor/FrameMembership.h"
#include "editor/HitTest.h"
#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "editor/SaturatingInt.h"
#include "editor/Tools.h"
#include "platform/Screen.h"

namespace {

// Pointer positions beyond any picture (only a caller's mistake can give them) are held here,
// so that their millimetres stay far inside the int32 range.
constexpr int32_t kPointerLimit = 1 << 24;

int32_t ClampPointer(int32_t v) { return std::clamp(v, -kPointerLimit, kPointerLimit); }

// Sets the screen cursor when it changes (idle moves decide it anew on every move).
void ShowCursor(TScreen& screen, TCursor cursor) {
    if (screen.Cursor() != cursor) screen.SetCursor(cursor);
}

// The item an index field names, or null when the field no longer names one.
template <class List>
auto ItemAt(List& list, int32_t index) -> decltype(&list[0]) {
    return index >= 0 && index < list.Count() ? &list[index] : nullptr;
}

// The boxes that are dragged or resized: how each is found from the editor's index fields.
struct TBoxRow {
    TEditorMode DragMode;
    TResizeKind ResizeKind; // rkNone: the box cannot be resized
    const char* Name;       // in the info line while resizing
    TRect* (*Rect)(TPageEditor& e);
};

template <class List>
TRect* RectAt(List& list, int32_t index) {
    auto* item = ItemAt(list, index);
    return item ? &item->Rect : nullptr;
}

constexpr TBoxRow kBoxes[] = {
    {mdDragFrame, rkFrame, "keret",
     [](TPageEditor& e) { return RectAt(e.Items.Frames, e.FrameIndex); }},
    {mdDragCaption, rkNone, "",
     [](TPageEditor& e) { return RectAt(e.Items.Captions, e.CaptionOrTextIndex); }},
    {mdDragImage, rkImage, "kép",
     [](TPageEditor& e) { return RectAt(e.Items.Images, e.ImageIndex); }},
    {mdDragText, rkNone, "",
     [](TPageEditor& e) { return RectAt(e.Items.Texts, e.CaptionOrTextIndex); }},
    {mdDragRectangle, rkRectangle, "négyszög",
     [](TPageEditor& e) { return RectAt(e.Items.Rectangles, e.RectangleIndex); }},
};

// The rectangle of the box being dragged.
TRect* DraggedBox(TPageEditor& e) {
    for (const TBoxRow& row : kBoxes)
        if (row.DragMode == e.Mode) return row.Rect(e);
    return nullptr;
}

// The box whose edge is hovered or dragged, with its name for the info line.
struct TResizedBox {
    TRect* Rect = nullptr;
    TNyomtatoKeret* Frame = nullptr; // when the box is a frame's
    const char* Name = "";
};

TResizedBox ResizedBox(TPageEditor& e) {
    for (const TBoxRow& row : kBoxes) {
        if (row.ResizeKind == rkNone || row.ResizeKind != e.ResizeKind) continue;
        TRect* rect = row.Rect(e);
        if (!rect) break;
        TNyomtatoKeret* frame = row.ResizeKind == rkFrame ? &e.Items.Frames[e.FrameIndex] : nullptr;
        return {rect, frame, row.Name};
    }
    return {};
}

// The points of the polygon or line being dragged whole or by one point.
TPointList* DraggedPoints(TPageEditor& e) {
    switch (e.Mode) {
    case mdDragPolygon:
    case mdDragPolygonPoint: return ItemAt(e.Items.Polygons, e.PolygonIndex);
    case mdDragLine:
    case mdDragLinePoint: return ItemAt(e.Items.Lines, e.LineIndex);
    default: return nullptr;
    }
}

bool InPrintableArea(const TPrinterMetrics& m, double mx, double my) {
    return mx >= m.LeftMarginMm && mx <= m.RightEdgeMm && my >= m.TopMarginMm &&
           my <= m.BottomEdgeMm;
}

// What a press on each kind of item starts: the drag mode, the index fields that name the
// item (and its point), the prompt and the name of the history step the drag makes.
struct TDragRow {
    TPickKind Kind;
    TEditorMode Mode;
    int32_t TPageEditor::*Index;
    int32_t TPageEditor::*PointIndex; // null: the item moves whole
    const char* Info;
    const char* Step;
};

constexpr TDragRow kDrags[] = {
    {TPickKind::LinePoint, mdDragLinePoint, &TPageEditor::LineIndex, &TPageEditor::LinePointIndex,
     "Drag the line point to appropriate place", "moved line point"},
    {TPickKind::Line, mdDragLine, &TPageEditor::LineIndex, nullptr,
     "Drag the line to the appropriate place", "moved line"},
    {TPickKind::Text, mdDragText, &TPageEditor::CaptionOrTextIndex, nullptr,
     "Drag the text to the appropriate place", "moved text"},
    {TPickKind::Caption, mdDragCaption, &TPageEditor::CaptionOrTextIndex, nullptr,
     "Drag the caption to the appropriate place", "moved caption"},
    {TPickKind::Image, mdDragImage, &TPageEditor::ImageIndex, nullptr,
     "Drag the image to the appropriate place", "moved image"},
    {TPickKind::PolygonPoint, mdDragPolygonPoint, &TPageEditor::PolygonIndex,
     &TPageEditor::PolygonPointIndex, "Drag the polygon point to the appropriate place",
     "moved polygon point"},
    {TPickKind::Polygon, mdDragPolygon, &TPageEditor::PolygonIndex, nullptr,
     "Drag the polygon to the appropriate place", "moved polygon"},
    {TPickKind::Rectangle, mdDragRectangle, &TPageEditor::RectangleIndex, nullptr,
     "Drag the rectangle to the appropriate place", "moved rectangle"},
    {TPickKind::Frame, mdDragFrame, &TPageEditor::FrameIndex, nullptr,
     "Drag the frame to the appropriate place", "moved frame"},
};

void StartDrag(TPageEditor& e, TCoreServices& s, const TPick& pick, int32_t x, int32_t y) {
    for (const TDragRow& row : kDrags) {
        if (row.Kind != pick.Kind) continue;
        e.Mode = row.Mode;
        e.*row.Index = pick.Index;
        if (row.PointIndex) {
            e.*row.PointIndex = pick.PointIndex;
        } else {
            e.DragAnchor = TPoint{ViewToMmX(e, x), ViewToMmY(e, y)};
        }
        if (row.Mode == mdDragFrame) e.ResizeKind = rkFrame;
        // The whole drag, press to release, is one step.
        e.History.Begin(e, row.Step);
        s.Screen.SetCursor(crDrag);
        e.InfoText = row.Info;
        return;
    }
}

const char* ResizeStep(TResizeKind resizeKind) {
    switch (resizeKind) {
    case rkFrame: return "resized frame";
    case rkRectangle: return "resized rectangle";
    case rkImage: return "resized image";
    default: return "resized heights legend";
    }
}

void ShowResizedDimensions(TPageEditor& e) {
    const TResizedBox box = ResizedBox(e);
    if (box.Rect) ShowDimensions(e, box.Name, *box.Rect);
}

// The pointer position in mm while it is over the sheet; nothing off it. Without a printer
// the sheet is the editor's fallback page.
void ShowPointer(TPageEditor& e, int32_t mx, int32_t my) {
    const TPrinterMetrics& m = e.Metrics;
    double width = m.PhysicalWidthPx * m.MmPerPixelX;
    double height = m.PhysicalHeightPx * m.MmPerPixelY;
    if (width == 0 && height == 0) {
        width = e.PageWidthMm;
        height = e.PageHeightMm;
    }
    if (mx >= 0 && mx <= width && my >= 0 && my <= height) {
        e.PointerXText = std::to_string(mx);
        e.PointerYText = std::to_string(my);
    } else {
        e.PointerXText.clear();
        e.PointerYText.clear();
    }
}

// Idle or on an edge: offer the edge under the pointer for resizing, else show whether a
// press would grab a point.
void Hover(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y) {
    const THoveredEdge edge = HoveredEdge(e, x, y);
    if (edge.Mode != mdIdle) {
        if (e.Mode == mdIdle) ShowCursor(s.Screen, ResizesUpDown(edge.Mode) ? crSizeNS : crSizeWE);
        e.Mode = edge.Mode;
        e.ResizeKind = edge.ResizeKind;
        if (edge.ResizeKind == rkFrame) e.FrameIndex = edge.Index;
        if (edge.ResizeKind == rkRectangle) e.RectangleIndex = edge.Index;
        if (edge.ResizeKind == rkImage) e.ImageIndex = edge.Index;
        return;
    }
    e.Mode = mdIdle;
    ShowCursor(s.Screen, AnyPointBoxAt(e, x, y) ? crCross : crArrow);
}

// One drag step of a box: first across, then down from where the box then stands. A step
// that would take the box off the printable area is refused and keeps the anchor, so the box
// waits until the pointer is back where the move fits. A frame may touch the right and bottom
// edges; other boxes stay 1 mm inside them. A frame takes its members along.
void DragBox(TPageEditor& e, int32_t mx, int32_t my) {
    TRect* box = DraggedBox(e);
    if (!box) return;
    TNyomtatoKeret* frame = e.Mode == mdDragFrame ? &e.Items.Frames[e.FrameIndex] : nullptr;
    const TPrinterMetrics& m = e.Metrics;
    // The box from near to far (mm) lies within the margins; compared as doubles, exactly.
    const auto fits = [frame](int64_t nearEdge, int64_t farEdge, double min, double max) {
        const double a = static_cast<double>(nearEdge), b = static_cast<double>(farEdge);
        return a >= min && (frame ? b <= max : b < max);
    };

    const int64_t dx = int64_t{mx} - e.DragAnchor.X;
    const int64_t left = box->Left + dx;
    const int64_t right = box->Right + dx;
    if (fits(left, right, m.LeftMarginMm, m.RightEdgeMm)) {
        box->Left = SaturateInt32(left);
        box->Right = SaturateInt32(right);
        if (frame) MoveMembers(e.Items, *frame, SaturateInt32(dx), 0);
        e.DragAnchor.X = mx;
    }
    const int64_t dy = int64_t{my} - e.DragAnchor.Y;
    const int64_t top = box->Top + dy;
    const int64_t bottom = box->Bottom + dy;
    if (fits(top, bottom, m.TopMarginMm, m.BottomEdgeMm)) {
        box->Top = SaturateInt32(top);
        box->Bottom = SaturateInt32(bottom);
        if (frame) MoveMembers(e.Items, *frame, 0, SaturateInt32(dy));
        e.DragAnchor.Y = my;
    }
}

// One resize step: the dragged edge follows the pointer within the printable area and stays
// at least 2 mm from the opposite edge. A frame's members move with its top and left edges.
void ResizeBox(TPageEditor& e, int32_t mx, int32_t my) {
    const TResizedBox box = ResizedBox(e);
    if (!box.Rect) return;
    TRect& r = *box.Rect;
    const TPrinterMetrics& m = e.Metrics;
    switch (e.Mode) {
    case mdResizeTop: {
        int64_t t = std::max<int64_t>(my, static_cast<int64_t>(m.TopMarginMm));
        t = std::min<int64_t>(t, int64_t{r.Bottom} - 2);
        if (box.Frame) MoveMembers(e.Items, *box.Frame, 0, SaturateInt32(t - r.Top));
        r.Top = SaturateInt32(t);
        break;
    }
    case mdResizeBottom: {
        int64_t b = std::min<int64_t>(my, static_cast<int64_t>(m.BottomEdgeMm));
        b = std::max<int64_t>(b, int64_t{r.Top} + 2);
        r.Bottom = SaturateInt32(b);
        break;
    }
    case mdResizeLeft: {
        int64_t l = std::max<int64_t>(mx, static_cast<int64_t>(m.LeftMarginMm));
        l = std::min<int64_t>(l, int64_t{r.Right} - 2);
        if (box.Frame) MoveMembers(e.Items, *box.Frame, SaturateInt32(l - r.Left), 0);
        r.Left = SaturateInt32(l);
        break;
    }
    case mdResizeRight: {
        int64_t right = std::min<int64_t>(mx, static_cast<int64_t>(m.RightEdgeMm));
        right = std::max<int64_t>(right, int64_t{r.Left} + 2);
        r.Right = SaturateInt32(right);
        break;
    }
    default: break;
    }
    ShowDimensions(e, box.Name, r);
}

// A polygon or line follows the pointer while the pointer is over the printable area; its
// own points may lie outside it.
void DragPoints(TPageEditor& e, int32_t mx, int32_t my) {
    if (!InPrintableArea(e.Metrics, mx, my)) return;
    TPointList* points = DraggedPoints(e);
    if (!points) return;
    const int64_t dx = int64_t{mx} - e.DragAnchor.X;
    const int64_t dy = int64_t{my} - e.DragAnchor.Y;
    for (int i = 0; i < points->Count(); ++i)
        points->SetPoint(i, OffsetPointSaturated(points->PointAt(i), dx, dy));
    e.DragAnchor = TPoint{mx, my};
    e.RepaintRequested = true;
}

void DragOnePoint(TPageEditor& e, int32_t mx, int32_t my) {
    if (!InPrintableArea(e.Metrics, mx, my)) return;
    TPointList* points = DraggedPoints(e);
    const int32_t index = e.Mode == mdDragLinePoint ? e.LinePointIndex : e.PolygonPointIndex;
    if (!points || index < 0 || index >= points->Count()) return;
    points->SetPoint(index, TPoint{mx, my});
    e.RepaintRequested = true;
}

} // namespace

void MouseDown(TPageEditor& e, TCoreServices& s, TMouseButton button, int32_t x, int32_t y) {
    x = ClampPointer(x);
    y = ClampPointer(y);
    if (button == TMouseButton::Right) {
        // Ends the tool, drag or hover in progress; when idle, the repeat menu opens instead.
        e.History.Commit(e); // a drag ended this way is still one step
        if (e.Mode != mdIdle) EndTool(e, s);
        return;
    }
    if (PressInTool(e, s, x, y)) return;
    if (e.Mode == mdIdle) {
        const TPick pick = PickItem(e, x, y);
        if (pick.Kind != TPickKind::None) {
            StartDrag(e, s, pick, x, y);
            return;
        }
    }
    if (IsHovering(e.Mode)) {
        e.Mode = ResizeOfHover(e.Mode);
        e.History.Begin(e, ResizeStep(e.ResizeKind));
        ShowResizedDimensions(e);
    }
}

void MouseMove(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y) {
    x = ClampPointer(x);
    y = ClampPointer(y);
    const int32_t mx = ViewToMmX(e, x);
    const int32_t my = ViewToMmY(e, y);
    ShowPointer(e, mx, my);

    if (IsAtRest(e.Mode)) {
        Hover(e, s, x, y);
    } else if (IsDraggingBox(e.Mode)) {
        DragBox(e, mx, my);
        e.RepaintRequested = true;
    } else if (IsResizing(e.Mode)) {
        ResizeBox(e, mx, my);
        e.RepaintRequested = true;
    } else if (e.Mode == mdDragPolygon || e.Mode == mdDragLine) {
        DragPoints(e, mx, my);
    } else if (e.Mode == mdDragLinePoint || e.Mode == mdDragPolygonPoint) {
        DragOnePoint(e, mx, my);
    }
}

void MouseUp(TPageEditor& e, TCoreServices& s, TMouseButton, int32_t, int32_t) {
    // The drag or resize now ending becomes one step, when it changed the page.
    e.History.Commit(e);
    // Line and polygon entry go on until a right press; so does frame placing, where each
    // press adds a frame.
    if (e.Mode == mdIdle || StaysAfterRelease(e.Mode)) return;
    s.Screen.SetCursor(crArrow);
    e.ForgetPictureCursor = true;
    e.Mode = mdIdle;
    e.RepaintRequested = true;
    e.InfoText.clear();
}
