// A filled rectangle in one colour (outline in the same colour).
#pragma once

#include "platform/Color.h"
#include "platform/Rect.h"

struct TNyomtatoNegyszog {
    TRect Rect; // mm
    TColor Color = clBlack;

    friend bool operator==(const TNyomtatoNegyszog&, const TNyomtatoNegyszog&) = default;
};
