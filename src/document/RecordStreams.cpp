#include "document/RecordStreams.h"

#include <cstring>

namespace {

// The text up to its first zero character.
std::string_view UpToZero(std::string_view s) { return s.substr(0, s.find('\0')); }

} // namespace

void WriteCountedString(TWriteStream& out, const std::string& text) {
    const std::string_view s = UpToZero(text);
    out.WriteInt32(static_cast<int32_t>(s.size()));
    out.Write(s.data(), s.size());
}

std::string ReadCountedString(TReadStream& in) {
    const size_t n = in.ReadCount("string length", 1);
    const auto bytes = in.ReadBytes(n);
    return std::string(UpToZero(std::string_view(reinterpret_cast<const char*>(bytes.data()), n)));
}

void WriteFontRecord(TWriteStream& out, const TFont& font) {
    out.WriteInt32(font.Color);
    out.WriteInt32(font.Height);
    const std::string_view name = UpToZero(font.Name).substr(0, kFontNameMax);
    uint8_t field[32] = {};
    field[0] = static_cast<uint8_t>(name.size());
    std::memcpy(field + 1, name.data(), name.size());
    out.Write(field, sizeof field);
    out.WriteByte(static_cast<uint8_t>(font.Pitch));
    out.WriteByte(font.Style);
    out.WriteUInt16(0);
}

TFont ReadFontRecord(TReadStream& in) {
    const size_t at = in.Position();
    const auto rec = in.ReadBytes(kFontRecordSize);
    TReadStream r(rec);
    TFont font;
    font.Color = r.ReadInt32();
    font.Height = r.ReadInt32();
    const uint8_t length = r.ReadByte();
    if (length > kFontNameMax) {
        throw EReadError("font name length " + std::to_string(length) + " at offset " +
                         std::to_string(at + 8) + " is more than 31");
    }
    const auto name = r.ReadBytes(kFontNameMax);
    font.Name =
        std::string(UpToZero(std::string_view(reinterpret_cast<const char*>(name.data()), length)));
    font.Pitch = static_cast<TFontPitch>(r.ReadByte());
    font.Style = r.ReadByte();
    return font;
}

void WriteRect(TWriteStream& out, const TRect& r) {
    out.WriteInt32(r.Left);
    out.WriteInt32(r.Top);
    out.WriteInt32(r.Right);
    out.WriteInt32(r.Bottom);
}

TRect ReadRect(TReadStream& in) {
    TRect r;
    r.Left = in.ReadInt32();
    r.Top = in.ReadInt32();
    r.Right = in.ReadInt32();
    r.Bottom = in.ReadInt32();
    return r;
}
