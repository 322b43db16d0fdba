#include "editor/HitTest.h"

#include <vector>

#include "document/ItemLists.h"
#include "editor/DeviceUnits.h"
#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "geometry/LineGeometry.h"

namespace {

// How far on each side of a line a press still grabs it (mm when picking, picture pixels for
// the Delete and Modify tools); lines wider than 2 are grabbed by their own width.
constexpr int32_t kLineGrip = 3;

std::vector<TPoint> MapPoints(const TPageEditor& e, std::span<const TPoint> mm) {
    std::vector<TPoint> view;
    view.reserve(mm.size());
    for (TPoint p : mm) view.push_back(ViewPointOf(e, p));
    return view;
}

// Over an item that the pick finds before the box whose edge is hovered.
bool OverCaptionOrText(const TPageEditor& e, int32_t x, int32_t y) {
    const TPageItems& items = e.Items;
    for (int i = 0; i < items.Captions.Count(); ++i)
        if (BoxHit(e, items.Captions[i].Rect, x, y)) return true;
    for (int i = 0; i < items.Texts.Count(); ++i)
        if (BoxHit(e, items.Texts[i].Rect, x, y)) return true;
    return false;
}

bool OverImage(const TPageEditor& e, int32_t x, int32_t y) {
    for (int i = 0; i < e.Items.Images.Count(); ++i)
        if (BoxHit(e, e.Items.Images[i].Rect, x, y)) return true;
    return false;
}

bool OverRectangle(const TPageEditor& e, int32_t x, int32_t y) {
    for (int i = 0; i < e.Items.Rectangles.Count(); ++i)
        if (BoxHit(e, e.Items.Rectangles[i].Rect, x, y)) return true;
    return false;
}

bool OverPolygon(const TPageEditor& e, int32_t x, int32_t y) {
    for (int i = 0; i < e.Items.Polygons.Count(); ++i)
        if (PolygonBodyHit(e, e.Items.Polygons[i], x, y)) return true;
    return false;
}

} // namespace

TPoint ViewPointOf(const TPageEditor& e, TPoint mm) {
    return TPoint{TruncClamped(MmToViewX(e, mm.X)), TruncClamped(MmToViewY(e, mm.Y))};
}

bool PointBoxHit(TPoint p, int32_t x, int32_t y) {
    const int64_t px = p.X, py = p.Y;
    return px - 2 <= x && x < px + 2 && py - 2 <= y && y < py + 2;
}

int32_t PointBoxIndex(const TPageEditor& e, const TPointList& points, int32_t x, int32_t y) {
    const std::span<const TPoint> mm = points.View();
    for (size_t i = 0; i < mm.size(); ++i)
        if (PointBoxHit(ViewPointOf(e, mm[i]), x, y)) return static_cast<int32_t>(i);
    return -1;
}

bool LineBodyHit(const TPageEditor& e, const TNyomtatoVonal& line, int32_t x, int32_t y) {
    const std::span<const TPoint> mm = line.View();
    if (mm.size() < 2) return false;
    const int32_t width = line.Width > 2 ? line.Width : kLineGrip;
    std::vector<TPoint> outline = PolylineOutline(mm, width);
    for (TPoint& p : outline) p = ViewPointOf(e, p);
    return PointInPolygon(x, y, outline);
}

bool LineViewBodyHit(const TPageEditor& e, const TPointList& line, int32_t x, int32_t y) {
    if (line.Count() < 2) return false;
    return PointInPolygon(x, y, PolylineOutline(MapPoints(e, line.View()), kLineGrip));
}

bool PolygonBodyHit(const TPageEditor& e, const TPointList& polygon, int32_t x, int32_t y) {
    if (polygon.Count() == 0) return false;
    return PointInPolygon(x, y, MapPoints(e, polygon.View()));
}

bool BoxHit(const TPageEditor& e, const TRect& mm, int32_t x, int32_t y) {
    return PtInRect(MmRectToView(e, mm), TPoint{x, y});
}

