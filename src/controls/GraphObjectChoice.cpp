#include "controls/GraphObjectChoice.h"

#include "platform/PickerDialogs.h"

namespace {

constexpr int kPenEntries = 5;
constexpr int kBrushEntries = 8;

} // namespace

void TGraphObjectChoice::SetStyle(TGraphObjectComboStyle style) {
    StyleValue = style;
    switch (style) {
    case TGraphObjectComboStyle::gocsColor: {
        const int table = GraphObjectColorIndex(ColorValue);
        Index = table >= 0 ? table : kCustomColorIndex;
        break;
    }
    case TGraphObjectComboStyle::gocsPenStyle: {
        const int code = static_cast<int>(PenValue);
        Index = code < kPenEntries ? code : -1;
        break;
    }
    case TGraphObjectComboStyle::gocsBrushStyle: {
        const int code = static_cast<int>(BrushValue);
        Index = code < kBrushEntries ? code : -1;
        break;
    }
    default: Index = -1; break;
    }
}

void TGraphObjectChoice::SetColor(TColor color) {
    if (StyleValue != TGraphObjectComboStyle::gocsColor) return;
    const int table = GraphObjectColorIndex(color);
    if (table >= 0) {
        Index = table;
    } else {
        Index = kCustomColorIndex;
        Custom = color;
    }
    ColorValue = color;
}

void TGraphObjectChoice::SetPenStyle(TPenStyle style) {
    if (StyleValue != TGraphObjectComboStyle::gocsPenStyle) return;
    PenValue = style;
    if (static_cast<int>(style) < kPenEntries) Index = static_cast<int>(style);
}

void TGraphObjectChoice::SetBrushStyle(TBrushStyle style) {
    if (StyleValue != TGraphObjectComboStyle::gocsBrushStyle) return;
    BrushValue = style;
    if (static_cast<int>(style) < kBrushEntries) Index = static_cast<int>(style);
}

void TGraphObjectChoice::Select(int index) {
    if (index < 0 || index >= ItemCount()) return;
    switch (StyleValue) {
    case TGraphObjectComboStyle::gocsColor:
        if (index == kCustomColorIndex) {
            const auto chosen = ColorDialogs.PickColor(Custom);
            if (!chosen) return;
            Custom = *chosen;
            ColorValue = *chosen;
        } else {
            ColorValue = GraphObjectTableColor(index);
        }
        break;
    case TGraphObjectComboStyle::gocsPenStyle: PenValue = static_cast<TPenStyle>(index); break;
    case TGraphObjectComboStyle::gocsBrushStyle:
        BrushValue = static_cast<TBrushStyle>(index);
        break;
    }
    Index = index;
}
