#include "dialogs/FrameBounds.h"

#include <cstdint>

#include "platform/WholeNumber.h"

std::optional<TRect> FrameBoxFromFields(std::string_view left, std::string_view top,
                                        std::string_view right, std::string_view bottom,
                                        const TMmArea& area) {
    const auto l = ParseWholeNumber(left);
    const auto t = ParseWholeNumber(top);
    const auto r = ParseWholeNumber(right);
    const auto b = ParseWholeNumber(bottom);
    if (!l || !t || !r || !b) return std::nullopt;
    // In 64 bits, so a box at the end of the int32 range cannot overflow the size check.
    const bool bigEnough = int64_t{*r} >= int64_t{*l} + 2 && int64_t{*b} >= int64_t{*t} + 2;
    const bool inside = *l >= double{area.Left} && *r <= double{area.Right} &&
                        *t >= double{area.Top} && *b <= double{area.Bottom};
    if (!bigEnough || !inside) return std::nullopt;
    return TRect{*l, *t, *r, *b};
}
