// Stored forms of the caption, text, image and frame lists: an int32 count, then each item's
// fields in their stored order. Reading builds a new list, so a damaged stream leaves no
// half-read list behind.
#include <stdexcept>
#include <string>

#include "codec/GraphicsExceptions.h"
#include "document/ItemLists.h"
#include "document/RecordStreams.h"

namespace {

// The fewest bytes one stored item can take, so impossible counts are refused up front.
constexpr size_t kCaptionMin = 4 + 16 + kFontRecordSize + 4 + 3;
constexpr size_t kTextMin = 4 + 16 + kFontRecordSize + 4 + 4 + 1;
constexpr size_t kImageMin = 16 + 4 + 6;
constexpr size_t kFrameMin = 16 + 1 + 4 + 4 + 1 + 4 + 4 + kFontRecordSize + 4;

template <class List, class ReadOne>
List ReadList(TReadStream& in, const char* what, size_t minBytes, ReadOne readOne) {
    List list;
    const size_t n = in.ReadCount(what, minBytes);
    for (size_t i = 0; i < n; ++i) list.Add(readOne(in));
    return list;
}

} // namespace

void TNyomtatoSzovegLista::WriteToStream(TWriteStream& out) const {
    out.WriteInt32(Count());
    for (int i = 0; i < Count(); ++i) {
        const TNyomtatoSzoveg& c = (*this)[i];
        WriteCountedString(out, c.Text);
        WriteRect(out, c.Rect);
        WriteFontRecord(out, c.Font);
        out.WriteInt32(c.FontHeightMm);
        WriteBool(out, c.FillBackground);
        WriteBool(out, c.ScaleCaption);
        WriteBool(out, c.TextLocked);
    }
}

TNyomtatoSzovegLista TNyomtatoSzovegLista::ReadFromStream(TReadStream& in) {
    return ReadList<TNyomtatoSzovegLista>(in, "caption count", kCaptionMin, [](TReadStream& s) {
        auto c = std::make_unique<TNyomtatoSzoveg>();
        c->Text = ReadCountedString(s);
        c->Rect = ReadRect(s);
        c->Font = ReadFontRecord(s);
        c->FontHeightMm = s.ReadInt32();
        c->FillBackground = ReadBool(s);
        c->ScaleCaption = ReadBool(s);
        c->TextLocked = ReadBool(s);
        return c;
    });
}

void TNyomtatoSorokLista::WriteToStream(TWriteStream& out) const {
    out.WriteInt32(Count());
    for (int i = 0; i < Count(); ++i) {
        const TNyomtatoSorok& t = (*this)[i];
        WriteCountedString(out, t.Text);
        WriteRect(out, t.Rect);
        WriteFontRecord(out, t.Font);
        out.WriteInt32(t.FontHeightMm);
        out.WriteInt32(t.LineCount);
        WriteBool(out, t.FillBackground);
    }
}

TNyomtatoSorokLista TNyomtatoSorokLista::ReadFromStream(TReadStream& in) {
    return ReadList<TNyomtatoSorokLista>(in, "text count", kTextMin, [](TReadStream& s) {
        auto t = std::make_unique<TNyomtatoSorok>();
        t->Text = ReadCountedString(s);
        t->Rect = ReadRect(s);
        t->Font = ReadFontRecord(s);
        t->FontHeightMm = s.ReadInt32();
        t->LineCount = s.ReadInt32();
        t->FillBackground = ReadBool(s);
        return t;
    });
}

void TNyomtatoKepLista::WriteToStream(TWriteStream& out) const {
    out.WriteInt32(Count());
    for (int i = 0; i < Count(); ++i) {
        const TNyomtatoKep& k = (*this)[i];
        WriteRect(out, k.Rect);
        WriteCountedString(out, k.FileName);
        try {
            k.Picture->WriteToStream(out);
        } catch (const EGraphicsException& e) {
            throw std::runtime_error("the picture of image " + std::to_string(i + 1) +
                                     " cannot be stored as JPEG: " + e.what());
        }
    }
}

TNyomtatoKepLista TNyomtatoKepLista::ReadFromStream(TReadStream& in, TPictureReading reading) {
    return ReadList<TNyomtatoKepLista>(in, "image count", kImageMin, [reading](TReadStream& s) {
        auto k = std::make_unique<TNyomtatoKep>();
        k->Rect = ReadRect(s);
        k->FileName = ReadCountedString(s);
        k->Picture->ReadFromStream(s, reading);
        return k;
    });
}

void TNyomtatoKeretLista::WriteToStream(TWriteStream& out) const {
    out.WriteInt32(Count());
    for (int i = 0; i < Count(); ++i) {
        const TNyomtatoKeret& f = (*this)[i];
        WriteRect(out, f.Rect);
        WriteBool(out, f.Shadow);
        out.WriteInt32(f.BorderColor);
        out.WriteInt32(f.FillColor);
        out.WriteByte(f.FillStyle);
        WriteCountedString(out, f.Title);
        out.WriteInt32(f.TitleAlignment);
        WriteFontRecord(out, f.TitleFont);
        f.Members.SaveToStream(out);
    }
}

TNyomtatoKeretLista TNyomtatoKeretLista::ReadFromStream(TReadStream& in) {
    return ReadList<TNyomtatoKeretLista>(in, "frame count", kFrameMin, [](TReadStream& s) {
        auto f = std::make_unique<TNyomtatoKeret>();
        f->Rect = ReadRect(s);
        f->Shadow = ReadBool(s);
        f->BorderColor = s.ReadInt32();
        f->FillColor = s.ReadInt32();
        f->FillStyle = s.ReadByte();
        f->Title = ReadCountedString(s);
        f->TitleAlignment = s.ReadInt32();
        f->TitleFont = ReadFontRecord(s);
        f->Members.LoadFromStream(s);
        return f;
    });
}
