// The entries the colour, pen-style and brush-style picker offers: the sixteen standard
// colours and the custom colour, five pen styles, eight brush styles, named in English and
// Hungarian. Entry i of the pen and brush lists is style code i.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Color.h"

enum class TGraphObjectComboStyle : uint8_t { gocsColor = 0, gocsPenStyle = 1, gocsBrushStyle = 2 };
enum class TGraphObjectComboLanguage : uint8_t { goclEnglish = 0, goclHungarian = 1 };

// The last colour entry, which shows the custom colour and asks for a new one when chosen.
inline constexpr int kCustomColorIndex = 16;

// 17, 5 or 8 entries by style (0 for a style outside the three).
int GraphObjectItemCount(TGraphObjectComboStyle style);
// The entry's name (UTF-8); empty for a language outside the two or an index outside the list.
std::string_view GraphObjectItemName(TGraphObjectComboStyle style,
                                     TGraphObjectComboLanguage language, int index);
// The colour of table entry 0..15.
TColor GraphObjectTableColor(int index);
// The table entry holding exactly this colour, or -1 when the table has none.
int GraphObjectColorIndex(TColor color);
