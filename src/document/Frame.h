// A frame: a box with an optional title that groups the items placed in it.
#pragma once

#include <string>

#include "document/FrameMembers.h"
#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/Rect.h"
#include "platform/Styles.h"

inline TFont DefaultFrameTitleFont() {
    TFont f;
    f.Name = "Arial";
    f.Height = 8; // mm, converted to device pixels each time the title is drawn
    return f;
}

class TNyomtatoKeret {
public:
    TRect Rect;         // mm
    bool Shadow = true; // 2 mm light grey shadow at the right and bottom
    TColor BorderColor = clBlack;
    TColor FillColor = clWhite;
    uint8_t FillStyle = static_cast<uint8_t>(TBrushStyle::bsSolid);
    std::string Title;
    int32_t TitleAlignment = 0; // 0 left, 1 centred, 2 right
    TFont TitleFont = DefaultFrameTitleFont();
    TKKLista Members; // the items placed in this frame

    friend bool operator==(const TNyomtatoKeret&, const TNyomtatoKeret&) = default;
};
