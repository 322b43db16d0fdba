// A text: several lines (separated by CR LF) drawn left-aligned from the top-left corner.
#pragma once

#include <string>

#include "platform/Font.h"
#include "platform/Rect.h"

class TNyomtatoSorok {
public:
    std::string Text; // code page 1250, lines separated by CR LF
    TRect Rect;       // mm; Right/Bottom from the measured text
    TFont Font;       // Height in printer device pixels
    int32_t FontHeightMm = 0;
    // Lines the text had when last edited; the page view sizes its font by it.
    int32_t LineCount = 0;
    bool FillBackground = false;

    friend bool operator==(const TNyomtatoSorok&, const TNyomtatoSorok&) = default;
};
