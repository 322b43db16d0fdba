#include "DocumentJson.h"

#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <limits>
#include <QByteArray>
#include <QJsonArray>
#include <QJsonValue>
#include <QString>

#include "codec/GraphicsExceptions.h"
#include "document/RecordStreams.h"
#include "imaging/PictureImport.h"
#include "platform/Cp1250.h"

namespace {

// ---------------------------------------------------------------------------------------
// Document to JSON

QJsonValue Text(const std::string& cp1250) { return QString::fromStdString(Cp1250ToUtf8(cp1250)); }

QJsonArray RectJson(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

QJsonObject FontJson(const TFont& f) {
    return {{"Color", f.Color},
            {"Height", f.Height},
            {"Name", Text(f.Name)},
            {"Pitch", static_cast<int>(f.Pitch)},
            {"Style", f.Style}};
}

QJsonArray PointsJson(const TPointList& points) {
    QJsonArray out;
    for (const TPoint& p : points.View()) out.append(QJsonArray{p.X, p.Y});
    return out;
}

// Data is what a document stores: the block, or for a picture from JPEG the stream it is
// encoded to at its quality (which throws EGraphicsException when it cannot be encoded).
QJsonObject PictureJson(const TMemBitmap& b, bool withData) {
    const bool stored = b.HasStoredPicture();
    QJsonObject o{{"IsJpeg", b.IsJpeg}, {"JpegQuality", b.JpegQuality}, {"HasImage", stored},
                  {"Width", b.Width},   {"Height", b.Height},           {"BitCount", b.BitCount}};
    if (stored && withData) {
        const std::vector<uint8_t> jpeg = b.IsJpeg ? b.JpegStream() : std::vector<uint8_t>();
        const std::vector<uint8_t>& data = b.IsJpeg ? jpeg : b.DibBlock;
        const QByteArray bytes(reinterpret_cast<const char*>(data.data()),
                               static_cast<qsizetype>(data.size()));
        o.insert("Data", QString::fromLatin1(bytes.toBase64()));
    }
    return o;
}

QJsonObject PageSettingsJson(const TPageSettings& s) {
    QJsonArray scale;
    for (int32_t v : s.ScaleBarPos) scale.append(v);
    return {{"BasePageRect", RectJson(s.BasePageRect)},
            {"ClickThroughArea", RectJson(s.ClickThroughArea)},
            {"PageBorderRect", RectJson(s.PageBorderRect)},
            {"HeightsLegendRect", RectJson(s.HeightsLegendRect)},
            {"HeightsLegendExtent", RectJson(s.HeightsLegendExtent)},
            {"PageBorderVisible", s.PageBorderVisible},
            {"HeightsLegendVisible", s.HeightsLegendVisible},
            {"HeightsLegendFontMm", s.HeightsLegendFontMm},
            {"HeightsLegendOrientation", s.HeightsLegendOrientation},
            {"PageBorderColor", s.PageBorderColor},
            {"ScaleBarVisible", s.ScaleBarVisible},
            {"ScaleBarPos", scale}};
}

// ---------------------------------------------------------------------------------------
// JSON to document

// Reads the fields of one JSON object; every error names the field by its path.
class TFields {
public:
    TFields(const QJsonValue& v, std::string path, std::initializer_list<const char*> known)
        : Path(std::move(path)) {
        if (!v.isObject()) Fail(Path, "expected an object");
        Obj = v.toObject();
        for (const QString& key : Obj.keys()) {
            bool ok = false;
            for (const char* k : known) ok = ok || key == QLatin1String(k);
            if (!ok) Fail(Path + "." + key.toStdString(), "unknown field");
        }
    }

    bool Has(const char* key) const { return Obj.contains(QLatin1String(key)); }
    QJsonValue Get(const char* key) const { return Obj.value(QLatin1String(key)); }
    std::string At(const char* key) const { return Path + "." + key; }

    void Int(const char* key, int32_t& out) const {
        if (Has(key)) out = ToInt(Get(key), At(key));
    }
    void Byte(const char* key, uint8_t& out) const {
        if (!Has(key)) return;
        const int32_t v = ToInt(Get(key), At(key));
        if (v < 0 || v > 255) Fail(At(key), "expected an integer from 0 to 255");
        out = static_cast<uint8_t>(v);
    }
    void Bool(const char* key, bool& out) const {
        if (!Has(key)) return;
        if (!Get(key).isBool()) Fail(At(key), "expected true or false");
        out = Get(key).toBool();
    }
    void String(const char* key, std::string& out) const {
        if (Has(key)) out = ToCp1250(Get(key), At(key));
    }
    void Rect(const char* key, TRect& out) const {
        if (!Has(key)) return;
        const auto v = Ints(Get(key), At(key), 4);
        out = {v[0], v[1], v[2], v[3]};
    }

    [[noreturn]] static void Fail(const std::string& path, const std::string& what) {
        throw EJsonError(path + ": " + what);
    }

    static int32_t ToInt(const QJsonValue& v, const std::string& path) {
        const double d = v.toDouble();
        if (!v.isDouble() || d != std::floor(d) || d < std::numeric_limits<int32_t>::min() ||
            d > std::numeric_limits<int32_t>::max()) {
            Fail(path, "expected a 32-bit integer");
        }
        return static_cast<int32_t>(d);
    }

    static std::vector<int32_t> Ints(const QJsonValue& v, const std::string& path, qsizetype n) {
        const QJsonArray a = v.toArray();
        if (!v.isArray() || a.size() != n) {
            Fail(path, "expected an array of " + std::to_string(n) + " integers");
        }
        std::vector<int32_t> out;
        for (qsizetype i = 0; i < n; ++i) {
            out.push_back(ToInt(a[i], path + "[" + std::to_string(i) + "]"));
        }
        return out;
    }

    // The text in code page 1250; text the code page cannot hold is refused, not replaced.
    static std::string ToCp1250(const QJsonValue& v, const std::string& path) {
        if (!v.isString()) Fail(path, "expected a string");
        const std::string utf8 = v.toString().toStdString();
        std::string text = Utf8ToCp1250(utf8);
        if (Cp1250ToUtf8(text) != utf8) Fail(path, "holds characters that code page 1250 lacks");
        if (text.find('\0') != std::string::npos) Fail(path, "holds a zero character");
        return text;
    }

    static QJsonArray Array(const QJsonValue& v, const std::string& path) {
        if (!v.isArray()) Fail(path, "expected an array");
        return v.toArray();
    }

private:
    std::string Path;
    QJsonObject Obj;
};

TFont FontFrom(const QJsonValue& v, const std::string& path, TFont f) {
    TFields j(v, path, {"Color", "Height", "Name", "Pitch", "Style"});
    j.Int("Color", f.Color);
    j.Int("Height", f.Height);
    j.String("Name", f.Name);
    if (f.Name.size() > kFontNameMax) {
        TFields::Fail(j.At("Name"), "longer than 31 characters");
    }
    uint8_t pitch = static_cast<uint8_t>(f.Pitch);
    j.Byte("Pitch", pitch);
    f.Pitch = static_cast<TFontPitch>(pitch);
    j.Byte("Style", f.Style);
    return f;
}

template <class List>
void PointsFrom(const TFields& j, List& item) {
    if (!j.Has("Points")) return;
    const QJsonArray a = TFields::Array(j.Get("Points"), j.At("Points"));
    for (qsizetype i = 0; i < a.size(); ++i) {
        const auto p = TFields::Ints(a[i], j.At("Points") + "[" + std::to_string(i) + "]", 2);
        item.AddPoint(p[0], p[1]);
    }
}

// A picture file (relative to the base folder) read through the picture import, as the new-image
// dialog reads it.
void LoadPictureFile(const QString& name, const TPictureSources& from, TMemBitmap& b,
                     const std::string& path) {
    std::filesystem::path p = name.toStdString();
    if (p.is_relative()) p = std::filesystem::path(from.BaseDir) / p;
    std::string why;
    if (!ImportPictureFile(p.string(), b, why, from.OtherFormats)) {
        TFields::Fail(path, "cannot load the picture " + p.string() + ": " + why);
    }
}

void PictureFrom(const QJsonValue& v, const std::string& path, const TPictureSources& from,
                 TNyomtatoKep& image) {
    TFields j(v, path,
              {"IsJpeg", "JpegQuality", "HasImage", "Width", "Height", "BitCount", "Data", "File"});
    TMemBitmap& b = *image.Picture;
    bool isJpeg = false, hasImage = true;
    int32_t quality = 64;
    j.Bool("IsJpeg", isJpeg);
    j.Int("JpegQuality", quality);
    j.Bool("HasImage", hasImage);
    if (j.Has("File")) {
        if (j.Has("Data")) TFields::Fail(path, "gives both File and Data");
        if (!j.Get("File").isString()) TFields::Fail(j.At("File"), "expected a string");
        LoadPictureFile(j.Get("File").toString(), from, b, j.At("File"));
        if (j.Has("JpegQuality")) b.JpegQuality = quality;
    } else {
        // The stored form, read back through the same checks as a document's picture.
        TWriteStream block;
        block.WriteByte(isJpeg ? 1 : 0);
        block.WriteInt32(quality);
        block.WriteByte(hasImage ? 1 : 0);
        if (!hasImage && j.Has("Data")) TFields::Fail(path, "gives Data but HasImage is false");
        if (hasImage) {
            if (!j.Get("Data").isString()) {
                TFields::Fail(path, "HasImage is true but there is no Data (or File)");
            }
            const auto decoded = QByteArray::fromBase64Encoding(
                j.Get("Data").toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded) TFields::Fail(j.At("Data"), "not valid base64");
            block.WriteInt32(static_cast<int32_t>(decoded.decoded.size()));
            block.Write(decoded.decoded.constData(), static_cast<size_t>(decoded.decoded.size()));
        }
        TReadStream in(block.Data());
        try {
            b.ReadFromStream(in);
        } catch (const EReadError& e) {
            TFields::Fail(j.At("Data"), e.what());
        } catch (const EGraphicsException& e) {
            TFields::Fail(j.At("Data"),
                          std::string("the JPEG picture cannot be decoded: ") + e.what());
        }
    }
    if (!b.HasImage) return;
    // The sizes are taken from the picture; given ones must agree with it.
    for (const auto& [key, actual] : {std::pair{"Width", b.Width}, std::pair{"Height", b.Height},
                                      std::pair{"BitCount", b.BitCount}}) {
        int32_t given = actual;
        j.Int(key, given);
        if (given != actual) {
            TFields::Fail(j.At(key), "is " + std::to_string(given) + " but the picture's is " +
                                         std::to_string(actual));
        }
    }
}

TPageSettings PageSettingsFrom(const QJsonValue& v) {
    TPageSettings s;
    TFields j(v, "PageSettings",
              {"BasePageRect", "ClickThroughArea", "PageBorderRect", "HeightsLegendRect",
               "HeightsLegendExtent", "PageBorderVisible", "HeightsLegendVisible",
               "HeightsLegendFontMm", "HeightsLegendOrientation", "PageBorderColor",
               "ScaleBarVisible", "ScaleBarPos"});
    j.Rect("BasePageRect", s.BasePageRect);
    j.Rect("ClickThroughArea", s.ClickThroughArea);
    j.Rect("PageBorderRect", s.PageBorderRect);
    j.Rect("HeightsLegendRect", s.HeightsLegendRect);
    j.Rect("HeightsLegendExtent", s.HeightsLegendExtent);
    j.Bool("PageBorderVisible", s.PageBorderVisible);
    j.Bool("HeightsLegendVisible", s.HeightsLegendVisible);
    j.Int("HeightsLegendFontMm", s.HeightsLegendFontMm);
    j.Int("HeightsLegendOrientation", s.HeightsLegendOrientation);
    j.Int("PageBorderColor", s.PageBorderColor);
    j.Bool("ScaleBarVisible", s.ScaleBarVisible);
    if (j.Has("ScaleBarPos")) {
        const auto v6 = TFields::Ints(j.Get("ScaleBarPos"), j.At("ScaleBarPos"), 6);
        std::copy(v6.begin(), v6.end(), s.ScaleBarPos.begin());
    }
    return s;
}

// Calls read(fields, path) for each element of the top-level list `key`.
template <class Read>
void ForEach(const QJsonObject& top, const char* key, Read read) {
    if (!top.contains(QLatin1String(key))) return;
    const QJsonArray a = TFields::Array(top.value(QLatin1String(key)), key);
    for (qsizetype i = 0; i < a.size(); ++i)
        read(a[i], std::string(key) + "[" + std::to_string(i) + "]");
}

} // namespace

QJsonObject DocumentToJson(const TDocumentData& doc, bool withPictureData) {
    const TPageItems& items = doc.Items;
    QJsonArray captions, images, frames, texts, lines, rectangles, polygons;
    for (int i = 0; i < items.Captions.Count(); ++i) {
        const TNyomtatoSzoveg& c = items.Captions[i];
        captions.append(QJsonObject{{"Text", Text(c.Text)},
                                    {"Rect", RectJson(c.Rect)},
                                    {"Font", FontJson(c.Font)},
                                    {"FontHeightMm", c.FontHeightMm},
                                    {"FillBackground", c.FillBackground},
                                    {"ScaleCaption", c.ScaleCaption},
                                    {"TextLocked", c.TextLocked}});
    }
    for (int i = 0; i < items.Images.Count(); ++i) {
        const TNyomtatoKep& k = items.Images[i];
        images.append(QJsonObject{{"Rect", RectJson(k.Rect)},
                                  {"FileName", Text(k.FileName)},
                                  {"Picture", PictureJson(*k.Picture, withPictureData)}});
    }
    for (int i = 0; i < items.Frames.Count(); ++i) {
        const TNyomtatoKeret& f = items.Frames[i];
        QJsonArray members;
        for (int m = 0; m < f.Members.Count(); ++m) {
            members.append(QJsonArray{f.Members[m].Kind, f.Members[m].Index});
        }
        frames.append(QJsonObject{{"Rect", RectJson(f.Rect)},
                                  {"Shadow", f.Shadow},
                                  {"BorderColor", f.BorderColor},
                                  {"FillColor", f.FillColor},
                                  {"FillStyle", f.FillStyle},
                                  {"Title", Text(f.Title)},
                                  {"TitleAlignment", f.TitleAlignment},
                                  {"TitleFont", FontJson(f.TitleFont)},
                                  {"Members", members}});
    }
    for (int i = 0; i < items.Texts.Count(); ++i) {
        const TNyomtatoSorok& t = items.Texts[i];
        texts.append(QJsonObject{{"Text", Text(t.Text)},
                                 {"Rect", RectJson(t.Rect)},
                                 {"Font", FontJson(t.Font)},
                                 {"FontHeightMm", t.FontHeightMm},
                                 {"LineCount", t.LineCount},
                                 {"FillBackground", t.FillBackground}});
    }
    for (int i = 0; i < items.Lines.Count(); ++i) {
        const TNyomtatoVonal& l = items.Lines[i];
        lines.append(QJsonObject{{"Points", PointsJson(l)},
                                 {"Color", l.Color},
                                 {"Width", l.Width},
                                 {"PenStyle", l.PenStyle}});
    }
    for (int i = 0; i < items.Rectangles.Count(); ++i) {
        const TNyomtatoNegyszog& r = items.Rectangles[i];
        rectangles.append(QJsonObject{{"Rect", RectJson(r.Rect)}, {"Color", r.Color}});
    }
    for (int i = 0; i < items.Polygons.Count(); ++i) {
        const TNyomtatoPoligon& p = items.Polygons[i];
        polygons.append(QJsonObject{{"Points", PointsJson(p)}, {"Color", p.Color}});
    }
    QJsonValue compass = QJsonValue::Null;
    if (doc.Compass) {
        const TCompass& c = *doc.Compass;
        compass = QJsonObject{{"CompassVisible", c.Visible},
                              {"CompassCentre", QJsonArray{c.Centre.X, c.Centre.Y}},
                              {"CompassSize", c.Size},
                              {"CompassSimple", c.Simple}};
    }
    return {{"PageWidthMm", doc.PageWidthMm},
            {"PageHeightMm", doc.PageHeightMm},
            {"PageSettings", PageSettingsJson(doc.PageSettings)},
            {"Compass", compass},
            {"Captions", captions},
            {"Images", images},
            {"Frames", frames},
            {"Texts", texts},
            {"Lines", lines},
            {"Rectangles", rectangles},
            {"Polygons", polygons}};
}

TDocumentData DocumentFromJson(const QJsonObject& json, const TPictureSources& from) {
    TDocumentData doc;
    const TFields top(json, "document",
                      {"PageWidthMm", "PageHeightMm", "PageSettings", "Compass", "Captions",
                       "Images", "Frames", "Texts", "Lines", "Rectangles", "Polygons"});
    top.Int("PageWidthMm", doc.PageWidthMm);
    top.Int("PageHeightMm", doc.PageHeightMm);
    if (top.Has("PageSettings")) doc.PageSettings = PageSettingsFrom(top.Get("PageSettings"));
    if (top.Has("Compass") && !top.Get("Compass").isNull()) {
        TFields j(top.Get("Compass"), "Compass",
                  {"CompassVisible", "CompassCentre", "CompassSize", "CompassSimple"});
        TCompass c;
        c.Size = 15;
        j.Bool("CompassVisible", c.Visible);
        if (j.Has("CompassCentre")) {
            const auto xy = TFields::Ints(j.Get("CompassCentre"), j.At("CompassCentre"), 2);
            c.Centre = {xy[0], xy[1]};
        }
        j.Int("CompassSize", c.Size);
        j.Bool("CompassSimple", c.Simple);
        doc.Compass = c;
    }
    TPageItems& items = doc.Items;
    ForEach(json, "Captions", [&](const QJsonValue& v, const std::string& path) {
        TFields j(v, path,
                  {"Text", "Rect", "Font", "FontHeightMm", "FillBackground", "ScaleCaption",
                   "TextLocked"});
        auto c = std::make_unique<TNyomtatoSzoveg>();
        j.String("Text", c->Text);
        j.Rect("Rect", c->Rect);
        if (j.Has("Font")) c->Font = FontFrom(j.Get("Font"), j.At("Font"), c->Font);
        j.Int("FontHeightMm", c->FontHeightMm);
        j.Bool("FillBackground", c->FillBackground);
        j.Bool("ScaleCaption", c->ScaleCaption);
        j.Bool("TextLocked", c->TextLocked);
        items.Captions.Add(std::move(c));
    });
    ForEach(json, "Images", [&](const QJsonValue& v, const std::string& path) {
        TFields j(v, path, {"Rect", "FileName", "Picture", "PictureFile"});
        auto k = std::make_unique<TNyomtatoKep>();
        j.Rect("Rect", k->Rect);
        j.String("FileName", k->FileName);
        if (j.Has("PictureFile")) {
            if (j.Has("Picture")) TFields::Fail(path, "gives both Picture and PictureFile");
            if (!j.Get("PictureFile").isString())
                TFields::Fail(j.At("PictureFile"), "expected a string");
            LoadPictureFile(j.Get("PictureFile").toString(), from, *k->Picture,
                            j.At("PictureFile"));
        } else {
            if (!j.Has("Picture")) TFields::Fail(path, "has no Picture (or PictureFile)");
            PictureFrom(j.Get("Picture"), j.At("Picture"), from, *k);
        }
        items.Images.Add(std::move(k));
    });
    ForEach(json, "Frames", [&](const QJsonValue& v, const std::string& path) {
        TFields j(v, path,
                  {"Rect", "Shadow", "BorderColor", "FillColor", "FillStyle", "Title",
                   "TitleAlignment", "TitleFont", "Members"});
        auto f = std::make_unique<TNyomtatoKeret>();
        j.Rect("Rect", f->Rect);
        j.Bool("Shadow", f->Shadow);
        j.Int("BorderColor", f->BorderColor);
        j.Int("FillColor", f->FillColor);
        j.Byte("FillStyle", f->FillStyle);
        j.String("Title", f->Title);
        j.Int("TitleAlignment", f->TitleAlignment);
        if (j.Has("TitleFont")) {
            f->TitleFont = FontFrom(j.Get("TitleFont"), j.At("TitleFont"), f->TitleFont);
        }
        if (j.Has("Members")) {
            const QJsonArray a = TFields::Array(j.Get("Members"), j.At("Members"));
            for (qsizetype i = 0; i < a.size(); ++i) {
                const auto m =
                    TFields::Ints(a[i], j.At("Members") + "[" + std::to_string(i) + "]", 2);
                f->Members.AddReference(m[0], m[1]);
            }
        }
        items.Frames.Add(std::move(f));
    });
    ForEach(json, "Texts", [&](const QJsonValue& v, const std::string& path) {
        TFields j(v, path, {"Text", "Rect", "Font", "FontHeightMm", "LineCount", "FillBackground"});
        auto t = std::make_unique<TNyomtatoSorok>();
        j.String("Text", t->Text);
        j.Rect("Rect", t->Rect);
        if (j.Has("Font")) t->Font = FontFrom(j.Get("Font"), j.At("Font"), t->Font);
        j.Int("FontHeightMm", t->FontHeightMm);
        j.Int("LineCount", t->LineCount);
        j.Bool("FillBackground", t->FillBackground);
        items.Texts.Add(std::move(t));
    });
    ForEach(json, "Lines", [&](const QJsonValue& v, const std::string& path) {
        TFields j(v, path, {"Points", "Color", "Width", "PenStyle"});
        auto l = std::make_unique<TNyomtatoVonal>();
        PointsFrom(j, *l);
        j.Int("Color", l->Color);
        j.Int("Width", l->Width);
        j.Byte("PenStyle", l->PenStyle);
        items.Lines.Add(std::move(l));
    });
    ForEach(json, "Rectangles", [&](const QJsonValue& v, const std::string& path) {
        TFields j(v, path, {"Rect", "Color"});
        auto r = std::make_unique<TNyomtatoNegyszog>();
        j.Rect("Rect", r->Rect);
        j.Int("Color", r->Color);
        items.Rectangles.Add(std::move(r));
    });
    ForEach(json, "Polygons", [&](const QJsonValue& v, const std::string& path) {
        TFields j(v, path, {"Points", "Color"});
        auto p = std::make_unique<TNyomtatoPoligon>();
        PointsFrom(j, *p);
        j.Int("Color", p->Color);
        items.Polygons.Add(std::move(p));
    });
    if (auto bad = CheckFrameMembers(items)) throw EJsonError(*bad);
    return doc;
}
