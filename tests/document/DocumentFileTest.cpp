#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "document/DocumentFile.h"
#include "document/OnDemandFile.h"
#include "document/RecordStreams.h"
#include "platform/Files.h"
#include "support/SampleDocument.h"
#include "support/TempDir.h"

namespace {

int32_t IntAt(const std::vector<uint8_t>& b, size_t at) {
    int32_t v;
    std::memcpy(&v, b.data() + at, 4); // the build machines are little-endian like the files
    return v;
}

std::string Message(std::span<const uint8_t> bytes, const std::string& name = "doc.PST") {
    try {
        ReadDocument(bytes, name);
    } catch (const EDocumentError& e) {
        return e.what();
    }
    return "";
}

void ExpectSameItems(const TPageItems& a, const TPageItems& b) {
    ASSERT_EQ(a.Captions.Count(), b.Captions.Count());
    for (int i = 0; i < a.Captions.Count(); ++i) {
        const auto &x = a.Captions[i], &y = b.Captions[i];
        EXPECT_EQ(x.Text, y.Text);
        EXPECT_EQ(x.Rect, y.Rect);
        EXPECT_EQ(x.Font, y.Font);
        EXPECT_EQ(x.FontHeightMm, y.FontHeightMm);
        EXPECT_EQ(x.FillBackground, y.FillBackground);
        EXPECT_EQ(x.ScaleCaption, y.ScaleCaption);
        EXPECT_EQ(x.TextLocked, y.TextLocked);
    }
    ASSERT_EQ(a.Images.Count(), b.Images.Count());
    for (int i = 0; i < a.Images.Count(); ++i) {
        const auto &x = a.Images[i], &y = b.Images[i];
        EXPECT_EQ(x.Rect, y.Rect);
        EXPECT_EQ(x.FileName, y.FileName);
        EXPECT_EQ(x.Picture->DibBlock, y.Picture->DibBlock);
        EXPECT_EQ(x.Picture->JpegQuality, y.Picture->JpegQuality);
        EXPECT_EQ(x.Picture->BitCount, y.Picture->BitCount);
        EXPECT_EQ(x.Picture->Pixels().Pixels, y.Picture->Pixels().Pixels);
        EXPECT_EQ(x.Picture->DibBlock.empty(), !y.Picture->HasImage);
    }
    ASSERT_EQ(a.Frames.Count(), b.Frames.Count());
    for (int i = 0; i < a.Frames.Count(); ++i) {
        const auto &x = a.Frames[i], &y = b.Frames[i];
        EXPECT_EQ(x.Rect, y.Rect);
        EXPECT_EQ(x.Shadow, y.Shadow);
        EXPECT_EQ(x.BorderColor, y.BorderColor);
        EXPECT_EQ(x.FillColor, y.FillColor);
        EXPECT_EQ(x.FillStyle, y.FillStyle);
        EXPECT_EQ(x.Title, y.Title);
        EXPECT_EQ(x.TitleAlignment, y.TitleAlignment);
        EXPECT_EQ(x.TitleFont, y.TitleFont);
        ASSERT_EQ(x.Members.Count(), y.Members.Count());
        for (int m = 0; m < x.Members.Count(); ++m) EXPECT_EQ(x.Members[m], y.Members[m]);
    }
    ASSERT_EQ(a.Texts.Count(), b.Texts.Count());
    for (int i = 0; i < a.Texts.Count(); ++i) {
        const auto &x = a.Texts[i], &y = b.Texts[i];
        EXPECT_EQ(x.Text, y.Text);
        EXPECT_EQ(x.Rect, y.Rect);
        EXPECT_EQ(x.Font, y.Font);
        EXPECT_EQ(x.FontHeightMm, y.FontHeightMm);
        EXPECT_EQ(x.LineCount, y.LineCount);
        EXPECT_EQ(x.FillBackground, y.FillBackground);
    }
    ASSERT_EQ(a.Lines.Count(), b.Lines.Count());
    for (int i = 0; i < a.Lines.Count(); ++i) {
        EXPECT_EQ(a.Lines[i].ToArray(), b.Lines[i].ToArray());
        EXPECT_EQ(a.Lines[i].Color, b.Lines[i].Color);
        EXPECT_EQ(a.Lines[i].Width, b.Lines[i].Width);
        EXPECT_EQ(a.Lines[i].PenStyle, b.Lines[i].PenStyle);
    }
    ASSERT_EQ(a.Rectangles.Count(), b.Rectangles.Count());
    for (int i = 0; i < a.Rectangles.Count(); ++i) {
        EXPECT_EQ(a.Rectangles[i].Rect, b.Rectangles[i].Rect);
        EXPECT_EQ(a.Rectangles[i].Color, b.Rectangles[i].Color);
    }
    ASSERT_EQ(a.Polygons.Count(), b.Polygons.Count());
    for (int i = 0; i < a.Polygons.Count(); ++i) {
        EXPECT_EQ(a.Polygons[i].ToArray(), b.Polygons[i].ToArray());
        EXPECT_EQ(a.Polygons[i].Color, b.Polygons[i].Color);
    }
}

// Offsets of the seven list counts in a document written without a compass.
std::vector<size_t> ListCountOffsets(const TDocumentData& d) {
    std::vector<size_t> at{22 + 8 + 140};
    auto next = [&at](const auto& write) {
        TWriteStream s;
        write(s);
        at.push_back(at.back() + s.Size());
    };
    next([&](TWriteStream& s) { d.Items.Captions.WriteToStream(s); });
    next([&](TWriteStream& s) { d.Items.Images.WriteToStream(s); });
    next([&](TWriteStream& s) { d.Items.Frames.WriteToStream(s); });
    next([&](TWriteStream& s) { d.Items.Texts.WriteToStream(s); });
    next([&](TWriteStream& s) { d.Items.Lines.SaveToStream(s); });
    next([&](TWriteStream& s) { d.Items.Rectangles.SaveToStream(s); });
    return at;
}

} // namespace

