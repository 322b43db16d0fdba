// Whole numbers typed into dialog fields (millimetres, sizes): decimal digits with an optional
// leading minus, nothing else. A leading 0 does not make the number octal, and a decimal
// point, letters, spaces, an empty field or a value beyond the int32 range make it invalid.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

std::optional<int32_t> ParseWholeNumber(std::string_view text);
