#include "document/ItemLists.h"

void TNyomtatoVonalLista::WriteItem(int index, TWriteStream& out) const {
    (*this)[index].SaveToStream(out);
}

std::unique_ptr<TNyomtatoVonal> TNyomtatoVonalLista::ReadItem(int, TReadStream& in) {
    auto line = std::make_unique<TNyomtatoVonal>();
    line->LoadFromStream(in);
    return line;
}

void TNyomtatoNegyszogLista::WriteItem(int index, TWriteStream& out) const {
    const TNyomtatoNegyszog& r = (*this)[index];
    out.WriteInt32(r.Rect.Left);
    out.WriteInt32(r.Rect.Top);
    out.WriteInt32(r.Rect.Right);
    out.WriteInt32(r.Rect.Bottom);
    out.WriteInt32(r.Color);
}

std::unique_ptr<TNyomtatoNegyszog> TNyomtatoNegyszogLista::ReadItem(int, TReadStream& in) {
    auto r = std::make_unique<TNyomtatoNegyszog>();
    r->Rect.Left = in.ReadInt32();
    r->Rect.Top = in.ReadInt32();
    r->Rect.Right = in.ReadInt32();
    r->Rect.Bottom = in.ReadInt32();
    r->Color = in.ReadInt32();
    return r;
}

void TNyomtatoPoligonLista::WriteItem(int index, TWriteStream& out) const {
    (*this)[index].SaveToStream(out);
}

std::unique_ptr<TNyomtatoPoligon> TNyomtatoPoligonLista::ReadItem(int, TReadStream& in) {
    auto polygon = std::make_unique<TNyomtatoPoligon>();
    polygon->LoadFromStream(in);
    return polygon;
}

int TPageItems::CountOf(int32_t kind) const {
    switch (kind) {
    case ikCaption: return Captions.Count();
    case ikText: return Texts.Count();
    case ikImage: return Images.Count();
    case ikRectangle: return Rectangles.Count();
    case ikLine: return Lines.Count();
    case ikPolygon: return Polygons.Count();
    case ikFrame: return Frames.Count();
    default: return 0;
    }
}
