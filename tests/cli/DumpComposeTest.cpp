#include <algorithm>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/CliRunner.h"
#include "codec/BitmapImage.h"
#include "document/DocumentFile.h"
#include "jpeg/JpegEncoder.h"
#include "platform/Files.h"
#include "support/SampleDocument.h"

namespace {

std::string Slurp(const std::filesystem::path& p) {
    const auto bytes = ReadWholeFile(p.string());
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

class DumpCompose : public CliTest {
protected:
    void Write(const std::string& name, std::span<const uint8_t> bytes) const {
        ASSERT_TRUE(WriteFileAtomically(File(name), bytes));
    }
    void Write(const std::string& name, const std::string& text) const {
        Write(name, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    }

    static TCliRun Run(const std::string& args) { return RunCli(args); }

    QJsonObject DumpJson(const std::string& name, const std::string& flags = "") const {
        const TCliRun r = Run("dump " + File(name) + " " + flags);
        EXPECT_EQ(r.Status, 0) << r.Err;
        return QJsonDocument::fromJson(QByteArray::fromStdString(r.Out)).object();
    }
};

} // namespace

TEST_F(DumpCompose, DumpShowsEveryFieldInUtf8WithPicturesInBase64) {
    const TDocumentData d = SampleDocument();
    Write("sample.PST", WriteDocument(d));
    const QJsonObject j = DumpJson("sample.PST");

    EXPECT_EQ(j["PageWidthMm"].toInt(), 210);
    EXPECT_EQ(j["PageSettings"]["ScaleBarPos"].toArray().at(5).toInt(), 2147483647);
    EXPECT_EQ(j["PageSettings"]["HeightsLegendExtent"].toArray().at(0).toInt(), -9);
    EXPECT_EQ(j["Compass"]["CompassCentre"].toArray(), (QJsonArray{120, 140}));
    const QJsonArray captions = j["Captions"].toArray();
    ASSERT_EQ(captions.size(), 3);
    EXPECT_EQ(captions[1]["Text"].toString(), QString::fromUtf8("Felirat áé 1"));
    EXPECT_EQ(captions[0]["Font"]["Name"].toString(), QString::fromUtf8("Arial Árvíztűrő"));
    EXPECT_EQ(captions[2]["Rect"].toArray(), (QJsonArray{20, 20, 50, 28}));
    EXPECT_EQ(j["Frames"][0]["Members"].toArray(),
              (QJsonArray{QJsonArray{0, 2}, QJsonArray{2, 1}, QJsonArray{6, 1}, QJsonArray{5, 0}}));
    EXPECT_EQ(j["Texts"][0]["Text"].toString(),
              QString::fromUtf8("first line\r\nsecond line\r\nő"));
    EXPECT_EQ(j["Lines"][1]["Points"].toArray().size(), 3);

    const QJsonObject picture = j["Images"][1]["Picture"].toObject();
    EXPECT_EQ(picture["BitCount"].toInt(), 8);
    const QByteArray data = QByteArray::fromBase64(picture["Data"].toString().toLatin1());
    const auto& block = d.Items.Images[1].Picture->DibBlock;
    EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.end()), block);
    EXPECT_FALSE(j["Images"][3]["Picture"]["HasImage"].toBool());

    const QJsonObject lean = DumpJson("sample.PST", "--no-pictures");
    EXPECT_FALSE(lean["Images"][1]["Picture"].toObject().contains("Data"));
    EXPECT_EQ(lean["Images"][1]["Picture"]["Width"].toInt(), 6);
}

