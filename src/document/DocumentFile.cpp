#include "document/DocumentFile.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "codec/GraphicsExceptions.h"
#include "document/OnDemandFile.h"
#include "document/RecordStreams.h"
#include "platform/Files.h"

namespace {

// The page settings block: fields at fixed offsets, the unused bytes as older files have
// them (all zero except offset 90, which holds 1).
constexpr size_t kBasePageRectAt = 0;
constexpr size_t kClickThroughAreaAt = 16;
constexpr size_t kPageBorderRectAt = 32;
constexpr size_t kHeightsLegendRectAt = 48;
constexpr size_t kHeightsLegendExtentAt = 64;
constexpr size_t kPageBorderVisibleAt = 88;
constexpr size_t kAlwaysOneAt = 90;
constexpr size_t kHeightsLegendVisibleAt = 91;
constexpr size_t kHeightsLegendFontMmAt = 96;
constexpr size_t kHeightsLegendOrientationAt = 100;
constexpr size_t kPageBorderColorAt = 104;
constexpr size_t kScaleBarVisibleAt = 112;
constexpr size_t kScaleBarPosAt = 116;

void Put(uint8_t* block, size_t at, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (size_t i = 0; i < 4; ++i) block[at + i] = static_cast<uint8_t>(u >> (8 * i));
}

void Put(uint8_t* block, size_t at, const TRect& r) {
    Put(block, at, r.Left);
    Put(block, at + 4, r.Top);
    Put(block, at + 8, r.Right);
    Put(block, at + 12, r.Bottom);
}

int32_t GetInt(std::span<const uint8_t> block, size_t at) {
    return TReadStream(block.subspan(at, 4)).ReadInt32();
}

TRect GetRect(std::span<const uint8_t> block, size_t at) {
    return {GetInt(block, at), GetInt(block, at + 4), GetInt(block, at + 8),
            GetInt(block, at + 12)};
}

} // namespace

void WritePageSettings(TWriteStream& out, const TPageSettings& s) {
    uint8_t block[kPageSettingsBlockSize] = {};
    Put(block, kBasePageRectAt, s.BasePageRect);
    Put(block, kClickThroughAreaAt, s.ClickThroughArea);
    Put(block, kPageBorderRectAt, s.PageBorderRect);
    Put(block, kHeightsLegendRectAt, s.HeightsLegendRect);
    Put(block, kHeightsLegendExtentAt, s.HeightsLegendExtent);
    block[kPageBorderVisibleAt] = s.PageBorderVisible ? 1 : 0;
    block[kAlwaysOneAt] = 1;
    block[kHeightsLegendVisibleAt] = s.HeightsLegendVisible ? 1 : 0;
    Put(block, kHeightsLegendFontMmAt, s.HeightsLegendFontMm);
    Put(block, kHeightsLegendOrientationAt, s.HeightsLegendOrientation);
    Put(block, kPageBorderColorAt, s.PageBorderColor);
    block[kScaleBarVisibleAt] = s.ScaleBarVisible ? 1 : 0;
    for (size_t i = 0; i < s.ScaleBarPos.size(); ++i)
        Put(block, kScaleBarPosAt + 4 * i, s.ScaleBarPos[i]);
    out.Write(block, sizeof block);
}

