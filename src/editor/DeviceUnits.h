// Conversion of computed device positions to whole pixels: truncated toward zero and held
// within +-2^28, so that values from damaged documents (and the few pixels added to them for
// edges and shadows) cannot overflow; NaN gives 0.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

inline constexpr double kDeviceCoordinateLimit = 1 << 28;

inline int32_t TruncClamped(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int32_t>(std::clamp(v, -kDeviceCoordinateLimit, kDeviceCoordinateLimit));
}
