// Stored forms of the small records that items are made of: counted strings, 44-byte font
// records and rectangles. Readers throw EReadError on damaged data and change nothing else.
#pragma once

#include <string>

#include "platform/BinaryStream.h"
#include "platform/Font.h"
#include "platform/Rect.h"

inline constexpr size_t kFontRecordSize = 44;
inline constexpr size_t kFontNameMax = 31;

// int32 length, then the text up to its first zero character (no terminator).
void WriteCountedString(TWriteStream& out, const std::string& text);
// A zero byte inside the stored text ends it.
std::string ReadCountedString(TReadStream& in);

// Color, Height, the name as a length byte and up to 31 characters in a 32-byte field,
// Pitch, Style and two unused bytes; unused bytes are written as zero.
void WriteFontRecord(TWriteStream& out, const TFont& font);
TFont ReadFontRecord(TReadStream& in);

void WriteRect(TWriteStream& out, const TRect& r);
TRect ReadRect(TReadStream& in);

// A byte boolean: written as 1 or 0, any non-zero byte reads as true.
inline void WriteBool(TWriteStream& out, bool b) { out.WriteByte(b ? 1 : 0); }
inline bool ReadBool(TReadStream& in) { return in.ReadByte() != 0; }
