#include "editor/FrameMembership.h"

#include "document/ItemLists.h"
#include "editor/SaturatingInt.h"

namespace {

template <class List>
bool ValidIndex(const List& list, int32_t index) {
    return index >= 0 && index < list.Count();
}

void MovePoints(TPointList& points, int32_t dx, int32_t dy) {
    for (int i = 0; i < points.Count(); ++i) {
        const TPoint p = points.PointAt(i);
        points.SetPoint(i, OffsetPointSaturated(p, dx, dy));
    }
}

} // namespace

void AttachToFrame(TPageItems& items, int32_t kind, int32_t x, int32_t y) {
    const int count = items.CountOf(kind);
    if (count == 0) return;
    int last = items.Frames.Count() - 1;
    if (kind == ikFrame) --last; // a new frame is never its own member
    for (int i = last; i >= 0; --i) {
        TNyomtatoKeret& frame = items.Frames[i];
        if (PtInRect(frame.Rect, TPoint{x, y})) {
            frame.Members.AddReference(kind, count - 1);
            return;
        }
    }
}

void DetachReference(TPageItems& items, int32_t kind, int32_t index) {
    // A document may list an item in more than one frame; every such reference goes, so no
    // frame is left pointing at the item that moves into the freed place.
    for (int f = 0; f < items.Frames.Count(); ++f) {
        TKKLista& members = items.Frames[f].Members;
        for (int m = members.Count() - 1; m >= 0; --m) {
            TKKItem& ref = members[m];
            if (ref.Kind != kind) continue;
            if (ref.Index == index) {
                members.Delete(m);
            } else if (ref.Index > index) {
                --ref.Index;
            }
        }
    }
}

void MoveMembers(TPageItems& items, const TNyomtatoKeret& frame, int32_t dx, int32_t dy) {
    for (int m = 0; m < frame.Members.Count(); ++m) {
        const TKKItem ref = frame.Members[m];
        const int32_t i = ref.Index;
        switch (ref.Kind) {
        case ikCaption:
            if (ValidIndex(items.Captions, i)) OffsetRectSaturated(items.Captions[i].Rect, dx, dy);
            break;
        case ikText:
            if (ValidIndex(items.Texts, i)) OffsetRectSaturated(items.Texts[i].Rect, dx, dy);
            break;
        case ikImage:
            if (ValidIndex(items.Images, i)) OffsetRectSaturated(items.Images[i].Rect, dx, dy);
            break;
        case ikRectangle:
            if (ValidIndex(items.Rectangles, i))
                OffsetRectSaturated(items.Rectangles[i].Rect, dx, dy);
            break;
        case ikFrame:
            if (ValidIndex(items.Frames, i) && &items.Frames[i] != &frame)
                OffsetRectSaturated(items.Frames[i].Rect, dx, dy);
            break;
        case ikLine:
            if (ValidIndex(items.Lines, i)) MovePoints(items.Lines[i], dx, dy);
            break;
        case ikPolygon:
            if (ValidIndex(items.Polygons, i)) MovePoints(items.Polygons[i], dx, dy);
            break;
        default: break;
        }
    }
}