TEST(DocumentFile, EmptyDocumentIs198BytesWithTheFixedParts) {
    TDocumentData d;
    d.PageWidthMm = 2000;
    d.PageHeightMm = 3200;
    const auto bytes = WriteDocument(d);
    ASSERT_EQ(bytes.size(), 198u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()), 22),
              std::string("FolioscriptorDocument\0", 22));
    EXPECT_EQ(IntAt(bytes, 22), 2000);
    EXPECT_EQ(IntAt(bytes, 26), 3200);
    for (size_t at = 170; at < 198; at += 4) EXPECT_EQ(IntAt(bytes, at), 0);

    const TDocumentData back = ReadDocument(bytes, "empty.PST");
    EXPECT_EQ(back.PageSettings, d.PageSettings);
    EXPECT_FALSE(back.Compass);
    EXPECT_EQ(back.Items.Captions.Count() + back.Items.Polygons.Count(), 0);
}

TEST(DocumentFile, PageSettingsFieldsSitAtTheirOffsets) {
    const TDocumentData d = SampleDocument();
    const auto bytes = WriteDocument(d);
    const std::vector<uint8_t> block(bytes.begin() + 30, bytes.begin() + 170);
    const std::vector<std::pair<size_t, int32_t>> ints = {
        {0, 1},    {12, 4},          {16, 10},  {28, 80}, {32, 5},  {44, 291},         {48, 7},
        {60, 88},  {64, -9},         {76, -12}, {96, 6},  {100, 1}, {104, 0x00ABCDEF}, {116, 5},
        {132, -1}, {136, 2147483647}};
    for (const auto& [at, v] : ints) EXPECT_EQ(IntAt(block, at), v) << "offset " << at;
    EXPECT_EQ(block[88], 1);  // PageBorderVisible
    EXPECT_EQ(block[91], 1);  // HeightsLegendVisible
    EXPECT_EQ(block[112], 1); // ScaleBarVisible
    // Unused bytes: all zero except offset 90, which holds 1.
    for (size_t at : {80, 84, 92, 108}) EXPECT_EQ(IntAt(block, at), 0) << at;
    EXPECT_EQ(block[89], 0);
    EXPECT_EQ(block[90], 1);
    EXPECT_EQ(block[113] | block[114] | block[115], 0);

    EXPECT_EQ(ReadDocument(bytes, "x").PageSettings, d.PageSettings);
}

