// A polygon: a closed outline (mm) filled and outlined in one colour.
#pragma once

#include "document/PointList.h"
#include "platform/Color.h"

class TNyomtatoPoligon : public TPointList {
public:
    TColor Color = clBlack;

    friend bool operator==(const TNyomtatoPoligon&, const TNyomtatoPoligon&) = default;

    // The points, then Color.
    void SaveToStream(TWriteStream& out) const override;
    void LoadFromStream(TReadStream& in) override;
};
