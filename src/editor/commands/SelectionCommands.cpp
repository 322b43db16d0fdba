#include "editor/commands/SelectionCommands.h"

#include <algorithm>
#include <vector>

#include "document/ItemLists.h"
#include "editor/ChangeStep.h"
#include "editor/commands/DeleteModify.h"
#include "editor/commands/ItemCommandSteps.h"
#include "editor/commands/ItemOperations.h"
#include "editor/PageEditor.h"
#include "editor/SaturatingInt.h"
#include "editor/Selection.h"

namespace {

// A box moved by (dx, dy) stays within the drag limits on the axis it moves along; a
// frame may touch the right and bottom edges, other boxes stay inside them.
bool BoxMoveFits(const TRect& r, int64_t dx, int64_t dy, bool frame, const TPrinterMetrics& m) {
    const auto fits = [frame](int64_t a, int64_t b, double min, double max) {
        return static_cast<double>(a) >= min &&
               (frame ? static_cast<double>(b) <= max : static_cast<double>(b) < max);
    };
    if (dx != 0 && !fits(r.Left + dx, r.Right + dx, m.LeftMarginMm, m.RightEdgeMm)) return false;
    if (dy != 0 && !fits(r.Top + dy, r.Bottom + dy, m.TopMarginMm, m.BottomEdgeMm)) return false;
    return true;
}

// Lines and polygons keep all their points within the printable area on the moving axis.
bool PointsMoveFits(const TRect& r, int64_t dx, int64_t dy, const TPrinterMetrics& m) {
    if (dx != 0 && (r.Left + dx < m.LeftMarginMm || r.Right + dx > m.RightEdgeMm)) return false;
    if (dy != 0 && (r.Top + dy < m.TopMarginMm || r.Bottom + dy > m.BottomEdgeMm)) return false;
    return true;
}

TPoint AnchorOf(const TPageItems& items, TKKItem item) {
    if (item.Kind == ikLine) return items.Lines[item.Index].PointAt(0);
    if (item.Kind == ikPolygon) return items.Polygons[item.Index].PointAt(0);
    const TRect r = *ItemBounds(items, item);
    return TPoint{r.Left, r.Top};
}

} // namespace

void OffsetItem(TPageItems& items, TKKItem item, int32_t dx, int32_t dy) {
    const auto box = [dx, dy](TRect& r) {
        r = TRect{SaturateInt32(int64_t{r.Left} + dx), SaturateInt32(int64_t{r.Top} + dy),
                  SaturateInt32(int64_t{r.Right} + dx), SaturateInt32(int64_t{r.Bottom} + dy)};
    };
    const auto points = [dx, dy](TPointList& p) {
        for (int i = 0; i < p.Count(); ++i)
            p.SetPoint(i, OffsetPointSaturated(p.PointAt(i), dx, dy));
    };
    switch (item.Kind) {
    case ikCaption: box(items.Captions[item.Index].Rect); break;
    case ikText: box(items.Texts[item.Index].Rect); break;
    case ikImage: box(items.Images[item.Index].Rect); break;
    case ikRectangle: box(items.Rectangles[item.Index].Rect); break;
    case ikFrame: box(items.Frames[item.Index].Rect); break;
    case ikLine: points(items.Lines[item.Index]); break;
    case ikPolygon: points(items.Polygons[item.Index]); break;
    default: break;
    }
}

std::string SelectionStepName(const TPageEditor& e, const std::string& verb) {
    return e.Selection.size() == 1 ? verb + " " + ItemKindName(e.Selection.front().Kind)
                                   : verb + " " + std::to_string(e.Selection.size()) + " items";
}

bool DeleteSelection(TPageEditor& e) {
    PruneSelection(e);
    if (e.Selection.empty()) return false;
    std::vector<TKKItem> doomed = e.Selection;
    // Later items first, so the indices of the others still hold.
    std::sort(doomed.begin(), doomed.end(), [](TKKItem a, TKKItem b) {
        return a.Kind != b.Kind ? a.Kind < b.Kind : a.Index > b.Index;
    });
    {
        TChangeStep step(e, SelectionStepName(e, "deleted"));
        for (const TKKItem& item : doomed) RemoveItem(e, item.Kind, item.Index);
    }
    e.Selection.clear();
    e.RepaintRequested = true;
    return true;
}

bool NudgeSelection(TPageEditor& e, int32_t dx, int32_t dy) {
    PruneSelection(e);
    if (e.Selection.empty()) return false;
    for (const TKKItem& item : e.Selection) {
        const auto r = ItemBounds(e.Items, item);
        if (!r) continue; // a line without points has nothing to move
        const bool fits = item.Kind == ikLine || item.Kind == ikPolygon
                              ? PointsMoveFits(*r, dx, dy, e.Metrics)
                              : BoxMoveFits(*r, dx, dy, item.Kind == ikFrame, e.Metrics);
        if (!fits) {
            e.InfoText = "The selection cannot move farther that way";
            return false;
        }
    }
    ModifyPage(e, "moved selection", [&] {
        for (const TKKItem& item : WithMembers(e.Items, e.Selection))
            OffsetItem(e.Items, item, dx, dy);
    });
    e.RepaintRequested = true;
    return true;
}

bool ModifySelected(TPageEditor& e, TCoreServices& s) {
    PruneSelection(e);
    if (e.Selection.size() != 1) return false;
    return ModifyWithDialog(e, s, e.Selection.front());
}

std::optional<int32_t> FrameToPutInto(const TPageEditor& e, TKKItem item) {
    const auto bounds = ItemBounds(e.Items, item);
    if (!bounds || FrameHolding(e.Items, item)) return std::nullopt;
    // A frame cannot go into itself or into a frame it holds.
    const std::vector<TKKItem> own = WithMembers(e.Items, {item});
    const auto allowed = [&](int32_t f) {
        return std::find(own.begin(), own.end(), TKKItem{ikFrame, f}) == own.end();
    };
    const TPoint anchor = AnchorOf(e.Items, item);
    for (int32_t f = e.Items.Frames.Count() - 1; f >= 0; --f) {
        const TRect& r = e.Items.Frames[f].Rect;
        if (allowed(f) && anchor.X >= r.Left && anchor.X < r.Right && anchor.Y >= r.Top &&
            anchor.Y < r.Bottom)
            return f;
    }
    for (int32_t f = e.Items.Frames.Count() - 1; f >= 0; --f) {
        const TRect& r = e.Items.Frames[f].Rect;
        if (allowed(f) && bounds->Left < r.Right && bounds->Right > r.Left &&
            bounds->Top < r.Bottom && bounds->Bottom > r.Top)
            return f;
    }
    return std::nullopt;
}

bool PutIntoFrame(TPageEditor& e, TKKItem item) {
    const auto frame = FrameToPutInto(e, item);
    if (!frame) return false;
    ModifyPage(e, "put into frame",
               [&] { e.Items.Frames[*frame].Members.AddReference(item.Kind, item.Index); });
    e.RepaintRequested = true;
    return true;
}

bool TakeOutOfFrame(TPageEditor& e, TKKItem item) {
    const auto frame = FrameHolding(e.Items, item);
    if (!frame) return false;
    ModifyPage(e, "taken out of frame", [&] {
        TKKLista& members = e.Items.Frames[*frame].Members;
        for (int m = members.Count() - 1; m >= 0; --m)
            if (members[m] == item) members.Delete(m);
    });
    e.RepaintRequested = true;
    return true;
}
