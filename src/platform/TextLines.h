// Splitting multi-line item text (lines separated by CR LF; a lone LF or CR also ends a line).
#pragma once

#include <string_view>
#include <vector>

// The lines of text; an empty text is one empty line, and a trailing line break adds an
// empty last line, as a multi-line edit shows it.
std::vector<std::string_view> SplitTextLines(std::string_view text);