TEST(DocumentFile, EveryItemKindMembersFontsAndPicturesComeBack) {
    const TDocumentData d = SampleDocument();
    const auto bytes = WriteDocument(d);
    const TDocumentData back = ReadDocument(bytes, "sample.PST");
    EXPECT_EQ(back.PageWidthMm, 210);
    EXPECT_EQ(back.PageHeightMm, 297);
    EXPECT_EQ(back.PageSettings, d.PageSettings);
    EXPECT_EQ(back.Compass, d.Compass);
    ExpectSameItems(d.Items, back.Items);
    // The picture-less image reads back as an object without picture.
    EXPECT_FALSE(back.Items.Images[3].Picture->HasImage);
    EXPECT_EQ(back.Items.Images[2].Picture->Pixels().At(2, 0), FixturePixel({3, 3, 24}, 2, 0));
    EXPECT_EQ(WriteDocument(back), bytes);
}

TEST(DocumentFile, RecordsAreLaidOutFieldByField) {
    TPageItems items;
    auto c = std::make_unique<TNyomtatoSzoveg>();
    c->Rect = {1, 2, 3, 4};
    c->Font.Color = 0x0A0B0C;
    c->Font.Height = -20;
    c->Font.Name = "Arial";
    c->Font.Pitch = TFontPitch::fpFixed;
    c->Font.Style = fsBold | fsStrikeOut;
    c->FontHeightMm = -5;
    c->TextLocked = true;
    items.Captions.Add(std::move(c));
    TWriteStream out;
    items.Captions.WriteToStream(out);
    const auto b = out.Take();
    // count, empty text (length 0 and nothing else), rect, font record, height, three flags
    ASSERT_EQ(b.size(), 4u + 4 + 16 + 44 + 4 + 3);
    EXPECT_EQ(IntAt(b, 0), 1);
    EXPECT_EQ(IntAt(b, 4), 0);
    EXPECT_EQ(IntAt(b, 8), 1);
    EXPECT_EQ(IntAt(b, 20), 4);
    EXPECT_EQ(IntAt(b, 24), 0x0A0B0C);
    EXPECT_EQ(IntAt(b, 28), -20);
    EXPECT_EQ(b[32], 5);
    EXPECT_EQ(std::string(b.begin() + 33, b.begin() + 38), "Arial");
    for (size_t i = 38; i < 64; ++i) EXPECT_EQ(b[i], 0) << i;
    EXPECT_EQ(b[64], 2);
    EXPECT_EQ(b[65], 9);
    EXPECT_EQ(b[66] | b[67], 0);
    EXPECT_EQ(IntAt(b, 68), -5);
    EXPECT_EQ(b[72], 0);
    EXPECT_EQ(b[73], 0);
    EXPECT_EQ(b[74], 1);
}

TEST(DocumentFile, LongFaceNamesAreCutTo31CharactersAndStringsAtAZero) {
    TDocumentData d;
    auto c = std::make_unique<TNyomtatoSzoveg>();
    c->Font.Name = std::string(32, 'N') + "tail";
    c->Text = std::string("before\0after", 12);
    d.Items.Captions.Add(std::move(c));
    const auto bytes = WriteDocument(d);
    const auto back = ReadDocument(bytes, "x");
    EXPECT_EQ(back.Items.Captions[0].Font.Name, std::string(31, 'N'));
    EXPECT_EQ(back.Items.Captions[0].Text, "before");
    EXPECT_EQ(bytes.size(), 198u + 4 + 6 + 16 + 44 + 4 + 3);
}