// --no-pictures reads the document without the bitmap pictures' rows; what it prints must be
// the full dump less the Data fields, for every kind of picture (a JPEG one whose pixels are
// grey comes back as 8 bits, which only its pixels tell), and a damaged file fails alike.
TEST_F(DumpCompose, DumpWithoutPicturesPrintsTheFullDumpLessTheData) {
    TDocumentData d = SampleDocument();
    d.Items.Images[2].Picture->IsJpeg = true;
    BitmapImage grey;
    grey.SetSize(0, 24, 9, 7);
    for (uint32_t y = 0; y < 7; ++y)
        for (uint32_t x = 0; x < 27; ++x) grey.Row(y)[x] = uint8_t(20 * (x / 3) + y);
    auto greyImage = std::make_unique<TNyomtatoKep>();
    ASSERT_TRUE(greyImage->Picture->SetPicture(TMemBitmap::BlockFromCodecPicture(grey), true));
    d.Items.Images.Add(std::move(greyImage));
    const auto bytes = WriteDocument(d);
    Write("a.PST", bytes);

    const TCliRun full = Run("dump " + File("a.PST"));
    const TCliRun lean = Run("dump " + File("a.PST") + " --no-pictures");
    ASSERT_EQ(full.Status, 0) << full.Err;
    ASSERT_EQ(lean.Status, 0) << lean.Err;
    QJsonObject expected = QJsonDocument::fromJson(QByteArray::fromStdString(full.Out)).object();
    QJsonArray images = expected["Images"].toArray();
    for (qsizetype i = 0; i < images.size(); ++i) {
        QJsonObject image = images[i].toObject(), picture = image["Picture"].toObject();
        picture.remove("Data");
        image["Picture"] = picture;
        images[i] = image;
    }
    expected["Images"] = images;
    EXPECT_EQ(lean.Out, QJsonDocument(expected).toJson(QJsonDocument::Indented).toStdString());
    EXPECT_EQ(expected["Images"][4]["Picture"]["BitCount"].toInt(), 8);
    EXPECT_EQ(expected["Images"][2]["Picture"]["IsJpeg"].toBool(), true);

    for (size_t cut : {bytes.size() - 60, size_t{250}}) {
        Write("cut.PST", std::span(bytes).first(cut));
        const TCliRun a = Run("dump " + File("cut.PST"));
        const TCliRun b = Run("dump --no-pictures " + File("cut.PST"));
        EXPECT_EQ(a.Status, 1);
        EXPECT_EQ(b.Status, 1);
        EXPECT_NE(a.Err.find("cannot be loaded"), std::string::npos) << a.Err;
        EXPECT_EQ(b.Err, a.Err);
        EXPECT_EQ(b.Out, "");
    }
}

TEST_F(DumpCompose, ComposeOfDumpGivesTheSameBytesAndDumpOfComposeTheSameJson) {
    TDocumentData d = SampleDocument();
    for (bool compass : {true, false}) {
        SCOPED_TRACE(compass);
        if (!compass) d.Compass.reset();
        const auto original = WriteDocument(d);
        Write("a.PST", original);
        const TCliRun dump = Run("dump " + File("a.PST"));
        ASSERT_EQ(dump.Status, 0) << dump.Err;
        EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(dump.Out))["Compass"].isNull(),
                  !compass);
        Write("a.json", dump.Out);
        const TCliRun compose = Run("compose " + File("a.json") + " " + File("b.PST"));
        ASSERT_EQ(compose.Status, 0) << compose.Err;
        EXPECT_EQ(ReadWholeFile(File("b.PST")), original);
        EXPECT_EQ(Run("dump " + File("b.PST")).Out, dump.Out);
    }
}

TEST_F(DumpCompose, ComposeFillsDefaultsAndLoadsPictureFiles) {
    const TBmpShape shape{5, 3, 4};
    const auto bmp = MakeBmp(shape);
    Write("pic.bmp", bmp);
    Write("page.json", R"({
        "PageWidthMm": 210, "PageHeightMm": 297,
        "Captions": [{"Text": "Üdvözlet", "Rect": [1, 2, 3, 4]}],
        "Images": [{"Rect": [0, 0, 50, 30], "FileName": "pic.bmp", "Picture": {"File": "pic.bmp"}}],
        "Frames": [{"Members": [[0, 0], [2, 0]]}]
    })");
    const TCliRun r = Run("compose " + File("page.json") + " " + File("page.PST"));
    ASSERT_EQ(r.Status, 0) << r.Err;
    const auto bytes = ReadWholeFile(File("page.PST"));
    ASSERT_TRUE(bytes);
    const TDocumentData doc = ReadDocument(*bytes, "page.PST");
    EXPECT_FALSE(doc.Compass);
    EXPECT_EQ(doc.PageSettings, TPageSettings{});
    EXPECT_EQ(doc.Items.Captions[0].Text, "\xDC"
                                          "dv\xF6zlet");
    EXPECT_EQ(doc.Items.Captions[0].Font, TFont{});
    EXPECT_EQ(doc.Items.Frames[0].TitleFont.Name, "Arial");
    EXPECT_TRUE(doc.Items.Frames[0].Shadow);
    const TMemBitmap& picture = *doc.Items.Images[0].Picture;
    EXPECT_EQ(picture.DibBlock, std::vector<uint8_t>(bmp.begin() + 14, bmp.end()));
    EXPECT_EQ(picture.JpegQuality, 64);
}

