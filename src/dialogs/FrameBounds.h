// The check a frame's box passes before the frame dialog takes it.
#pragma once

#include <optional>
#include <string_view>

#include "platform/Rect.h"

// The printer's printable area in millimetres.
struct TMmArea {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
};

// The box typed into the Left, Top, Right and Bottom fields, when each holds a whole number
// and the box is at least 2 mm wide and high and lies within area (edges included); nothing
// otherwise.
std::optional<TRect> FrameBoxFromFields(std::string_view left, std::string_view top,
                                        std::string_view right, std::string_view bottom,
                                        const TMmArea& area);
