// Item kind names, and the stream forms of the items that carry their own (frame references,
// lines, polygons).
#include "document/FrameMembers.h"
#include "document/LineItem.h"
#include "document/PolygonItem.h"

const char* ItemKindName(int32_t kind) {
    switch (kind) {
    case ikCaption: return "caption";
    case ikText: return "text";
    case ikImage: return "image";
    case ikRectangle: return "rectangle";
    case ikLine: return "line";
    case ikPolygon: return "polygon";
    case ikFrame: return "frame";
    default: return "item";
    }
}

void TKKLista::AddReference(int32_t kind, int32_t index) {
    Add(std::make_unique<TKKItem>(TKKItem{kind, index}));
}

void TKKLista::Append(const TKKLista& other) {
    for (int i = 0; i < other.Count(); ++i) AddReference(other[i].Kind, other[i].Index);
}

bool operator==(const TKKLista& a, const TKKLista& b) {
    if (a.Count() != b.Count()) return false;
    for (int i = 0; i < a.Count(); ++i)
        if (!(a[i] == b[i])) return false;
    return true;
}

void TKKLista::WriteItem(int index, TWriteStream& out) const {
    out.WriteInt32((*this)[index].Kind);
    out.WriteInt32((*this)[index].Index);
}

std::unique_ptr<TKKItem> TKKLista::ReadItem(int, TReadStream& in) {
    auto item = std::make_unique<TKKItem>();
    item->Kind = in.ReadInt32();
    item->Index = in.ReadInt32();
    return item;
}

void TNyomtatoVonal::SaveToStream(TWriteStream& out) const {
    TPointList::SaveToStream(out);
    out.WriteInt32(Color);
    out.WriteInt32(Width);
    out.WriteByte(PenStyle);
}

void TNyomtatoVonal::LoadFromStream(TReadStream& in) {
    auto points = ReadPoints(in);
    const TColor color = in.ReadInt32();
    const int32_t width = in.ReadInt32();
    const uint8_t style = in.ReadByte();
    TakePoints(std::move(points));
    Color = color;
    Width = width;
    PenStyle = style;
}

void TNyomtatoPoligon::SaveToStream(TWriteStream& out) const {
    TPointList::SaveToStream(out);
    out.WriteInt32(Color);
}

void TNyomtatoPoligon::LoadFromStream(TReadStream& in) {
    auto points = ReadPoints(in);
    const TColor color = in.ReadInt32();
    TakePoints(std::move(points));
    Color = color;
}
