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

bool IsHover(int32_t mode) { return mode >= mdHoverTop && mode <= mdHoverRight; }

// Sets the screen cursor when it changes (idle moves decide it anew on every move).
void ShowCursor(TScreen& screen, TCursor cursor) {
    if (screen.Cursor() != cursor) screen.SetCursor(cursor);
}

// The item an index field names, or null when the field no longer names one.
template <class List>
auto ItemAt(List& list, int32_t index) -> decltype(&list[0]) {
    return index >= 0 && index < list.Count() ? &list[index] : nullptr;
}

// The rectangle of the box being dragged (modes 1, 2, 3, 24, 27).
TRect* DraggedBox(TPageEditor& e) {
    TPageItems& items = e.Items;
    switch (e.Mode) {
    case mdDragFrame:
        if (auto* frame = ItemAt(items.Frames, e.FrameIndex)) return &frame->Rect;
        break;
    case mdDragCaption:
        if (auto* caption = ItemAt(items.Captions, e.CaptionOrTextIndex)) return &caption->Rect;
        break;
    case mdDragImage:
        if (auto* image = ItemAt(items.Images, e.ImageIndex)) return &image->Rect;
        break;
    case mdDragText:
        if (auto* text = ItemAt(items.Texts, e.CaptionOrTextIndex)) return &text->Rect;
        break;
    case mdDragRectangle:
        if (auto* rectangle = ItemAt(items.Rectangles, e.RectangleIndex)) return &rectangle->Rect;
        break;
    default: break;
    }
    return nullptr;
}

// The box whose edge is hovered or dragged, with its name for the info line.
struct TResizedBox {
    TRect* Rect = nullptr;
    TNyomtatoKeret* Frame = nullptr; // when the box is a frame's
    const char* Name = "";
};

TResizedBox ResizedBox(TPageEditor& e) {
    TPageItems& items = e.Items;
    switch (e.ResizeKind) {
    case rkFrame:
        if (auto* frame = ItemAt(items.Frames, e.FrameIndex)) return {&frame->Rect, frame, "keret"};
        break;
    case rkRectangle:
        if (auto* rectangle = ItemAt(items.Rectangles, e.RectangleIndex))
            return {&rectangle->Rect, nullptr, "négyszög"};
        break;
    case rkImage:
        if (auto* image = ItemAt(items.Images, e.ImageIndex)) return {&image->Rect, nullptr, "kép"};
        break;
    default: break;
    }
    return {};
}

// The points of the polygon or line being dragged whole or by one point (modes 29..32).
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

void StartDrag(TPageEditor& e, TCoreServices& s, const TPick& pick, int32_t x, int32_t y) {
    const TPoint anchor{ViewToMmX(e, x), ViewToMmY(e, y)};
    const char* info = "";
    const char* step = ""; // the history step the drag makes
    switch (pick.Kind) {
    case TPickKind::LinePoint:
        e.Mode = mdDragLinePoint;
        e.LineIndex = pick.Index;
        e.LinePointIndex = pick.PointIndex;
        info = "Drag the line point to appropriate place";
        step = "moved line point";
        break;
    case TPickKind::Line:
        e.Mode = mdDragLine;
        e.LineIndex = pick.Index;
        e.DragAnchor = anchor;
        info = "Drag the line to the appropriate place";
        step = "moved line";
        break;
    case TPickKind::Text:
        e.Mode = mdDragText;
        e.CaptionOrTextIndex = pick.Index;
        e.DragAnchor = anchor;
        info = "Drag the text to the appropriate place";
        step = "moved text";
        break;
    case TPickKind::Caption:
        e.Mode = mdDragCaption;
        e.CaptionOrTextIndex = pick.Index;
        e.DragAnchor = anchor;
        info = "Drag the caption to the appropriate place";
        step = "moved caption";
        break;
    case TPickKind::Image:
        e.Mode = mdDragImage;
        e.ImageIndex = pick.Index;
        e.DragAnchor = anchor;
        info = "Drag the image to the appropriate place";
        step = "moved image";
        break;
    case TPickKind::PolygonPoint:
        e.Mode = mdDragPolygonPoint;
        e.PolygonIndex = pick.Index;
        e.PolygonPointIndex = pick.PointIndex;
        info = "Drag the polygon point to the appropriate place";
        step = "moved polygon point";
        break;
    case TPickKind::Polygon:
        e.Mode = mdDragPolygon;
        e.PolygonIndex = pick.Index;
        e.DragAnchor = anchor;
        info = "Drag the polygon to the appropriate place";
        step = "moved polygon";
        break;
    case TPickKind::Rectangle:
        e.Mode = mdDragRectangle;
        e.RectangleIndex = pick.Index;
        e.DragAnchor = anchor;
        info = "Drag the rectangle to the appropriate place";
        step = "moved rectangle";
        break;
    case TPickKind::Frame:
        e.Mode = mdDragFrame;
        e.ResizeKind = rkFrame;
        e.FrameIndex = pick.Index;
        e.DragAnchor = anchor;
        info = "Drag the frame to the appropriate place";
        step = "moved frame";
        break;
    case TPickKind::None: return;
    }
    // The whole drag, press to release, is one step.
    e.History.Begin(e, step);
    s.Screen.SetCursor(crDrag);
    e.InfoText = info;
}

const char* ResizeStep(int32_t resizeKind) {
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
        if (e.Mode == mdIdle)
            ShowCursor(s.Screen, edge.Mode <= mdHoverBottom ? crSizeNS : crSizeWE);
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
    if (IsHover(e.Mode)) {
        e.Mode += mdResizeTop - mdHoverTop;
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

    switch (e.Mode) {
    case mdIdle:
    case mdHoverTop:
    case mdHoverBottom:
    case mdHoverLeft:
    case mdHoverRight: Hover(e, s, x, y); break;
    case mdDragFrame:
    case mdDragCaption:
    case mdDragImage:
    case mdDragText:
    case mdDragRectangle:
        DragBox(e, mx, my);
        e.RepaintRequested = true;
        break;
    case mdResizeTop:
    case mdResizeBottom:
    case mdResizeLeft:
    case mdResizeRight:
        ResizeBox(e, mx, my);
        e.RepaintRequested = true;
        break;
    case mdDragPolygon:
    case mdDragLine: DragPoints(e, mx, my); break;
    case mdDragLinePoint:
    case mdDragPolygonPoint: DragOnePoint(e, mx, my); break;
    default: break;
    }
}

void MouseUp(TPageEditor& e, TCoreServices& s, TMouseButton, int32_t, int32_t) {
    // The drag or resize now ending becomes one step, when it changed the page.
    e.History.Commit(e);
    // Line and polygon entry go on until a right press; so does frame placing, where each
    // press adds a frame.
    if (e.Mode == mdIdle || e.Mode == mdNewLine || e.Mode == mdNewPolygon || e.Mode == mdNewFrame)
        return;
    s.Screen.SetCursor(crArrow);
    e.ForgetPictureCursor = true;
    e.Mode = mdIdle;
    e.RepaintRequested = true;
    e.InfoText.clear();
}