TEST(DocumentFile, CompassBlockIsWrittenOnlyWhenGiven) {
    TDocumentData d = SampleDocument();
    const auto with = WriteDocument(d);
    d.Compass.reset();
    const auto without = WriteDocument(d);
    ASSERT_EQ(with.size(), without.size() + 21);
    EXPECT_TRUE(std::equal(without.begin(), without.end(), with.begin()));
    const std::vector<uint8_t> block(with.end() - 21, with.end());
    EXPECT_EQ(block, (std::vector<uint8_t>{1, 120, 0, 0, 0, 140, 0, 0, 0, 15, 0,
                                           0, 0,   0, 0, 0, 0,   1, 0, 0, 0}));
    EXPECT_EQ(ReadDocument(with, "x").Compass, (TCompass{true, {120, 140}, 15, true}));
    EXPECT_FALSE(ReadDocument(without, "x").Compass);
    // Bytes after a compass block are ignored.
    auto longer = with;
    longer.push_back(7);
    EXPECT_EQ(ReadDocument(longer, "x").Compass, (TCompass{true, {120, 140}, 15, true}));
}

TEST(DocumentFile, WrongMagicIsRefusedWithTheExactMessage) {
    auto bytes = WriteDocument(TDocumentData{});
    bytes[21] = '!';
    EXPECT_EQ(Message(bytes, "/home/u/a.PST"),
              "The file /home/u/a.PST is not a Folioscriptor document");
    bytes[21] = 0;
    bytes[0] = 'f';
    EXPECT_EQ(Message(bytes, "a.PST"), "The file a.PST is not a Folioscriptor document");
    EXPECT_EQ(Message(std::span(bytes).first(0), "a.PST"),
              "The file a.PST is not a Folioscriptor document");
}

TEST(DocumentFile, EveryTruncationIsRefusedWithTheFileNameAndThePart) {
    const auto bytes = WriteDocument(SampleDocument());
    for (size_t n = 22; n < bytes.size(); ++n) {
        if (n == bytes.size() - kCompassBlockSize) continue; // a whole document without compass
        const std::string m = Message(std::span(bytes).first(n), "cut.PST");
        ASSERT_EQ(m.rfind("The file cut.PST cannot be loaded: ", 0), 0u)
            << "cut at " << n << ": " << m;
    }
    EXPECT_EQ(Message(std::span(bytes).first(172), "cut.PST"),
              "The file cut.PST cannot be loaded: the caption list: the file ends early "
              "(4 more bytes needed at offset 170, 2 left)");
}

TEST(DocumentFile, NegativeOrOversizedCountsAreRefused) {
    TDocumentData d = SampleDocument();
    d.Compass.reset();
    const auto bytes = WriteDocument(d);
    const auto offsets = ListCountOffsets(d);
    ASSERT_EQ(offsets.size(), 7u);
    EXPECT_EQ(IntAt(bytes, offsets[0]), 3); // the caption count
    EXPECT_EQ(IntAt(bytes, offsets[6]), 1); // the polygon count, 36 bytes before the end
    EXPECT_EQ(offsets[6], bytes.size() - 4 - 4 - 3 * 8 - 4);
    for (size_t at : offsets) {
        for (uint8_t high : {uint8_t{0x80}, uint8_t{0x7F}, uint8_t{0x01}}) {
            auto bad = bytes;
            bad[at + 3] = high;
            EXPECT_NE(Message(bad), "") << "count at " << at << " with high byte " << int(high);
        }
    }
    // A string length larger than the rest of the file.
    auto longString = bytes;
    longString[170 + 4 + 3] = 0x40; // the first caption's text length
    EXPECT_NE(Message(longString).find("string length"), std::string::npos) << Message(longString);
}

TEST(DocumentFile, FlippedBytesAnywhereNeverCrash) {
    // Run under AddressSanitizer this shows that no damaged byte makes the reader read or
    // write out of bounds; each read either fails cleanly or yields a valid document.
    const auto bytes = WriteDocument(SampleDocument());
    for (size_t at = 22; at < bytes.size(); ++at) {
        for (uint8_t flip : {uint8_t{0xFF}, uint8_t{0x80}}) {
            auto bad = bytes;
            bad[at] ^= flip;
            try {
                const auto doc = ReadDocument(bad, "x");
                EXPECT_FALSE(CheckFrameMembers(doc.Items));
            } catch (const EDocumentError&) {
            }
        }
    }
}

