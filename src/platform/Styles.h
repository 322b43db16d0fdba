// Pen and brush style codes. The numeric values are stored in documents (line PenStyle,
// frame FillStyle), so they must never change.
#pragma once

#include <cstdint>

enum class TPenStyle : uint8_t {
    psSolid = 0,
    psDash = 1,
    psDot = 2,
    psDashDot = 3,
    psDashDotDot = 4,
    psClear = 5,
    psInsideFrame = 6,
};

enum class TBrushStyle : uint8_t {
    bsSolid = 0,
    bsClear = 1,
    bsHorizontal = 2,
    bsVertical = 3,
    bsFDiagonal = 4,
    bsBDiagonal = 5,
    bsCross = 6,
    bsDiagCross = 7,
};

// Background mode for text output: opaque fills the text cell with the background colour.
enum class TBkMode : uint8_t { Transparent = 1, Opaque = 2 };

struct TPen {
    int32_t Color = 0;
    int32_t Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
    friend bool operator==(const TPen&, const TPen&) = default;
};

struct TBrush {
    int32_t Color = 0xFFFFFF;
    TBrushStyle Style = TBrushStyle::bsSolid;
    friend bool operator==(const TBrush&, const TBrush&) = default;
};
