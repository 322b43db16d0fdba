// A caption: one line of text placed by its top-left corner on the page.
#pragma once

#include <string>

#include "platform/Font.h"
#include "platform/Rect.h"

class TNyomtatoSzoveg {
public:
    virtual ~TNyomtatoSzoveg() = default;

    std::string Text; // code page 1250
    // mm; Left/Top is where the text is drawn, Right/Bottom add its measured size.
    TRect Rect;
    TFont Font; // Height in printer device pixels
    // The height chosen in the dialog, read as mm (negative: character height).
    int32_t FontHeightMm = 0;
    bool FillBackground = false; // opaque white background behind the text
    bool ScaleCaption = false;   // shows the page scale ("1 : ...")
    bool TextLocked = false;     // the modify dialog does not let the text change

    friend bool operator==(const TNyomtatoSzoveg&, const TNyomtatoSzoveg&) = default;
};
