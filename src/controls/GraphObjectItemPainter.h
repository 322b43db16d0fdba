// Draws one entry of the colour / pen-style / brush-style picker: the background, then the
// colour swatch, line sample or filled sample beside the entry's name.
#pragma once

#include "platform/Color.h"
#include "platform/Rect.h"

class TCanvas;
class TGraphObjectChoice;

struct TGraphObjectItemLook {
    bool Selected = false;
    TColor Highlight = 0xD77800;    // the selected entry's background
    TColor HighlightText = clWhite; // and its text
    int ItemHeight = 16;            // the height the entry's text and line are centred in
};

// Draws entry index of the choice's list into r with the canvas's current font.
void DrawGraphObjectItem(TCanvas& canvas, const TGraphObjectChoice& choice, int index,
                         const TRect& r, const TGraphObjectItemLook& look);
