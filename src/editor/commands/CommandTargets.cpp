#include "editor/commands/CommandTargets.h"

#include <numbers>

#include "document/ItemLists.h"
#include "editor/DeviceUnits.h"
#include "editor/HitTest.h"
#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "geometry/LineGeometry.h"

namespace {

constexpr double kPi = std::numbers::pi;
std::optional<TKKItem> LastLineHit(const TPageEditor& e, int32_t x, int32_t y) {
    const TNyomtatoVonalLista& lines = e.Items.Lines;
    for (int i = lines.Count() - 1; i >= 0; --i)
        if (LineViewBodyHit(e, lines[i], x, y)) return TKKItem{ikLine, i};
    return std::nullopt;
}

// The last item of the list whose mm Rect contains p (right and bottom excluded).
template <class List>
std::optional<TKKItem> LastBoxHit(const List& list, int32_t kind, TPoint p) {
    for (int i = list.Count() - 1; i >= 0; --i)
        if (PtInRect(list[i].Rect, p)) return TKKItem{kind, i};
    return std::nullopt;
}

bool PolygonHit(const TNyomtatoPoligon& polygon, TPoint p) {
    return polygon.Count() > 0 && PointInPolygon(p.X, p.Y, polygon.View());
}

// Texts, captions and images, the boxes that lie above polygons.
std::optional<TKKItem> UpperBoxHit(const TPageItems& items, TPoint p) {
    if (auto hit = LastBoxHit(items.Texts, ikText, p)) return hit;
    if (auto hit = LastBoxHit(items.Captions, ikCaption, p)) return hit;
    return LastBoxHit(items.Images, ikImage, p);
}

// Rectangles, then frames: the boxes below polygons.
std::optional<TKKItem> LowerBoxHit(const TPageItems& items, TPoint p) {
    if (auto hit = LastBoxHit(items.Rectangles, ikRectangle, p)) return hit;
    return LastBoxHit(items.Frames, ikFrame, p);
}

TPoint MmPoint(const TPageEditor& e, int32_t x, int32_t y) {
    return TPoint{ViewToMmX(e, x), ViewToMmY(e, y)};
}

} // namespace

std::vector<TPoint> CompassOutline(const TPageEditor& e) {
    if (!e.Compass) return {};
    const TCompass& compass = *e.Compass;
    // Held to the device range, so a compass from a damaged file cannot overflow.
    const int32_t a = TruncClamped(MmToViewX(e, compass.Centre.X));
    const int32_t b = TruncClamped(MmToViewY(e, compass.Centre.Y));
    const int32_t c = TruncClamped(MmToViewX(e, compass.Size) - MmToViewX(e, 0));
    const int32_t d = TruncClamped(MmToViewY(e, compass.Size) - MmToViewY(e, 0));
    const int32_t q = c / 4;
    if (compass.Simple) return {{a, b - d}, {a + q, b}, {a, b + d}, {a - q, b}};
    return {
        {a, b - d}, PolarPoint(a, b, q, 7 * kPi / 4), {a + c, b}, PolarPoint(a, b, q, kPi / 4),
        {a, b + d}, PolarPoint(a, b, q, 3 * kPi / 4), {a - c, b}, PolarPoint(a, b, q, 5 * kPi / 4)};
}

bool CompassHit(const TPageEditor& e, int32_t x, int32_t y) {
    if (!e.Compass || !e.Compass->Visible) return false;
    return PointInPolygon(x, y, CompassOutline(e));
}

std::optional<TKKItem> FindDeleteTarget(const TPageEditor& e, int32_t x, int32_t y) {
    if (auto hit = LastLineHit(e, x, y)) return hit;
    const TPoint p = MmPoint(e, x, y);
    if (auto hit = UpperBoxHit(e.Items, p)) return hit;
    const TNyomtatoPoligonLista& polygons = e.Items.Polygons;
    for (int i = 0; i < polygons.Count(); ++i)
        if (PolygonHit(polygons[i], p)) return TKKItem{ikPolygon, i};
    return LowerBoxHit(e.Items, p);
}

std::optional<TKKItem> FindModifyTarget(const TPageEditor& e, int32_t x, int32_t y) {
    if (auto hit = LastLineHit(e, x, y)) return hit;
    const TPoint p = MmPoint(e, x, y);
    if (auto hit = UpperBoxHit(e.Items, p)) return hit;
    const TNyomtatoPoligonLista& polygons = e.Items.Polygons;
    for (int i = polygons.Count() - 1; i >= 0; --i)
        if (PolygonHit(polygons[i], p)) return TKKItem{ikPolygon, i};
    return LowerBoxHit(e.Items, p);
}
