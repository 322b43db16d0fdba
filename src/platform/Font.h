// A font as plain data. Height follows the classic convention: negative is the character
// height, positive the cell height (character plus internal leading), both in pixels of the
// device the font is used on (or millimetres, where an item says so).
#pragma once

#include <cstdint>
#include <string>

#include "platform/Color.h"

enum class TFontPitch : uint8_t { fpDefault = 0, fpVariable = 1, fpFixed = 2 };

// Style bits as stored in documents.
enum TFontStyleBits : uint8_t {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};

struct TFont {
    TColor Color = clBlack;             // the framework's default font colour (window text)
    int32_t Height = -11;               // the framework's default: 8 points on a 96 dpi screen
    std::string Name = "MS Sans Serif"; // code page 1250 bytes
    TFontPitch Pitch = TFontPitch::fpDefault;
    uint8_t Style = 0; // TFontStyleBits

    friend bool operator==(const TFont&, const TFont&) = default;
};