TPageSettings ReadPageSettings(TReadStream& in) {
    const auto block = in.ReadBytes(kPageSettingsBlockSize);
    TPageSettings s;
    s.BasePageRect = GetRect(block, kBasePageRectAt);
    s.ClickThroughArea = GetRect(block, kClickThroughAreaAt);
    s.PageBorderRect = GetRect(block, kPageBorderRectAt);
    s.HeightsLegendRect = GetRect(block, kHeightsLegendRectAt);
    s.HeightsLegendExtent = GetRect(block, kHeightsLegendExtentAt);
    s.PageBorderVisible = block[kPageBorderVisibleAt] != 0;
    s.HeightsLegendVisible = block[kHeightsLegendVisibleAt] != 0;
    s.HeightsLegendFontMm = GetInt(block, kHeightsLegendFontMmAt);
    s.HeightsLegendOrientation = GetInt(block, kHeightsLegendOrientationAt);
    s.PageBorderColor = GetInt(block, kPageBorderColorAt);
    s.ScaleBarVisible = block[kScaleBarVisibleAt] != 0;
    for (size_t i = 0; i < s.ScaleBarPos.size(); ++i)
        s.ScaleBarPos[i] = GetInt(block, kScaleBarPosAt + 4 * i);
    return s;
}

void WriteCompass(TWriteStream& out, const TCompass& c) {
    WriteBool(out, c.Visible);
    out.WriteInt32(c.Centre.X);
    out.WriteInt32(c.Centre.Y);
    out.WriteInt32(c.Size);
    out.WriteInt32(0); // without use
    WriteBool(out, c.Simple);
    const uint8_t unused[3] = {};
    out.Write(unused, sizeof unused);
}

TCompass ReadCompass(TReadStream& in) {
    const auto block = in.ReadBytes(kCompassBlockSize);
    TCompass c;
    c.Visible = block[0] != 0;
    c.Centre = {GetInt(block, 1), GetInt(block, 5)};
    c.Size = GetInt(block, 9);
    c.Simple = block[17] != 0;
    return c;
}

void WriteItemLists(TWriteStream& out, const TPageItems& items) {
    items.Captions.WriteToStream(out);
    items.Images.WriteToStream(out);
    items.Frames.WriteToStream(out);
    items.Texts.WriteToStream(out);
    items.Lines.SaveToStream(out);
    items.Rectangles.SaveToStream(out);
    items.Polygons.SaveToStream(out);
}

void ReadItemLists(TReadStream& in, TPageItems& items, const char*& part,
                   TPictureReading pictures) {
    part = "the caption list";
    items.Captions = TNyomtatoSzovegLista::ReadFromStream(in);
    part = "the image list";
    items.Images = TNyomtatoKepLista::ReadFromStream(in, pictures);
    part = "the frame list";
    items.Frames = TNyomtatoKeretLista::ReadFromStream(in);
    part = "the text list";
    items.Texts = TNyomtatoSorokLista::ReadFromStream(in);
    part = "the line list";
    items.Lines.LoadFromStream(in);
    part = "the rectangle list";
    items.Rectangles.LoadFromStream(in);
    part = "the polygon list";
    items.Polygons.LoadFromStream(in);
}

std::vector<uint8_t> WriteDocument(int32_t pageWidthMm, int32_t pageHeightMm,
                                   const TPageSettings& settings, const TPageItems& items,
                                   const TCompass* compass) {
    TWriteStream out;
    out.Write(kDocumentMagic, kDocumentMagicSize);
    out.WriteInt32(pageWidthMm);
    out.WriteInt32(pageHeightMm);
    WritePageSettings(out, settings);
    WriteItemLists(out, items);
    if (compass) WriteCompass(out, *compass);
    return out.Take();
}

std::vector<uint8_t> WriteDocument(const TDocumentData& doc) {
    return WriteDocument(doc.PageWidthMm, doc.PageHeightMm, doc.PageSettings, doc.Items,
                         doc.Compass ? &*doc.Compass : nullptr);
}

std::optional<std::string> CheckFrameMembers(const TPageItems& items) {
    for (int f = 0; f < items.Frames.Count(); ++f) {
        const TKKLista& members = items.Frames[f].Members;
        for (int m = 0; m < members.Count(); ++m) {
            const TKKItem& ref = members[m];
            if (ref.Kind < ikCaption || ref.Kind > ikFrame) {
                return "frame " + std::to_string(f) + " refers to an item of unknown kind " +
                       std::to_string(ref.Kind);
            }
            if (ref.Index < 0 || ref.Index >= items.CountOf(ref.Kind)) {
                return "frame " + std::to_string(f) + " refers to " + ItemKindName(ref.Kind) + " " +
                       std::to_string(ref.Index) + ", which the document does not hold";
            }
        }
    }
    return std::nullopt;
}