TEST(DocumentFile, FrameReferencesToMissingItemsAreRefused) {
    TDocumentData d = SampleDocument();
    d.Items.Frames[1].Members.AddReference(ikText, 1); // there is one text
    EXPECT_EQ(Message(WriteDocument(d), "m.PST"),
              "The file m.PST cannot be loaded: frame 1 refers to text 1, which the document "
              "does not hold");
    d.Items.Frames[1].Members.Clear();
    d.Items.Frames[1].Members.AddReference(7, 0);
    EXPECT_NE(Message(WriteDocument(d)).find("unknown kind 7"), std::string::npos);
}

TEST(DocumentFile, LoadingGivesTheWholeDocumentOrAMessageAndSavingKeepsTheOldFileOnFailure) {
    TTempDir dir;
    const std::string path = dir.File("page.PST");
    const TDocumentData d = SampleDocument();
    ASSERT_TRUE(SaveDocumentFile(path, d).Ok());
    TDocumentLoad loaded = LoadDocumentFile(path);
    ASSERT_TRUE(loaded.Document) << loaded.Error;
    EXPECT_EQ(loaded.Document->Compass, d.Compass);
    // The editor installs the loaded lists by moving them over its own.
    TPageItems installed;
    installed.Captions.Add(std::make_unique<TNyomtatoSzoveg>());
    installed = std::move(loaded.Document->Items);
    ExpectSameItems(d.Items, installed);

    // A picture that cannot be stored (a JPEG picture whose block lost its rows) fails the
    // save and leaves the saved file alone.
    const auto before = ReadWholeFile(path);
    TDocumentData jpeg = SampleDocument();
    jpeg.Items.Images[1].Picture->IsJpeg = true;
    jpeg.Items.Images[1].Picture->DibBlock.resize(44);
    const TOutcome error = SaveDocumentFile(path, jpeg);
    ASSERT_TRUE(error.Failed());
    EXPECT_EQ(error.Message(), "The file " + path +
                                   " cannot be saved: the picture of image 2 cannot be "
                                   "stored as JPEG: Subscript out of range");
    EXPECT_EQ(ReadWholeFile(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path), {}), 1);

    const auto noFolder = SaveDocumentFile(dir.File("no/such/page.PST"), d);
    ASSERT_TRUE(noFolder.Failed());
    EXPECT_NE(noFolder.Message().find("no/such/page.PST"), std::string::npos);

    const TDocumentLoad missing = LoadDocumentFile(dir.File("missing.PST"));
    EXPECT_FALSE(missing.Document);
    EXPECT_EQ(missing.Error,
              "The file " + dir.File("missing.PST") +
                  " cannot be loaded: cannot open the file: No such file or directory");

    auto cut = *before;
    cut.resize(cut.size() - 30);
    ASSERT_TRUE(WriteFileAtomically(path, cut));
    const TDocumentLoad damaged = LoadDocumentFile(path);
    EXPECT_FALSE(damaged.Document);
    EXPECT_NE(damaged.Error.find("cannot be loaded"), std::string::npos);
}

