#include "editor/Selection.h"

#include <algorithm>

#include "document/ItemLists.h"
#include "editor/HitTest.h"
#include "editor/PageEditor.h"
#include "editor/PageView.h"

namespace {

template <class List>
std::optional<TRect> BoxOf(const List& list, int32_t index) {
    if (index < 0 || index >= list.Count()) return std::nullopt;
    return list[index].Rect;
}

std::optional<TRect> PointsBox(const TPointList* points) {
    if (!points || points->Count() == 0) return std::nullopt;
    TPoint p = points->PointAt(0);
    TRect r{p.X, p.Y, p.X, p.Y};
    for (int i = 1; i < points->Count(); ++i) {
        p = points->PointAt(i);
        r.Left = std::min(r.Left, p.X);
        r.Top = std::min(r.Top, p.Y);
        r.Right = std::max(r.Right, p.X);
        r.Bottom = std::max(r.Bottom, p.Y);
    }
    return r;
}

template <class List>
const TPointList* PointsAt(const List& list, int32_t index) {
    return index >= 0 && index < list.Count() ? &list[index] : nullptr;
}

} // namespace

std::optional<TRect> ItemBounds(const TPageItems& items, TKKItem item) {
    switch (item.Kind) {
    case ikCaption: return BoxOf(items.Captions, item.Index);
    case ikText: return BoxOf(items.Texts, item.Index);
    case ikImage: return BoxOf(items.Images, item.Index);
    case ikRectangle: return BoxOf(items.Rectangles, item.Index);
    case ikFrame: return BoxOf(items.Frames, item.Index);
    case ikLine: return PointsBox(PointsAt(items.Lines, item.Index));
    case ikPolygon: return PointsBox(PointsAt(items.Polygons, item.Index));
    default: return std::nullopt;
    }
}

bool ItemExists(const TPageItems& items, TKKItem item) {
    return item.Kind >= ikCaption && item.Kind <= ikFrame && item.Index >= 0 &&
           item.Index < items.CountOf(item.Kind);
}

std::optional<TKKItem> PickedItem(const TPick& pick) {
    switch (pick.Kind) {
    case TPickKind::LinePoint:
    case TPickKind::Line: return TKKItem{ikLine, pick.Index};
    case TPickKind::Text: return TKKItem{ikText, pick.Index};
    case TPickKind::Caption: return TKKItem{ikCaption, pick.Index};
    case TPickKind::Image: return TKKItem{ikImage, pick.Index};
    case TPickKind::PolygonPoint:
    case TPickKind::Polygon: return TKKItem{ikPolygon, pick.Index};
    case TPickKind::Rectangle: return TKKItem{ikRectangle, pick.Index};
    case TPickKind::Frame: return TKKItem{ikFrame, pick.Index};
    case TPickKind::None: break;
    }
    return std::nullopt;
}

bool IsSelected(const TPageEditor& e, TKKItem item) {
    return std::find(e.Selection.begin(), e.Selection.end(), item) != e.Selection.end();
}

void SelectOnly(TPageEditor& e, TKKItem item) {
    e.Selection.assign(1, item);
    e.RepaintRequested = true;
}

void ToggleSelected(TPageEditor& e, TKKItem item) {
    const auto at = std::find(e.Selection.begin(), e.Selection.end(), item);
    if (at != e.Selection.end()) {
        e.Selection.erase(at);
    } else {
        e.Selection.push_back(item);
    }
    e.RepaintRequested = true;
}

void SelectAll(TPageEditor& e) {
    e.Selection.clear();
    for (int32_t kind = ikCaption; kind <= ikFrame; ++kind)
        for (int32_t i = 0; i < e.Items.CountOf(kind); ++i) e.Selection.push_back({kind, i});
    e.RepaintRequested = true;
}

void PruneSelection(TPageEditor& e) {
    std::vector<TKKItem> kept;
    for (const TKKItem& item : e.Selection)
        if (ItemExists(e.Items, item) && std::find(kept.begin(), kept.end(), item) == kept.end())
            kept.push_back(item);
    e.Selection = std::move(kept);
}

void SelectionItemRemoved(TPageEditor& e, int32_t kind, int32_t index) {
    std::erase(e.Selection, TKKItem{kind, index});
    for (TKKItem& item : e.Selection)
        if (item.Kind == kind && item.Index > index) --item.Index;
}

std::vector<TKKItem> ItemsInBand(const TPageEditor& e, TPoint a, TPoint b) {
    const TRect band{std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X),
                     std::max(a.Y, b.Y)};
    std::vector<TKKItem> inside;
    for (int32_t kind = ikCaption; kind <= ikFrame; ++kind) {
        for (int32_t i = 0; i < e.Items.CountOf(kind); ++i) {
            const auto mm = ItemBounds(e.Items, {kind, i});
            if (!mm) continue;
            const TRect r = MmRectToView(e, *mm);
            if (r.Left >= band.Left && r.Top >= band.Top && r.Right <= band.Right &&
                r.Bottom <= band.Bottom)
                inside.push_back({kind, i});
        }
    }
    return inside;
}

std::vector<TKKItem> WithMembers(const TPageItems& items, const std::vector<TKKItem>& chosen) {
    std::vector<TKKItem> all;
    const auto add = [&all, &items](TKKItem item) {
        if (ItemExists(items, item) && std::find(all.begin(), all.end(), item) == all.end())
            all.push_back(item);
    };
    for (const TKKItem& item : chosen) add(item);
    // Frames met on the way add their members, which may be frames again.
    for (size_t k = 0; k < all.size(); ++k) {
        if (all[k].Kind != ikFrame) continue;
        const TKKLista& members = items.Frames[all[k].Index].Members;
        for (int m = 0; m < members.Count(); ++m) add(members[m]);
    }
    return all;
}

std::optional<int32_t> FrameHolding(const TPageItems& items, TKKItem item) {
    for (int32_t f = 0; f < items.Frames.Count(); ++f) {
        const TKKLista& members = items.Frames[f].Members;
        for (int m = 0; m < members.Count(); ++m)
            if (members[m] == item) return f;
    }
    return std::nullopt;
}
