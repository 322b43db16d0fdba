// Whole-millimetre arithmetic held at the ends of the int32 range instead of overflowing:
// a damaged document can hold coordinates there, and moving or resizing its items (or the
// members of a frame) must still be defined.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/Rect.h"

inline int32_t SaturateInt32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// a + d for a difference d of two int32 values (or anything of that size).
inline int32_t AddSaturated(int32_t a, int64_t d) { return SaturateInt32(int64_t{a} + d); }

inline void OffsetRectSaturated(TRect& r, int64_t dx, int64_t dy) {
    r.Left = AddSaturated(r.Left, dx);
    r.Right = AddSaturated(r.Right, dx);
    r.Top = AddSaturated(r.Top, dy);
    r.Bottom = AddSaturated(r.Bottom, dy);
}

inline TPoint OffsetPointSaturated(TPoint p, int64_t dx, int64_t dy) {
    return TPoint{AddSaturated(p.X, dx), AddSaturated(p.Y, dy)};
}
