#include "editor/MouseTools.h"

#include <algorithm>
#include <string>

#include "editor/ChangeStep.h"
#include "editor/commands/ItemCommands.h"
#include "editor/commands/SelectionCommands.h"
#include "editor/CoreServices.h"
#include "editor/FrameMembership.h"
#include "editor/HitTest.h"
#include "editor/Keys.h"
#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "editor/SaturatingInt.h"
#include "editor/Selection.h"
#include "editor/SelectionDrawing.h"
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
        // The whole drag, press to release, is one step.
        BeginGesture(e, row.Step);
        e.Mode = row.Mode;
        e.*row.Index = pick.Index;
        if (row.PointIndex) {
            e.*row.PointIndex = pick.PointIndex;
        } else {
            e.DragAnchor = TPoint{ViewToMmX(e, x), ViewToMmY(e, y)};
        }
        if (row.Mode == mdDragFrame) e.ResizeKind = rkFrame;
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
bool HoverCorner(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y);

void Hover(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y) {
    if (e.Mode == mdHoverCorner) e.Mode = mdIdle;
    if (e.Mode == mdIdle && HoverCorner(e, s, x, y)) return;
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
void ResizeEdge(TPageEditor& e, const TResizedBox& box, TEditorMode edgeMode, int32_t mx,
                int32_t my) {
    TRect& r = *box.Rect;
    const TPrinterMetrics& m = e.Metrics;
    switch (edgeMode) {
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
}

void ResizeBox(TPageEditor& e, int32_t mx, int32_t my) {
    const TResizedBox box = ResizedBox(e);
    if (!box.Rect) return;
    ResizeEdge(e, box, e.Mode, mx, my);
    ShowDimensions(e, box.Name, *box.Rect);
}

// The edges a corner handle moves: vertical first, then horizontal.
constexpr TEditorMode kCornerEdges[4][2] = {{mdResizeTop, mdResizeLeft},
                                            {mdResizeTop, mdResizeRight},
                                            {mdResizeBottom, mdResizeRight},
                                            {mdResizeBottom, mdResizeLeft}};

// The picture's height for a width, keeping its proportions (nothing without a picture).
std::optional<int64_t> ProportionalHeight(const TNyomtatoKep& image, int64_t width) {
    const TMemBitmap& p = *image.Picture;
    if (!p.HasImage || p.Width <= 0 || p.Height <= 0) return std::nullopt;
    return std::max<int64_t>(2, width * p.Height / p.Width);
}

// A corner drag: both edges follow the pointer by the edge rules; with Shift an image's
// height follows its width instead, the moved edge being the corner's.
void ResizeCorner(TPageEditor& e, int32_t mx, int32_t my, bool keepProportions) {
    const TResizedBox box = ResizedBox(e);
    if (!box.Rect || e.Corner < 0 || e.Corner > 3) return;
    ResizeEdge(e, box, kCornerEdges[e.Corner][1], mx, my);
    if (keepProportions && e.ResizeKind == rkImage) {
        TRect& r = *box.Rect;
        if (const auto h =
                ProportionalHeight(e.Items.Images[e.ImageIndex], int64_t{r.Right} - r.Left))
            my = SaturateInt32(e.Corner <= 1 ? int64_t{r.Bottom} - *h : int64_t{r.Top} + *h);
    }
    ResizeEdge(e, box, kCornerEdges[e.Corner][0], mx, my);
    ShowDimensions(e, box.Name, *box.Rect);
}

// The corner handle of a selected frame, rectangle or image under the pointer.
bool HoverCorner(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y) {
    for (auto item = e.Selection.rbegin(); item != e.Selection.rend(); ++item) {
        TResizeKind kind = rkNone;
        if (item->Kind == ikFrame) kind = rkFrame;
        if (item->Kind == ikRectangle) kind = rkRectangle;
        if (item->Kind == ikImage) kind = rkImage;
        const auto mm = kind != rkNone ? ItemBounds(e.Items, *item) : std::nullopt;
        if (!mm) continue;
        const auto corners = HandleCorners(MmOutlineToView(e, *mm));
        for (int32_t c = 0; c < 4; ++c) {
            const TPoint p = corners[c];
            if (std::abs(int64_t{x} - p.X) > kHandleSize / 2 ||
                std::abs(int64_t{y} - p.Y) > kHandleSize / 2)
                continue;
            e.Mode = mdHoverCorner;
            e.ResizeKind = kind;
            e.Corner = c;
            if (kind == rkFrame) e.FrameIndex = item->Index;
            if (kind == rkRectangle) e.RectangleIndex = item->Index;
            if (kind == rkImage) e.ImageIndex = item->Index;
            ShowCursor(s.Screen, c % 2 == 0 ? crSizeNWSE : crSizeNESW);
            return true;
        }
    }
    return false;
}

// The new box a placing tool just made, spanned from the press to the pointer: each side at
// least 2 mm, within the printable area as an edge resize keeps it. With Shift an image keeps
// its picture's proportions.
void SpanNewItem(TPageEditor& e, int32_t x, int32_t y, bool keepProportions) {
    if (!e.SpanMoved) {
        if (std::abs(int64_t{x} - e.SpanPress.X) < 4 && std::abs(int64_t{y} - e.SpanPress.Y) < 4)
            return; // a click keeps the tool's own size
        e.SpanMoved = true;
    }
    if (e.Spanned.Index < 0) { // the rectangle is made at the release
        e.BandEnd = TPoint{x, y};
        e.RepaintRequested = true;
        return;
    }
    TRect* rect = nullptr;
    TPageItems& items = e.Items;
    const int32_t i = e.Spanned.Index;
    if (e.Spanned.Kind == ikFrame && i >= 0 && i < items.Frames.Count())
        rect = &items.Frames[i].Rect;
    if (e.Spanned.Kind == ikRectangle && i >= 0 && i < items.Rectangles.Count())
        rect = &items.Rectangles[i].Rect;
    if (e.Spanned.Kind == ikImage && i >= 0 && i < items.Images.Count())
        rect = &items.Images[i].Rect;
    if (!rect) return;
    const TPrinterMetrics& m = e.Metrics;
    const int64_t mx = ViewToMmX(e, x), my = ViewToMmY(e, y);
    const auto span = [](int64_t from, int64_t to, int64_t lo, int64_t hi) {
        int64_t a = std::min(from, to), b = std::max(from, to);
        if (to >= from)
            b = std::max(b, from + 2);
        else
            a = std::min(a, from - 2);
        a = std::max(a, lo);
        b = std::min(b, hi);
        if (b - a < 2) {
            if (to >= from)
                a = b - 2;
            else
                b = a + 2;
        }
        return std::pair<int64_t, int64_t>{a, b};
    };
    const auto [left, right] = span(e.SpanStart.X, mx, static_cast<int64_t>(m.LeftMarginMm),
                                    static_cast<int64_t>(m.RightEdgeMm));
    auto [top, bottom] = span(e.SpanStart.Y, my, static_cast<int64_t>(m.TopMarginMm),
                              static_cast<int64_t>(m.BottomEdgeMm));
    if (keepProportions && e.Spanned.Kind == ikImage) {
        if (const auto h = ProportionalHeight(items.Images[i], right - left)) {
            if (my >= e.SpanStart.Y) {
                bottom = top + *h;
            } else {
                top = bottom - *h;
            }
        }
    }
    *rect =
        TRect{SaturateInt32(left), SaturateInt32(top), SaturateInt32(right), SaturateInt32(bottom)};
    e.RepaintRequested = true;
}

// A placing tool's press made a new box: it follows the pointer until the release, and the
// placement and the span are one step.
bool StartSpan(TPageEditor& e, int32_t kind, int countBefore, int32_t x, int32_t y) {
    const int count = e.Items.CountOf(kind);
    if (count <= countBefore) return false;
    e.Spanned = TKKItem{kind, count - 1};
    e.SpanPress = TPoint{x, y};
    e.SpanStart = TPoint{ViewToMmX(e, x), ViewToMmY(e, y)};
    e.SpanMoved = false;
    e.Spanning = true;
    SelectOnly(e, e.Spanned);
    return true;
}

// Presses of the rectangle, frame and image placing tools: the tool acts as it always does,
// then a drag may span the new box.
bool PressInSpanningTool(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y) {
    int32_t kind = 0;
    switch (e.Mode) {
    case mdNewRectangle:
        // The colour dialog would take the drag away: the rectangle is made at the release,
        // at the press point, and spanned to the release point.
        e.Spanning = true;
        e.Spanned = TKKItem{ikRectangle, -1};
        e.SpanPress = e.BandStart = e.BandEnd = TPoint{x, y};
        e.SpanStart = TPoint{ViewToMmX(e, x), ViewToMmY(e, y)};
        e.SpanMoved = false;
        return true;
    case mdNewFrame: kind = ikFrame; break;
    case mdPlaceImage: kind = ikImage; break;
    default: return false;
    }
    const int before = e.Items.CountOf(kind);
    BeginGesture(e, std::string("new ") + ItemKindName(kind));
    PressInTool(e, s, x, y);
    if (!StartSpan(e, kind, before, x, y)) CommitGesture(e);
    return true;
}

// The release that ends the span of a rectangle still to be made: the rectangle tool's press
// at the press point, then the span to the release point, as one step.
void FinishPendingRectangle(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y,
                            unsigned shift) {
    const bool moved = e.SpanMoved;
    const int before = e.Items.Rectangles.Count();
    {
        const TChangeStep step(e, "new rectangle");
        PressInTool(e, s, e.SpanPress.X, e.SpanPress.Y);
        if (e.Items.Rectangles.Count() > before) {
            e.Spanned = TKKItem{ikRectangle, before};
            if (moved) SpanNewItem(e, x, y, (shift & ssShift) != 0);
            SelectOnly(e, e.Spanned);
        }
    }
    e.RepaintRequested = true;
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

void MouseDown(TPageEditor& e, TCoreServices& s, TMouseButton button, int32_t x, int32_t y,
               unsigned shift) {
    x = ClampPointer(x);
    y = ClampPointer(y);
    e.Pointer = TPoint{x, y};
    if (button == TMouseButton::Right) {
        // Ends the tool, drag or hover in progress; when idle, the repeat menu opens instead,
        // or the item menu over an item, which then acts on it.
        CommitGesture(e); // a drag ended this way is still one step
        if (e.Mode == mdRubberBand || e.Mode == mdHoverCorner) {
            e.Mode = mdIdle;
            e.RepaintRequested = true;
        }
        e.Spanning = false;
        if (e.Mode != mdIdle) {
            EndTool(e, s);
        } else if (const auto item = PickedItem(PickItem(e, x, y)); item && !IsSelected(e, *item)) {
            SelectOnly(e, *item);
        }
        return;
    }
    e.Spanning = false;
    if (PressInSpanningTool(e, s, x, y)) return;
    if (PressInTool(e, s, x, y)) return;
    if (e.Mode == mdIdle) {
        const TPick pick = PickItem(e, x, y);
        if (const auto item = PickedItem(pick)) {
            if (shift & ssShift) {
                ToggleSelected(e, *item);
            } else if (!IsSelected(e, *item)) {
                SelectOnly(e, *item);
            }
            StartDrag(e, s, pick, x, y);
            return;
        }
        // The empty sheet: a band from here selects what it encloses.
        if (!(shift & ssShift)) e.Selection.clear();
        e.Mode = mdRubberBand;
        e.BandStart = e.BandEnd = TPoint{x, y};
        e.RepaintRequested = true;
        return;
    }
    if (IsHovering(e.Mode)) {
        BeginGesture(e, ResizeStep(e.ResizeKind));
        e.Mode = ResizeOfHover(e.Mode);
        ShowResizedDimensions(e);
    }
}

void MouseMove(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y, unsigned shift) {
    x = ClampPointer(x);
    y = ClampPointer(y);
    e.Pointer = TPoint{x, y};
    const int32_t mx = ViewToMmX(e, x);
    const int32_t my = ViewToMmY(e, y);
    ShowPointer(e, mx, my);
    // Only a gesture holding its step may move an item: one whose step was taken away ends.
    if ((IsDragging(e.Mode) || (e.Spanning && e.Spanned.Index >= 0)) && !e.GestureOpen) {
        EndGesture(e);
        return;
    }
    if (e.Spanning) {
        SpanNewItem(e, x, y, (shift & ssShift) != 0);
        return;
    }

    if (IsAtRest(e.Mode)) {
        Hover(e, s, x, y);
    } else if (e.Mode == mdRubberBand) {
        e.BandEnd = TPoint{x, y};
        e.RepaintRequested = true;
    } else if (e.Mode == mdResizeCorner) {
        ResizeCorner(e, mx, my, (shift & ssShift) != 0);
        e.RepaintRequested = true;
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

void MouseUp(TPageEditor& e, TCoreServices& s, TMouseButton, int32_t x, int32_t y, unsigned shift) {
    // The drag or resize now ending becomes one step, when it changed the page.
    CommitGesture(e);
    if (e.Mode == mdRubberBand) {
        e.BandEnd = TPoint{ClampPointer(x), ClampPointer(y)};
        // Shift at the press kept the selection for the band to add to; the key may be let
        // go before the release, so what is selected already is never added again.
        for (const TKKItem& item : ItemsInBand(e, e.BandStart, e.BandEnd))
            if (!IsSelected(e, item)) e.Selection.push_back(item);
        e.Mode = mdIdle;
        e.RepaintRequested = true;
        return;
    }
    if (e.Spanning) {
        e.Spanning = false;
        e.RepaintRequested = true;
        if (e.Spanned.Index < 0 && e.Mode == mdNewRectangle) {
            FinishPendingRectangle(e, s, ClampPointer(x), ClampPointer(y), shift);
            return;
        }
    }
    // Line and polygon entry go on until a right press; so does frame placing, where each
    // press adds a frame.
    if (e.Mode == mdIdle || StaysAfterRelease(e.Mode)) return;
    s.Screen.SetCursor(crArrow);
    e.ForgetPictureCursor = true;
    e.Mode = mdIdle;
    e.RepaintRequested = true;
    e.InfoText.clear();
}

void MouseDoubleClick(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y) {
    if (e.Mode != mdIdle) return;
    const auto item = PickedItem(PickItem(e, ClampPointer(x), ClampPointer(y)));
    if (!item) return;
    SelectOnly(e, *item);
    ModifySelected(e, s);
}

void MouseLeave(TPageEditor& e) { e.Pointer.reset(); }
