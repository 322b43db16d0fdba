#include "controls/GraphObjectItemPainter.h"

#include "controls/GraphObjectChoice.h"
#include "platform/Canvas.h"
#include "platform/Cp1250.h"

namespace {

void Name(TCanvas& canvas, const TGraphObjectChoice& choice, int index, int32_t x, int32_t y) {
    const auto name = GraphObjectItemName(choice.Style(), choice.Language(), index);
    canvas.TextOut(x, y, Utf8ToCp1250(name));
}

} // namespace

void DrawGraphObjectItem(TCanvas& canvas, const TGraphObjectChoice& choice, int index,
                         const TRect& r, const TGraphObjectItemLook& look) {
    const TColor background = look.Selected ? look.Highlight : clWhite;
    const TColor text = look.Selected ? look.HighlightText : clBlack;
    canvas.Pen = TPen{background, 1, TPenStyle::psSolid};
    canvas.Brush = TBrush{background, TBrushStyle::bsSolid};
    canvas.Rectangle(r);

    canvas.Font.Color = text;
    canvas.BkMode = TBkMode::Transparent;
    canvas.BkColor = background;
    // The text's top so that it sits centred: Height is negative for a character height.
    const int32_t textTop = r.Top + look.ItemHeight / 2 + canvas.Font.Height / 2 - 1;

    switch (choice.Style()) {
    case TGraphObjectComboStyle::gocsColor: {
        Name(canvas, choice, index, r.Left + 24, textTop);
        const TColor swatch =
            index == kCustomColorIndex ? choice.CustomColor() : GraphObjectTableColor(index);
        canvas.Pen = TPen{clBlack, 1, TPenStyle::psSolid};
        canvas.Brush = TBrush{swatch, TBrushStyle::bsSolid};
        canvas.Rectangle(r.Left + 3, r.Top + 3, r.Left + 20, r.Top + 13);
        break;
    }
    case TGraphObjectComboStyle::gocsPenStyle: {
        canvas.Pen = TPen{text, 1, static_cast<TPenStyle>(index)};
        const int32_t y = r.Top + look.ItemHeight / 2;
        const TPoint line[] = {{r.Left + 3, y}, {r.Left + 60, y}};
        canvas.Polyline(line);
        Name(canvas, choice, index, r.Left + 64, textTop);
        break;
    }
    case TGraphObjectComboStyle::gocsBrushStyle:
        Name(canvas, choice, index, r.Left + 36, textTop);
        canvas.Pen = TPen{text, 1, TPenStyle::psSolid};
        canvas.Brush = TBrush{text, static_cast<TBrushStyle>(index)};
        canvas.Rectangle(r.Left + 3, r.Top + 1, r.Left + 32, r.Top + 15);
        break;
    }
}
