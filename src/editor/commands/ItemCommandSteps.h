// What the item command files share: the reading of dialog fields and the fonts of captions
// and texts. Internal to the editor core.
#pragma once

#include <cstdint>
#include <string>

#include "document/ItemKind.h"
#include "editor/TextMeasure.h"
#include "platform/Font.h"
#include "platform/Rect.h"

class TPageEditor;
struct TCoreServices;
struct TImageDialogData;
struct TPrinterMetrics;

// The warning for caption and text coordinates that are not usable.
inline constexpr const char* kBadTextCoordinates = "Hibás szövegkoordináták !";
void WarnBadTextCoordinates(TCoreServices& s, const char* caption);

// The rectangle typed into an image dialog. Width and Height must be whole numbers of at least
// 1 mm; Left and Top whole numbers when withPosition (otherwise they count as 0), and the
// rectangle must fit in 32-bit coordinates. On failure the label of the first bad field.
struct TImageFields {
    TRect Rect;
    const char* BadField = nullptr; // "Left", "Top", "Width" or "Height"
};
TImageFields ReadImageFields(const TImageDialogData& d, bool withPosition);
// Tells which image field is not usable, in a warning box with the given caption.
void WarnBadImageField(TCoreServices& s, const char* field, const char* caption);
// True when a box of size (w, h) at (x, y) fits in 32-bit coordinates.
bool BoxFits(int32_t x, int32_t y, int32_t w, int32_t h);

// Captions and texts take the dialog's font: its Height is the height in mm, and the font
// itself gets the same height in printer pixels.
template <class Item>
void TakeDialogFont(Item& item, const TFont& chosen, const TPrinterMetrics& metrics) {
    item.Font = chosen;
    item.FontHeightMm = chosen.Height;
    item.Font.Height = FontHeightMmToPrinter(chosen.Height, metrics);
}
// The dialog's font for an item: the item's font with its Height back in mm.
template <class Item>
TFont DialogFontOf(const Item& item) {
    TFont font = item.Font;
    font.Height = item.FontHeightMm;
    return font;
}