TEST(DocumentFile, JpegPicturesAreStoredAsStreamsAndOneThatDoesNotDecodeFailsTheLoad) {
    TTempDir dir;
    const std::string path = dir.File("page.PST");
    TDocumentData d = SampleDocument();
    TMemBitmap& picture = *d.Items.Images[0].Picture;
    picture.IsJpeg = true;
    ASSERT_TRUE(SaveDocumentFile(path, d).Ok());
    const auto saved = ReadWholeFile(path);
    ASSERT_TRUE(saved);

    const TDocumentLoad loaded = LoadDocumentFile(path);
    ASSERT_TRUE(loaded.Document) << loaded.Error;
    const TMemBitmap& back = *loaded.Document->Items.Images[0].Picture;
    EXPECT_TRUE(back.IsJpeg);
    EXPECT_EQ(back.JpegQuality, picture.JpegQuality);
    EXPECT_EQ(back.Width, picture.Width);
    EXPECT_EQ(back.Height, picture.Height);
    EXPECT_EQ(back.BitCount, 24);
    // The other pictures and items are untouched by the JPEG one before them.
    EXPECT_EQ(loaded.Document->Items.Images[1].Picture->DibBlock,
              d.Items.Images[1].Picture->DibBlock);
    EXPECT_EQ(loaded.Document->Items.Captions.Count(), d.Items.Captions.Count());

    // The stored stream with its APP0 marker broken: the load fails with the decoder's message.
    auto damaged = *saved;
    const uint8_t start[] = {0xFF, 0xD8, 0xFF, 0xE0};
    const auto at = std::search(damaged.begin(), damaged.end(), std::begin(start), std::end(start));
    ASSERT_NE(at, damaged.end());
    at[3] = 0xE1;
    ASSERT_TRUE(WriteFileAtomically(path, damaged));
    const TDocumentLoad failed = LoadDocumentFile(path);
    EXPECT_FALSE(failed.Document);
    EXPECT_EQ(failed.Error, "The file " + path +
                                " cannot be loaded: the image list: a JPEG "
                                "picture cannot be decoded: Hiányzó JFIF APPO jelzés");
}

namespace {

// The message of a whole read and of a sizes-only read of the same bytes, and for a read that
// works, whether both give the same pictures' sizes and kinds.
struct TBothReads {
    std::string Whole, SizesOnly;
    bool SamePictures = true;
};

TBothReads ReadBothWays(std::span<const uint8_t> bytes) {
    TBothReads r;
    std::optional<TDocumentData> whole, sizes;
    try {
        whole = ReadDocument(bytes, "x.PST");
    } catch (const EDocumentError& e) {
        r.Whole = e.what();
    }
    try {
        sizes = ReadDocument(bytes, "x.PST", TPictureReading::SizesOnly);
    } catch (const EDocumentError& e) {
        r.SizesOnly = e.what();
    }
    if (whole && sizes) {
        const TNyomtatoKepLista &a = whole->Items.Images, &b = sizes->Items.Images;
        r.SamePictures = a.Count() == b.Count();
        for (int i = 0; r.SamePictures && i < a.Count(); ++i) {
            const TMemBitmap &x = *a[i].Picture, &y = *b[i].Picture;
            r.SamePictures = x.HasStoredPicture() == y.HasStoredPicture() && x.IsJpeg == y.IsJpeg &&
                             x.JpegQuality == y.JpegQuality && x.Width == y.Width &&
                             x.Height == y.Height && x.BitCount == y.BitCount &&
                             x.RowBytes == y.RowBytes && y.DibBlock.empty() &&
                             y.PixelsSkipped == y.HasImage;
        }
    }
    return r;
}

} // namespace

TEST(DocumentFile, SizesOnlyReadAgreesWithAWholeReadOnDamagedAndCutFiles) {
    TDocumentData d = SampleDocument();
    d.Items.Images[2].Picture->IsJpeg = true; // one picture stored as a JPEG stream
    const auto bytes = WriteDocument(d);
    const TBothReads intact = ReadBothWays(bytes);
    ASSERT_EQ(intact.Whole, "");
    ASSERT_EQ(intact.SizesOnly, "");
    EXPECT_TRUE(intact.SamePictures);
    for (size_t n = 22; n < bytes.size(); ++n) {
        const TBothReads cut = ReadBothWays(std::span(bytes).first(n));
        ASSERT_EQ(cut.Whole, cut.SizesOnly) << "cut at " << n;
        ASSERT_TRUE(cut.SamePictures) << "cut at " << n;
    }
    for (size_t at = 22; at < bytes.size(); ++at) {
        for (uint8_t flip : {uint8_t{0xFF}, uint8_t{0x80}, uint8_t{0x01}}) {
            auto bad = bytes;
            bad[at] ^= flip;
            const TBothReads r = ReadBothWays(bad);
            ASSERT_EQ(r.Whole, r.SizesOnly) << "byte " << at << " flipped by " << int(flip);
            ASSERT_TRUE(r.SamePictures) << "byte " << at << " flipped by " << int(flip);
        }
    }
}

