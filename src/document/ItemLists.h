// The seven item lists of a page. Captions, texts, images and frames are plain owning lists
// with a stream writer and a reading factory; lines, rectangles and polygons are persistent
// lists that read and write their own items.
#pragma once

#include "document/Caption.h"
#include "document/CustomList.h"
#include "document/Frame.h"
#include "document/ImageItem.h"
#include "document/LineItem.h"
#include "document/OwningList.h"
#include "document/PolygonItem.h"
#include "document/RectangleItem.h"
#include "document/TextItem.h"

class TNyomtatoSzovegLista : public TOwningList<TNyomtatoSzoveg> {
public:
    // int32 count, then each item's record in list order.
    void WriteToStream(TWriteStream& out) const;
    // A new list read from the stream; damaged data throws EReadError.
    static TNyomtatoSzovegLista ReadFromStream(TReadStream& in);
};

class TNyomtatoSorokLista : public TOwningList<TNyomtatoSorok> {
public:
    // int32 count, then each item's record in list order.
    void WriteToStream(TWriteStream& out) const;
    // A new list read from the stream; damaged data throws EReadError.
    static TNyomtatoSorokLista ReadFromStream(TReadStream& in);
};

class TNyomtatoKepLista : public TOwningList<TNyomtatoKep> {
public:
    // int32 count, then each item's record in list order.
    void WriteToStream(TWriteStream& out) const;
    // A new list read from the stream; damaged data throws EReadError. The pictures are read
    // as reading says (see TMemBitmap::ReadFromStream).
    static TNyomtatoKepLista ReadFromStream(TReadStream& in,
                                            TPictureReading reading = TPictureReading::Whole);
};

class TNyomtatoKeretLista : public TOwningList<TNyomtatoKeret> {
public:
    // int32 count, then each item's record in list order.
    void WriteToStream(TWriteStream& out) const;
    // A new list read from the stream; damaged data throws EReadError.
    static TNyomtatoKeretLista ReadFromStream(TReadStream& in);
};

class TNyomtatoVonalLista : public TCustomList<TNyomtatoVonal> {
protected:
    void WriteItem(int index, TWriteStream& out) const override;
    std::unique_ptr<TNyomtatoVonal> ReadItem(int index, TReadStream& in) override;
    size_t MinItemBytes() const override { return 4 + 4 + 4 + 1; }
};

class TNyomtatoNegyszogLista : public TCustomList<TNyomtatoNegyszog> {
protected:
    void WriteItem(int index, TWriteStream& out) const override;
    std::unique_ptr<TNyomtatoNegyszog> ReadItem(int index, TReadStream& in) override;
    size_t MinItemBytes() const override { return 20; }
};

class TNyomtatoPoligonLista : public TCustomList<TNyomtatoPoligon> {
protected:
    void WriteItem(int index, TWriteStream& out) const override;
    std::unique_ptr<TNyomtatoPoligon> ReadItem(int index, TReadStream& in) override;
    size_t MinItemBytes() const override { return 4 + 4; }
};

// The document's items: one list of each kind, in the order documents store them.
struct TPageItems {
    TNyomtatoSzovegLista Captions;
    TNyomtatoKepLista Images;
    TNyomtatoKeretLista Frames;
    TNyomtatoSorokLista Texts;
    TNyomtatoVonalLista Lines;
    TNyomtatoNegyszogLista Rectangles;
    TNyomtatoPoligonLista Polygons;

    // Number of items of a kind (TItemKind code).
    int CountOf(int32_t kind) const;
};
