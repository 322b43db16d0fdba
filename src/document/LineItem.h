// A line: an open polyline through its points (mm) drawn with a standard pen.
#pragma once

#include "document/PointList.h"
#include "platform/Color.h"
#include "platform/Styles.h"

class TNyomtatoVonal : public TPointList {
public:
    TColor Color = clBlack;
    int32_t Width = 1; // device pixels, 1..10
    uint8_t PenStyle = static_cast<uint8_t>(TPenStyle::psSolid);

    friend bool operator==(const TNyomtatoVonal&, const TNyomtatoVonal&) = default;

    // The points, then Color, Width and PenStyle.
    void SaveToStream(TWriteStream& out) const override;
    void LoadFromStream(TReadStream& in) override;
};
