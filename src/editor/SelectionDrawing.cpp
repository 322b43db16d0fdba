#include "editor/SelectionDrawing.h"

#include <algorithm>

#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "editor/Selection.h"
#include "platform/Canvas.h"

namespace {

constexpr TColor kSelectionColor = 0xD77800; // a clear blue
constexpr TColor kMemberColor = 0x00A000;    // green

void Outline(TCanvas& c, const TRect& r, TColor color, TPenStyle style) {
    c.Pen = TPen{color, 1, style};
    c.Brush.Style = TBrushStyle::bsClear;
    c.Rectangle(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
}

} // namespace

std::array<TPoint, 4> HandleCorners(const TRect& v) {
    return {TPoint{v.Left, v.Top}, TPoint{v.Right, v.Top}, TPoint{v.Right, v.Bottom},
            TPoint{v.Left, v.Bottom}};
}

void PaintSelection(TCanvas& c, const TPageEditor& e) {
    const TBrush brush = c.Brush;
    const TPen pen = c.Pen;
    for (const TKKItem& item : e.Selection) {
        if (item.Kind != ikFrame || !ItemExists(e.Items, item)) continue;
        const TKKLista& members = e.Items.Frames[item.Index].Members;
        for (int m = 0; m < members.Count(); ++m)
            if (const auto mm = ItemBounds(e.Items, members[m]))
                Outline(c, MmOutlineToView(e, *mm), kMemberColor, TPenStyle::psDash);
    }
    for (const TKKItem& item : e.Selection) {
        const auto mm = ItemBounds(e.Items, item);
        if (!mm) continue;
        const TRect v = MmOutlineToView(e, *mm);
        Outline(c, v, kSelectionColor, TPenStyle::psSolid);
        c.Pen = TPen{clWhite, 1, TPenStyle::psSolid};
        c.Brush = TBrush{kSelectionColor, TBrushStyle::bsSolid};
        for (const TPoint p : HandleCorners(v))
            c.Rectangle(p.X - kHandleSize / 2, p.Y - kHandleSize / 2, p.X + kHandleSize / 2 + 1,
                        p.Y + kHandleSize / 2 + 1);
    }
    if (e.Mode == mdRubberBand || (e.Spanning && e.Spanned.Index < 0)) {
        const TPoint a = e.BandStart, b = e.BandEnd;
        c.Pen = TPen{clBlack, 1, TPenStyle::psDot};
        c.Brush.Style = TBrushStyle::bsClear;
        c.Rectangle(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X) + 1,
                    std::max(a.Y, b.Y) + 1);
    }
    c.Brush = brush;
    c.Pen = pen;
}
