#include "controls/GraphObjectTables.h"

#include <array>

namespace {

struct TNamed {
    std::string_view English;
    std::string_view Hungarian;
};

struct TColorEntry {
    TColor Color;
    TNamed Name;
};

constexpr std::array<TColorEntry, 16> kColors = {{
    {clBlack, {"Black", "Fekete"}},
    {clMaroon, {"Maroon", "Gesztenye"}},
    {clGreen, {"Green", "Zöld"}},
    {clOlive, {"Olive", "Olíva"}},
    {clNavy, {"Navy", "Tengerkék"}},
    {clPurple, {"Purple", "Lila"}},
    {clTeal, {"Teal", "Türkiz"}},
    {clGray, {"Gray", "Szürke"}},
    {clSilver, {"Silver", "Ezüst"}},
    {clRed, {"Red", "Piros"}},
    {clLime, {"Lime", "Élénkzöld"}},
    {clYellow, {"Yellow", "Sárga"}},
    {clBlue, {"Blue", "Kék"}},
    {clFuchsia, {"Fuchsia", "Fukszia"}},
    {clAqua, {"Aqua", "Vízkék"}},
    {clWhite, {"White", "Fehér"}},
}};

constexpr TNamed kCustomColor = {"Custom color", "Egyéni szín"};

constexpr std::array<TNamed, 5> kPenStyles = {{
    {"Solid", "Folytonos"},
    {"Dash", "Szakaszolt"},
    {"Dot", "Pontozott"},
    {"Dash - dot", "Szakasz - pont"},
    {"Dash - dot - dot", "Szakasz-pont-pont"},
}};

constexpr std::array<TNamed, 8> kBrushStyles = {{
    {"Solid", "Kitöltő"},
    {"Clear", "Üres"},
    {"Horizontal", "Vízszintes"},
    {"Vertical", "Függőleges"},
    {"FDiagonal", "Átlós bal-jobb"},
    {"BDiagonal", "Átlós jobb-bal"},
    {"Cross", "Kereszt"},
    {"Diagonal cross", "Ferde kereszt"},
}};

std::string_view InLanguage(const TNamed& name, TGraphObjectComboLanguage language) {
    switch (language) {
    case TGraphObjectComboLanguage::goclEnglish: return name.English;
    case TGraphObjectComboLanguage::goclHungarian: return name.Hungarian;
    }
    return {};
}

} // namespace

int GraphObjectItemCount(TGraphObjectComboStyle style) {
    switch (style) {
    case TGraphObjectComboStyle::gocsColor: return static_cast<int>(kColors.size()) + 1;
    case TGraphObjectComboStyle::gocsPenStyle: return static_cast<int>(kPenStyles.size());
    case TGraphObjectComboStyle::gocsBrushStyle: return static_cast<int>(kBrushStyles.size());
    }
    return 0;
}

std::string_view GraphObjectItemName(TGraphObjectComboStyle style,
                                     TGraphObjectComboLanguage language, int index) {
    if (index < 0 || index >= GraphObjectItemCount(style)) return {};
    switch (style) {
    case TGraphObjectComboStyle::gocsColor:
        return InLanguage(index == kCustomColorIndex ? kCustomColor : kColors[index].Name,
                          language);
    case TGraphObjectComboStyle::gocsPenStyle: return InLanguage(kPenStyles[index], language);
    case TGraphObjectComboStyle::gocsBrushStyle: return InLanguage(kBrushStyles[index], language);
    }
    return {};
}

TColor GraphObjectTableColor(int index) {
    return index >= 0 && index < static_cast<int>(kColors.size()) ? kColors[index].Color : clBlack;
}

int GraphObjectColorIndex(TColor color) {
    for (int i = 0; i < static_cast<int>(kColors.size()); ++i) {
        if (kColors[i].Color == color) return i;
    }
    return -1;
}