TPick PickItem(const TPageEditor& e, int32_t x, int32_t y) {
    const TPageItems& items = e.Items;
    for (int i = items.Lines.Count() - 1; i >= 0; --i) {
        const TNyomtatoVonal& line = items.Lines[i];
        const int32_t point = PointBoxIndex(e, line, x, y);
        if (point >= 0) return {TPickKind::LinePoint, i, point};
        if (LineBodyHit(e, line, x, y)) return {TPickKind::Line, i};
    }
    for (int i = items.Texts.Count() - 1; i >= 0; --i)
        if (BoxHit(e, items.Texts[i].Rect, x, y)) return {TPickKind::Text, i};
    for (int i = items.Captions.Count() - 1; i >= 0; --i)
        if (BoxHit(e, items.Captions[i].Rect, x, y)) return {TPickKind::Caption, i};
    for (int i = items.Images.Count() - 1; i >= 0; --i)
        if (BoxHit(e, items.Images[i].Rect, x, y)) return {TPickKind::Image, i};
    for (int i = items.Polygons.Count() - 1; i >= 0; --i) {
        const TNyomtatoPoligon& polygon = items.Polygons[i];
        const int32_t point = PointBoxIndex(e, polygon, x, y);
        if (point >= 0) return {TPickKind::PolygonPoint, i, point};
        if (PolygonBodyHit(e, polygon, x, y)) return {TPickKind::Polygon, i};
    }
    for (int i = items.Rectangles.Count() - 1; i >= 0; --i)
        if (BoxHit(e, items.Rectangles[i].Rect, x, y)) return {TPickKind::Rectangle, i};
    // A frame without fill lets presses inside the click-through area through to the page.
    const bool inClickThrough = BoxHit(e, e.Settings.ClickThroughArea, x, y);
    for (int i = items.Frames.Count() - 1; i >= 0; --i) {
        const TNyomtatoKeret& frame = items.Frames[i];
        if (!BoxHit(e, frame.Rect, x, y)) continue;
        if (inClickThrough && frame.FillStyle == static_cast<uint8_t>(TBrushStyle::bsClear))
            continue;
        return {TPickKind::Frame, i};
    }
    return {};
}

bool AnyPointBoxAt(const TPageEditor& e, int32_t x, int32_t y) {
    for (int i = e.Items.Lines.Count() - 1; i >= 0; --i)
        if (PointBoxIndex(e, e.Items.Lines[i], x, y) >= 0) return true;
    for (int i = e.Items.Polygons.Count() - 1; i >= 0; --i)
        if (PointBoxIndex(e, e.Items.Polygons[i], x, y) >= 0) return true;
    return false;
}

bool OnEdge(const TRect& r, TEditorMode edgeMode, int32_t x, int32_t y) {
    // In 64 bits, so that a rectangle at the ends of the int32 range cannot overflow.
    const int64_t left = r.Left, top = r.Top, right = r.Right, bottom = r.Bottom;
    const auto near = [](int64_t v, int64_t edge) { return edge - 1 <= v && v <= edge + 1; };
    switch (edgeMode) {
    case mdHoverTop: return near(y, top) && left <= x && x < right;
    case mdHoverBottom: return near(y, bottom) && left <= x && x < right;
    case mdHoverLeft: return near(x, left) && top <= y && y <= bottom;
    case mdHoverRight: return near(x, right) && top <= y && y <= bottom;
    default: return false;
    }
}

TEditorMode EdgeModeAt(const TRect& r, int32_t x, int32_t y) {
    for (TEditorMode mode : {mdHoverTop, mdHoverBottom, mdHoverLeft, mdHoverRight})
        if (OnEdge(r, mode, x, y)) return mode;
    return mdIdle;
}

THoveredEdge HoveredEdge(const TPageEditor& e, int32_t x, int32_t y) {
    if (!IsAtRest(e.Mode)) return {};
    // The edge kind being looked for: any while idle, else the hovered kind. The first box
    // whose edge is hit fixes the kind for the kinds searched after it, also when its edge is
    // not offered because another item lies there.
    TEditorMode kind = e.Mode;
    const auto edgeHit = [&](const TRect& r) {
        if (kind != mdIdle) return OnEdge(r, kind, x, y);
        kind = EdgeModeAt(r, x, y);
        return kind != mdIdle;
    };

    if (e.Settings.HeightsLegendVisible && edgeHit(MmRectToView(e, e.Settings.HeightsLegendRect)))
        return {kind, rkHeightsLegend, -1};

    const TPageItems& items = e.Items;
    for (int i = items.Frames.Count() - 1; i >= 0; --i) {
        if (!edgeHit(MmRectToView(e, items.Frames[i].Rect))) continue;
        if (OverCaptionOrText(e, x, y) || OverImage(e, x, y) || OverRectangle(e, x, y) ||
            OverPolygon(e, x, y))
            break;
        return {kind, rkFrame, i};
    }
    for (int i = items.Rectangles.Count() - 1; i >= 0; --i) {
        if (!edgeHit(MmRectToView(e, items.Rectangles[i].Rect))) continue;
        if (OverCaptionOrText(e, x, y) || OverImage(e, x, y) || OverPolygon(e, x, y)) break;
        return {kind, rkRectangle, i};
    }
    for (int i = items.Images.Count() - 1; i >= 0; --i) {
        if (!edgeHit(MmRectToView(e, items.Images[i].Rect))) continue;
        if (OverCaptionOrText(e, x, y)) break;
        return {kind, rkImage, i};
    }
    return {};
}
