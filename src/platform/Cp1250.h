// Conversion between the code page 1250 bytes that items and documents hold and UTF-8,
// used only where text leaves or enters the program (Qt widgets, JSON, file names).
#pragma once

#include <string>
#include <string_view>

std::string Cp1250ToUtf8(std::string_view text);
// Characters the code page lacks become '?'; malformed UTF-8 also gives '?'.
std::string Utf8ToCp1250(std::string_view text);
unsigned char Cp1250FromCodePoint(char32_t cp);