TDocumentData ReadDocument(std::span<const uint8_t> bytes, const std::string& fileName) {
    return ReadDocument(bytes, fileName, TPictureReading::Whole);
}

TDocumentData ReadDocument(std::span<const uint8_t> bytes, const std::string& fileName,
                           TPictureReading pictures, TByteSource* source) {
    if (source && !bytes.empty()) {
        try {
            source->Fill(0, std::min(bytes.size(), kDocumentMagicSize));
        } catch (const EReadError& e) {
            throw EDocumentError("The file " + fileName + " cannot be loaded: " + e.what());
        }
    }
    if (bytes.size() < kDocumentMagicSize ||
        std::memcmp(bytes.data(), kDocumentMagic, kDocumentMagicSize) != 0) {
        throw EDocumentError("The file " + fileName + " is not a Folioscriptor document");
    }
    TReadStream in(bytes, source);
    in.Skip(kDocumentMagicSize);
    TDocumentData doc;
    const char* part = "the page size";
    try {
        doc.PageWidthMm = in.ReadInt32();
        doc.PageHeightMm = in.ReadInt32();
        part = "the page settings";
        doc.PageSettings = ReadPageSettings(in);
        ReadItemLists(in, doc.Items, part, pictures);
        part = "the compass block";
        if (!in.AtEnd()) doc.Compass = ReadCompass(in);
    } catch (const EReadError& e) {
        throw EDocumentError("The file " + fileName + " cannot be loaded: " + part + ": " +
                             e.what());
    } catch (const EGraphicsException& e) {
        // A stored JPEG picture that does not decode: the decoder's message.
        throw EDocumentError("The file " + fileName + " cannot be loaded: " + part +
                             ": a JPEG picture cannot be decoded: " + e.what());
    } catch (const std::bad_alloc&) {
        throw EDocumentError("The file " + fileName + " cannot be loaded: " + part +
                             ": not enough memory");
    }
    if (auto bad = CheckFrameMembers(doc.Items)) {
        throw EDocumentError("The file " + fileName + " cannot be loaded: " + *bad);
    }
    return doc;
}

TDocumentLoad LoadDocumentFile(const std::string& path, TPictureReading pictures) {
    TDocumentLoad result;
    std::string why;
    auto file = TOnDemandFile::Open(path, why);
    if (!file) {
        result.Error = "The file " + path + " cannot be loaded: " + why;
        return result;
    }
    try {
        result.Document = ReadDocument(file->Bytes(), path, pictures, &*file);
    } catch (const EDocumentError& e) {
        result.Error = e.what();
    }
    return result;
}

TOutcome SaveDocumentFile(const std::string& path, int32_t pageWidthMm, int32_t pageHeightMm,
                          const TPageSettings& settings, const TPageItems& items,
                          const TCompass* compass) {
    std::vector<uint8_t> bytes;
    try {
        bytes = WriteDocument(pageWidthMm, pageHeightMm, settings, items, compass);
    } catch (const std::exception& e) {
        return TOutcome::Failure("The file " + path + " cannot be saved: " + e.what());
    }
    std::string why;
    if (!WriteFileAtomically(path, bytes, &why)) {
        return TOutcome::Failure("The file " + path + " cannot be saved: " + why);
    }
    return TOutcome::Success();
}

TOutcome SaveDocumentFile(const std::string& path, const TDocumentData& doc) {
    return SaveDocumentFile(path, doc.PageWidthMm, doc.PageHeightMm, doc.PageSettings, doc.Items,
                            doc.Compass ? &*doc.Compass : nullptr);
}