// A .JPG File gives a picture from JPEG, stored as a stream encoded at its quality; dump shows
// that stream, and composing the dump gives the picture back.
TEST_F(DumpCompose, JpegFilesBecomeJpegPicturesAndDumpShowsTheirStoredStream) {
    BitmapImage source;
    source.SetSize(0, 24, 24, 16);
    for (uint32_t y = 0; y < 16; ++y)
        for (uint32_t x = 0; x < 72; ++x) source.Row(y)[x] = uint8_t(x * 3 + y * 5);
    JpegEncoder encoder;
    encoder.SetQuality(95);
    Write("photo.JPG", encoder.Encode(source));
    Write("page.json", R"({"Images": [{"Picture": {"File": "photo.JPG", "JpegQuality": 30}}]})");
    const TCliRun r = Run("compose " + File("page.json") + " " + File("page.PST"));
    ASSERT_EQ(r.Status, 0) << r.Err;
    const auto bytes = ReadWholeFile(File("page.PST"));
    ASSERT_TRUE(bytes);
    const TDocumentData doc = ReadDocument(*bytes, "page.PST");
    const TMemBitmap& picture = *doc.Items.Images[0].Picture;
    EXPECT_TRUE(picture.IsJpeg);
    EXPECT_EQ(picture.JpegQuality, 30);
    EXPECT_EQ(picture.Width, 24);
    EXPECT_EQ(picture.Height, 16);

    const QJsonObject dumped = DumpJson("page.PST")["Images"][0]["Picture"].toObject();
    EXPECT_TRUE(dumped["IsJpeg"].toBool());
    const QByteArray data = QByteArray::fromBase64(dumped["Data"].toString().toLatin1());
    const std::vector<uint8_t> stream(data.begin(), data.end());
    EXPECT_EQ(stream, picture.JpegStream());
    // After SOI (2 bytes), APP0 (18) and SOF0 (19), DQT's marker, length and table number:
    // the first luminance value, 16 x 2^(0.12 x 20) at quality 30.
    ASSERT_GT(stream.size(), 45u);
    EXPECT_EQ(stream[1], 0xD8);
    EXPECT_EQ(stream[40], 0xDB);
    EXPECT_EQ(stream[44], 84);

    Write("again.json",
          QJsonDocument(QJsonObject{{"Images", QJsonArray{QJsonObject{{"Picture", dumped}}}}})
              .toJson()
              .toStdString());
    const TCliRun again = Run("compose " + File("again.json") + " " + File("again.PST"));
    ASSERT_EQ(again.Status, 0) << again.Err;
    const TDocumentData back = ReadDocument(*ReadWholeFile(File("again.PST")), "again.PST");
    EXPECT_TRUE(back.Items.Images[0].Picture->IsJpeg);
    EXPECT_EQ(back.Items.Images[0].Picture->Width, 24);

    // A stream that does not decode is refused with the decoder's message.
    QJsonObject broken = dumped;
    broken["Data"] = QString::fromLatin1(QByteArray("\xFF\xD8 broken").toBase64());
    Write("broken.json",
          QJsonDocument(QJsonObject{{"Images", QJsonArray{QJsonObject{{"Picture", broken}}}}})
              .toJson()
              .toStdString());
    const TCliRun refused = Run("compose " + File("broken.json") + " " + File("broken.PST"));
    EXPECT_EQ(refused.Status, 1);
    EXPECT_NE(refused.Err.find("Images[0].Picture.Data: the JPEG picture cannot be decoded: "),
              std::string::npos)
        << refused.Err;
    EXPECT_FALSE(std::filesystem::exists(Dir.Path / "broken.PST"));
}