TEST(DocumentFile, SizesOnlyLoadPassesOverPixelsAndNeverSavesThePictureEmpty) {
    TTempDir dir;
    const std::string path = dir.File("page.PST");
    const TDocumentData d = SampleDocument();
    ASSERT_TRUE(SaveDocumentFile(path, d).Ok());
    const TDocumentLoad load = LoadDocumentFile(path, TPictureReading::SizesOnly);
    ASSERT_TRUE(load.Document) << load.Error;
    const TMemBitmap& shown = *load.Document->Items.Images[1].Picture;
    EXPECT_EQ(shown.Width, 6);
    EXPECT_EQ(shown.BitCount, 8);
    EXPECT_TRUE(shown.HasStoredPicture());
    EXPECT_TRUE(shown.DibBlock.empty());
    EXPECT_FALSE(shown.CanDraw());
    EXPECT_FALSE(load.Document->Items.Images[3].Picture->HasStoredPicture());

    // Saving what such a load gave fails and leaves the file as it was.
    const auto before = ReadWholeFile(path);
    const TOutcome error = SaveDocumentFile(path, *load.Document);
    ASSERT_TRUE(error.Failed());
    EXPECT_EQ(error.Message(),
              "The file " + path +
                  " cannot be saved: a picture read without its pixels cannot be stored");
    EXPECT_EQ(ReadWholeFile(path), before);

    // A file cut inside the rows of a picture: both loads refuse it alike, by its length.
    auto cut = *before;
    const size_t secondBlock =
        std::search(cut.begin() + 200, cut.end(), d.Items.Images[1].Picture->DibBlock.begin(),
                    d.Items.Images[1].Picture->DibBlock.end()) -
        cut.begin();
    ASSERT_LT(secondBlock, cut.size());
    cut.resize(secondBlock + 100);
    ASSERT_TRUE(WriteFileAtomically(path, cut));
    const TDocumentLoad whole = LoadDocumentFile(path);
    const TDocumentLoad sizes = LoadDocumentFile(path, TPictureReading::SizesOnly);
    EXPECT_FALSE(whole.Document);
    EXPECT_FALSE(sizes.Document);
    EXPECT_EQ(sizes.Error, whole.Error);
    EXPECT_EQ(sizes.Error,
              "The file " + path + " cannot be loaded: the image list: picture length " +
                  std::to_string(d.Items.Images[1].Picture->DibBlock.size()) + " at offset " +
                  std::to_string(secondBlock - 4) + " is larger than the rest of the file");

    for (const std::string& name : {dir.File("missing.PST"), dir.Path.string()}) {
        EXPECT_EQ(LoadDocumentFile(name, TPictureReading::SizesOnly).Error,
                  LoadDocumentFile(name).Error);
    }
    const std::string empty = dir.File("empty.PST");
    ASSERT_TRUE(WriteFileAtomically(empty, {}));
    EXPECT_EQ(LoadDocumentFile(empty, TPictureReading::SizesOnly).Error,
              "The file " + empty + " is not a Folioscriptor document");
}

