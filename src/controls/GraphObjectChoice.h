// What the colour / pen-style / brush-style picker has chosen, and the rules by which setting
// a value or choosing an entry changes it. The widget shows this state; tests drive it alone.
#pragma once

#include "controls/GraphObjectTables.h"
#include "platform/Color.h"
#include "platform/Styles.h"

class TColorDialogs;

class TGraphObjectChoice {
public:
    // Colour style, English, black chosen and black as the custom colour.
    explicit TGraphObjectChoice(TColorDialogs& colorDialogs) : ColorDialogs(colorDialogs) {}

    TGraphObjectComboStyle Style() const { return StyleValue; }
    // The list becomes the new style's, with the entry of that style's value selected.
    void SetStyle(TGraphObjectComboStyle style);
    TGraphObjectComboLanguage Language() const { return LanguageValue; }
    void SetLanguage(TGraphObjectComboLanguage language) { LanguageValue = language; }

    TColor Color() const { return ColorValue; }
    // Colour style only: a table colour selects its entry, any other colour becomes the
    // custom colour and selects the custom entry.
    void SetColor(TColor color);
    TPenStyle PenStyle() const { return PenValue; }
    // Pen style only: stored; codes 0..4 also select their entry.
    void SetPenStyle(TPenStyle style);
    TBrushStyle BrushStyle() const { return BrushValue; }
    // Brush style only: stored; codes 0..7 also select their entry.
    void SetBrushStyle(TBrushStyle style);

    // The colour the custom entry shows.
    TColor CustomColor() const { return Custom; }
    // The selected entry, -1 for none.
    int ItemIndex() const { return Index; }
    int ItemCount() const { return GraphObjectItemCount(StyleValue); }

    // The user chose entry index. The custom colour entry asks the colour dialog for a colour;
    // cancelling it changes nothing and the previous entry stays selected.
    void Select(int index);

private:
    TColorDialogs& ColorDialogs;
    TGraphObjectComboStyle StyleValue = TGraphObjectComboStyle::gocsColor;
    TGraphObjectComboLanguage LanguageValue = TGraphObjectComboLanguage::goclEnglish;
    TColor ColorValue = clBlack;
    TPenStyle PenValue = TPenStyle::psSolid;
    TBrushStyle BrushValue = TBrushStyle::bsSolid;
    TColor Custom = clBlack;
    int Index = 0;
};
