// The editor's page settings that a document stores as one 140-byte block, and the optional
// compass block stored after the item lists.
#pragma once

#include <array>
#include <cstdint>

#include "platform/Color.h"
#include "platform/Rect.h"

struct TPageSettings {
    TRect BasePageRect;                      // view pixels: the sheet on the page picture at zoom 1
    TRect ClickThroughArea{10, 20, 110, 80}; // mm
    TRect PageBorderRect;                    // mm
    TRect HeightsLegendRect;                 // mm
    TRect HeightsLegendExtent;               // view pixels
    bool PageBorderVisible = false;
    bool HeightsLegendVisible = false;
    int32_t HeightsLegendFontMm = 5;
    int32_t HeightsLegendOrientation = 0; // 0 vertical, 1 horizontal
    TColor PageBorderColor = clBlack;
    bool ScaleBarVisible = false;
    // The scale bar's x and y in mm and the four parameters of the distance indicator.
    std::array<int32_t, 6> ScaleBarPos{};

    friend bool operator==(const TPageSettings&, const TPageSettings&) = default;
};

struct TCompass {
    bool Visible = false;
    TPoint Centre;       // mm
    int32_t Size = 0;    // half-height in mm (a newly placed compass has 15)
    bool Simple = false; // four-point outline instead of an eight-point star

    friend bool operator==(const TCompass&, const TCompass&) = default;
};