namespace {

// The sample document with a 1200 x 1000 24-bit picture (3.6 MB of rows) after its other
// images, so the lists of four kinds follow its rows.
std::string BigPictureDocument(const TTempDir& dir) {
    TDocumentData d = SampleDocument();
    const int32_t w = 1200, h = 1000, rowBytes = 3 * w;
    std::vector<uint8_t> block(40 + size_t(rowBytes) * h, 0x5A);
    const auto put = [&block](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) block[at + size_t(i)] = uint8_t(v >> (8 * i));
    };
    std::fill(block.begin(), block.begin() + 40, 0);
    put(0, 40, 4), put(4, w, 4), put(8, h, 4), put(12, 1, 2), put(14, 24, 2);
    auto image = std::make_unique<TNyomtatoKep>();
    image->Rect = {10, 10, 50, 40};
    EXPECT_TRUE(image->Picture->SetPicture(std::move(block), false));
    d.Items.Images.Add(std::move(image));
    const std::string path = dir.File("big.PST");
    EXPECT_TRUE(SaveDocumentFile(path, d).Ok());
    return path;
}

} // namespace

TEST(OnDemandFile, ASizesOnlyReadFetchesOnlyTheRecordsAroundThePictureRows) {
    TTempDir dir;
    const std::string path = BigPictureDocument(dir);
    std::string why;
    auto file = TOnDemandFile::Open(path, why);
    ASSERT_TRUE(file) << why;
    const TDocumentData sizes =
        ReadDocument(file->Bytes(), path, TPictureReading::SizesOnly, &*file);
    EXPECT_EQ(sizes.Items.Images[sizes.Items.Images.Count() - 1].Picture->Width, 1200);
    EXPECT_EQ(sizes.Items.Images.Count(), SampleDocument().Items.Images.Count() + 1);
    // The chunks at the start and around the end, not the 3.6 MB between.
    EXPECT_LT(file->BytesRead(), uint64_t{512} << 10);
    EXPECT_GT(std::filesystem::file_size(path), uint64_t{3} << 20);
}

TEST(OnDemandFile, AWholeReadTakesThePictureFromTheDiskOnce) {
    TTempDir dir;
    const std::string path = BigPictureDocument(dir);
    std::string why;
    auto file = TOnDemandFile::Open(path, why);
    ASSERT_TRUE(file) << why;
    const TDocumentData whole = ReadDocument(file->Bytes(), path, TPictureReading::Whole, &*file);
    const TMemBitmap& big = *whole.Items.Images[whole.Items.Images.Count() - 1].Picture;
    EXPECT_EQ(big.Width, 1200);
    const auto again = ReadWholeFile(path);
    EXPECT_EQ(WriteDocument(whole), *again);
    // Each byte once, plus at most the chunks the records around the rows share with them.
    EXPECT_LT(file->BytesRead(), std::filesystem::file_size(path) + (uint64_t{256} << 10));
}

TEST(OnDemandFile, AFileCutShortWhileItIsReadGivesAMessageNotACrash) {
    TTempDir dir;
    const std::string path = BigPictureDocument(dir);
    const auto size = std::filesystem::file_size(path);
    // Cut inside the big picture's rows, which a sizes-only read passes over and a whole read
    // copies out, and at the very start.
    for (const TPictureReading reading : {TPictureReading::SizesOnly, TPictureReading::Whole}) {
        for (const uintmax_t cutAt : {size / 2, uintmax_t{10}}) {
            std::string why;
            auto file = TOnDemandFile::Open(path, why);
            ASSERT_TRUE(file) << why;
            std::filesystem::resize_file(path, cutAt);
            try {
                ReadDocument(file->Bytes(), path, reading, &*file);
                ADD_FAILURE() << "a file cut to " << cutAt << " bytes was read";
            } catch (const EDocumentError& e) {
                EXPECT_NE(std::string(e.what()).find("the file became shorter while it was read"),
                          std::string::npos)
                    << e.what();
            }
            // The file as it is now is refused by its lengths, as a load of the bytes in
            // memory refuses it.
            const TDocumentLoad load = LoadDocumentFile(path, reading);
            EXPECT_FALSE(load.Document);
            const auto bytes = ReadWholeFile(path);
            try {
                ReadDocument(*bytes, path);
                ADD_FAILURE() << "the cut file was read from memory";
            } catch (const EDocumentError& e) {
                EXPECT_EQ(load.Error, e.what());
            }
            BigPictureDocument(dir); // whole again for the next cut
        }
    }
}