TEST_F(DumpCompose, FailuresNameTheFileAndTheProblemAndWriteNothing) {
    const TCliRun missing = Run("dump " + File("missing.PST"));
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Err.find(File("missing.PST") + " cannot be loaded: cannot open the file"),
              std::string::npos)
        << missing.Err;
    EXPECT_TRUE(missing.Out.empty());

    auto bytes = WriteDocument(SampleDocument());
    bytes[21] = 'x';
    Write("bad.PST", bytes);
    EXPECT_NE(Run("dump " + File("bad.PST"))
                  .Err.find("The file " + File("bad.PST") + " is not a Folioscriptor document"),
              std::string::npos);
    bytes[21] = 0;
    bytes.resize(bytes.size() - 40);
    Write("cut.PST", bytes);
    const TCliRun cut = Run("dump " + File("cut.PST"));
    EXPECT_EQ(cut.Status, 1);
    EXPECT_NE(cut.Err.find("cannot be loaded: the polygon list: "), std::string::npos) << cut.Err;

    const std::vector<std::pair<std::string, std::string>> badJson = {
        {"{\"Captions\": [", "not valid JSON"},
        {"[]", "not an object"},
        {R"({"Captions": [{"Rect": [1, 2, 3]}]})",
         "Captions[0].Rect: expected an array of 4 integers"},
        {R"({"Captions": [{"Txet": "a"}]})", "Captions[0].Txet: unknown field"},
        {R"({"Captions": [{"Text": "日本"}]})",
         "Captions[0].Text: holds characters that code page 1250 lacks"},
        {R"({"Lines": [{"PenStyle": 256}]})",
         "Lines[0].PenStyle: expected an integer from 0 to 255"},
        {R"({"Rectangles": [{"Color": 1.5}]})", "Rectangles[0].Color: expected a 32-bit integer"},
        {R"({"Frames": [{"Members": [[1, 0]]}]})",
         "frame 0 refers to text 0, which the document does not hold"},
        {R"({"Images": [{"Picture": {"File": "nothing.bmp"}}]})",
         "Images[0].Picture.File: cannot load the picture"},
        {R"({"Images": [{"Picture": {"HasImage": true, "Data": "AAAA"}}]})",
         "Images[0].Picture.Data: the picture is damaged"},
        {R"({"Images": [{"Picture": {"HasImage": true}}]})",
         "HasImage is true but there is no Data"},
        {R"({"Images": [{"Picture": {"HasImage": false, "Data": "AAAA"}}]})",
         "gives Data but HasImage is false"},
    };
    Write("old.PST", std::string("keep me"));
    for (const auto& [json, expected] : badJson) {
        Write("bad.json", json);
        const TCliRun r = Run("compose " + File("bad.json") + " " + File("old.PST"));
        EXPECT_EQ(r.Status, 1) << json;
        EXPECT_NE(r.Err.find(File("bad.json")), std::string::npos) << r.Err;
        EXPECT_NE(r.Err.find(expected), std::string::npos) << r.Err;
        EXPECT_EQ(Slurp(Dir.Path / "old.PST"), "keep me");
    }
}

TEST_F(DumpCompose, UsageErrorsAndHelp) {
    const TCliRun help = Run("--help");
    EXPECT_EQ(help.Status, 0);
    EXPECT_NE(help.Out.find("dump FILE.PST"), std::string::npos);
    EXPECT_NE(help.Out.find("compose FILE.json OUT.PST"), std::string::npos);
    EXPECT_EQ(Run("dump --help").Status, 0);
    EXPECT_EQ(Run("dump").Status, 2);
    EXPECT_EQ(Run("compose only-one.json").Status, 2);
    EXPECT_EQ(Run("dump a.PST --frobnicate").Status, 2);
}

// "PictureFile" reads through the picture import: a phone's Exif-first stream is taken and
// turned upright. A document whose JPEG quality lies outside 1..100 still dumps and saves.
TEST_F(DumpCompose, PictureFilesComeThroughTheImportAndOddQualitiesStaySavable) {
    BitmapImage source;
    source.SetSize(0, 24, 24, 16);
    JpegEncoder encoder;
    const std::vector<uint8_t> jfif = encoder.Encode(source);
    // SOI, an Exif segment with orientation 6 (a quarter clockwise), then no APP0.
    std::vector<uint8_t> exif = {0xFF, 0xD8, 0xFF, 0xE1, 0, 34, 'E', 'x', 'i', 'f',  0,    0, 'I',
                                 'I',  42,   0,    8,    0, 0,  0,   1,   0,   0x12, 0x01, 3, 0,
                                 1,    0,    0,    0,    6, 0,  0,   0,   0,   0,    0,    0};
    const size_t app0 = 2 + (size_t(jfif[4]) << 8 | jfif[5]);
    exif.insert(exif.end(), jfif.begin() + 2 + ptrdiff_t(app0), jfif.end());
    Write("phone.jpg", exif);
    Write("page.json", R"({"Images": [{"Rect": [0, 0, 40, 60], "PictureFile": "phone.jpg"}]})");
    const TCliRun r = Run("compose " + File("page.json") + " " + File("page.PST"));
    ASSERT_EQ(r.Status, 0) << r.Err;
    auto bytes = ReadWholeFile(File("page.PST"));
    ASSERT_TRUE(bytes);
    {
        const TDocumentData doc = ReadDocument(*bytes, "page.PST");
        const TMemBitmap& picture = *doc.Items.Images[0].Picture;
        EXPECT_TRUE(picture.IsJpeg);
        EXPECT_EQ(picture.Width, 16);
        EXPECT_EQ(picture.Height, 24);
    }

    // The stored quality (64 by default) made 150: dump shows 150, compose of it saves 100.
    const std::vector<uint8_t> field = {1, 64, 0, 0, 0, 1};
    const auto at = std::search(bytes->begin(), bytes->end(), field.begin(), field.end());
    ASSERT_NE(at, bytes->end());
    at[1] = 150;
    Write("odd.PST", *bytes);
    const TCliRun dump = Run("dump " + File("odd.PST"));
    ASSERT_EQ(dump.Status, 0) << dump.Err;
    const QJsonObject dumped = QJsonDocument::fromJson(QByteArray::fromStdString(dump.Out))
                                   .object()["Images"][0]["Picture"]
                                   .toObject();
    EXPECT_EQ(dumped["JpegQuality"].toInt(), 150);
    Write("odd.json", dump.Out);
    ASSERT_EQ(Run("compose " + File("odd.json") + " " + File("odd2.PST")).Status, 0);
    const TDocumentData back = ReadDocument(*ReadWholeFile(File("odd2.PST")), "odd2.PST");
    EXPECT_EQ(back.Items.Images[0].Picture->JpegQuality, 100);

    Write("both.json", R"({"Images": [{"PictureFile": "phone.jpg", "Picture": {}}]})");
    const TCliRun both = Run("compose " + File("both.json") + " " + File("both.PST"));
    EXPECT_NE(both.Err.find("gives both Picture and PictureFile"), std::string::npos) << both.Err;
    Write("cut.jpg", std::vector<uint8_t>(exif.begin(), exif.begin() + 60));
    Write("cut.json", R"({"Images": [{"PictureFile": "cut.jpg"}]})");
    const TCliRun cut = Run("compose " + File("cut.json") + " " + File("cut.PST"));
    EXPECT_NE(cut.Err.find("Images[0].PictureFile: cannot load the picture"), std::string::npos)
        << cut.Err;
    EXPECT_NE(cut.Err.find("the file ends inside the picture data"), std::string::npos) << cut.Err;
}
