// Hand-made JPEG streams: the smallest valid files, and one broken detail at a time for each
// refusal. Every stream is decoded by the fast and the reference reader (DecodeBoth).
#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>

#include "codec/GraphicsExceptions.h"
#include "jpeg/JpegDecoder.h"
#include "jpeg/JpegIdct.h"
#include "jpeg/JpegTables.h"
#include "jpeg/JpegTestFiles.h"

namespace {

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Segment(uint8_t marker, const Bytes& payload) {
    const size_t length = payload.size() + 2;
    Bytes out = {0xFF, marker, uint8_t(length >> 8), uint8_t(length)};
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

const Bytes kSoi = {0xFF, 0xD8};
const Bytes kEoi = {0xFF, 0xD9};

// The identifier's letters and terminating zero, padded with zeros to the five bytes of "JFIF".
Bytes App0(const std::string& identifier = "JFIF") {
    Bytes p(identifier.begin(), identifier.end());
    p.resize(5, 0);
    p.insert(p.end(), {1, 1, 0, 0, 1, 0, 1, 0, 0});
    return Segment(0xE0, p);
}

Bytes Dqt(uint8_t tableByte = 0x00, uint8_t value = 1) {
    Bytes p = {tableByte};
    p.insert(p.end(), 64, value);
    return Segment(0xDB, p);
}

// One table: counts of codes of length 1..16 (missing ones are 0) and the symbols.
Bytes Dht(uint8_t tableByte, Bytes counts, const Bytes& symbols) {
    counts.resize(16, 0);
    Bytes p = {tableByte};
    p.insert(p.end(), counts.begin(), counts.end());
    p.insert(p.end(), symbols.begin(), symbols.end());
    return Segment(0xC4, p);
}

// DC table 0: "0" = category 0. AC table 0: "0" = end of block.
const Bytes kTables = Cat({Dht(0x00, {1}, {0x00}), Dht(0x10, {1}, {0x00})});

struct Comp {
    uint8_t Id, Sampling, Table;
};
Bytes Sof(uint8_t marker, uint16_t height, uint16_t width, std::initializer_list<Comp> comps) {
    Bytes p = {8,
               uint8_t(height >> 8),
               uint8_t(height),
               uint8_t(width >> 8),
               uint8_t(width),
               uint8_t(comps.size())};
    for (const Comp& c : comps) p.insert(p.end(), {c.Id, c.Sampling, c.Table});
    return Segment(marker, p);
}

struct ScanComp {
    uint8_t Id, Tables;
};
Bytes Sos(std::initializer_list<ScanComp> comps, uint8_t ss = 0, uint8_t se = 63,
          uint8_t approximation = 0) {
    Bytes p = {uint8_t(comps.size())};
    for (const ScanComp& c : comps) p.insert(p.end(), {c.Id, c.Tables});
    p.insert(p.end(), {ss, se, approximation});
    return Segment(0xDA, p);
}

const Bytes kGreySof = Sof(0xC0, 8, 8, {{1, 0x11, 0}});
const Bytes kGreySos = Sos({{1, 0x00}});
// One block: DC category 0, end of block ("00"), padded with 1 bits.
const Bytes kOneBlock = {0x3F};

// SOI, APP0, DQT, SOF, DHT, SOS, data, EOI of an 8 x 8 grey picture, with parts replaceable.
Bytes Grey(const Bytes& sof = kGreySof, const Bytes& sos = kGreySos, const Bytes& data = kOneBlock,
           const Bytes& tail = kEoi) {
    return Cat({kSoi, App0(), Dqt(), sof, kTables, sos, data, tail});
}

std::string Message(const Bytes& stream) { return DecodeBoth(stream).Message; }

void DecodeFastOrThrow(const Bytes& stream) {
    BitmapImage picture;
    JpegDecoder().Decode(stream.data(), stream.size(), picture);
}

} // namespace

TEST(JpegStream, AZeroBlockDecodesTo128WithAGreyPalette) {
    const DecodeOutcome d = DecodeBoth(Grey());
    ASSERT_EQ(d.Message, "ok");
    ASSERT_EQ(d.Picture.Width(), 8u);
    ASSERT_EQ(d.Picture.BitCount(), 8u);
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 8; ++x) EXPECT_EQ(d.Picture.Row(y)[x], 128);
    EXPECT_EQ(d.Picture.GetRGB(0, 0), (RgbValue{128, 128, 128}));
    const uint8_t* entry = d.Picture.ColorMapEntry(77);
    EXPECT_TRUE(entry[0] == 77 && entry[1] == 77 && entry[2] == 77);
}

TEST(JpegStream, ThreeZeroComponentsGiveMidGrey) {
    const Bytes s = Cat({kSoi,
                         App0(),
                         Dqt(),
                         Sof(0xC0, 8, 8, {{1, 0x11, 0}, {2, 0x11, 0}, {3, 0x11, 0}}),
                         kTables,
                         Sos({{1, 0}, {2, 0}, {3, 0}}),
                         {0x03},
                         kEoi});
    const DecodeOutcome d = DecodeBoth(s);
    ASSERT_EQ(d.Message, "ok");
    EXPECT_EQ(d.Picture.BitCount(), 24u);
    EXPECT_EQ(d.Picture.GetRGB(7, 7), (RgbValue{128, 128, 128}));
}

TEST(JpegStream, StartOfFileMustBeSoiThenJfifApp0) {
    EXPECT_EQ(Message({}), "Idő előtti fájlvég");
    EXPECT_EQ(Message(Cat({{0xFF, 0xD9}, App0()})), "Hiányzó SOI jelzés");
    // Exif first, as cameras write it.
    EXPECT_EQ(Message(Cat({kSoi, Segment(0xE1, {'E', 'x', 'i', 'f', 0, 0}), App0()})),
              "Hiányzó JFIF APPO jelzés");
    EXPECT_EQ(Message(Cat({kSoi, App0("JFXX")})), "Nem JFIF fájl");
    EXPECT_EQ(Message(Cat({kSoi, App0("JFI")})), "Nem JFIF fájl");
}

TEST(JpegStream, FillBytesCommentsAndRepeatedSoiAreSkipped) {
    const Bytes s = Cat({kSoi,
                         App0(),
                         {0xFF, 0xFF, 0xFF},
                         Segment(0xFE, {}),
                         kSoi,
                         Segment(0xEF, {1, 2, 3}),
                         Dqt(),
                         kGreySof,
                         kTables,
                         kGreySos,
                         kOneBlock,
                         kEoi});
    EXPECT_EQ(Message(s), "ok");
}

TEST(JpegStream, UnsupportedProcessesAreRefusedByName) {
    const std::pair<uint8_t, const char*> cases[] = {
        {0xC3, "Az adatvesztésmentes Huffman-kódolás nem támogatott"},
        {0xC5, "A differenciális soros Huffman-kódolás nem támogatott"},
        {0xC6, "A differenciális növekményes Huffmann-kódolás nem támogatott"},
        {0xC7, "Differenciális veszteséges Huffmann-kódolás nem támogatott"},
        {0xC9, "Beolvashatatlan kép"}, // arithmetic coding
        {0xCA, "Beolvashatatlan kép"},
        {0xDE, "Nem támogatott DHP jelzés"},
        {0xC8, "Ismeretlen jelzés"},
        {0xD3, "Ismeretlen jelzés"}, // RSTn outside entropy-coded data
    };
    for (const auto& [marker, message] : cases)
        EXPECT_EQ(Message(Grey(Sof(marker, 8, 8, {{1, 0x11, 0}}))), message) << int(marker);
}

TEST(JpegStream, FrameHeaderRefusals) {
    auto sof = [](std::initializer_list<Comp> comps, uint16_t h = 8, uint16_t w = 8) {
        return Grey(Sof(0xC0, h, w, comps));
    };
    EXPECT_EQ(Message(sof({{1, 0x11, 0}, {2, 0x11, 0}})), "A JFIF csak 1 és 3 összetevőt támogat");
    EXPECT_EQ(Message(sof({{1, 0x11, 0}, {2, 0x11, 0}, {3, 0x11, 0}, {4, 0x11, 0}})),
              "A JFIF csak 1 és 3 összetevőt támogat");
    EXPECT_EQ(Message(sof({{1, 0x51, 0}})), "Value out of range");
    EXPECT_EQ(Message(sof({{1, 0x10, 0}})), "Value out of range");
    EXPECT_THROW(DecodeFastOrThrow(sof({{1, 0x10, 0}})), EJpegValueOutOfRange);
    EXPECT_EQ(Message(sof({{1, 0x11, 4}})), "Rossz kvantálási táblaindex");
    EXPECT_EQ(Message(sof({{255, 0x11, 0}})), "Érvénytelen összetevő-azonosító");
    EXPECT_EQ(Message(sof({{1, 0x11, 0}, {2, 0x11, 0}, {1, 0x11, 0}})),
              "Ismétlődő összetevő-azonosító");
    EXPECT_EQ(Message(sof({{1, 0x11, 0}}, 0, 8)), "Érvénytelen képméret");
    EXPECT_EQ(Message(sof({{1, 0x11, 0}}, 8, 0)), "Érvénytelen képméret");
    EXPECT_EQ(Message(sof({{1, 0x11, 0}}, 65535, 65535)), "Túl nagy kép");
    EXPECT_EQ(Message(sof({{1, 0x31, 0}, {2, 0x21, 0}, {3, 0x11, 0}})),
              "Nem támogatott mintavételezési arány");

    Bytes badLength = Grey();
    badLength[kSoi.size() + App0().size() + Dqt().size() + 3] += 1; // SOF length, low byte
    EXPECT_EQ(Message(badLength), "Érvénytelen keretméret");
    EXPECT_EQ(Message(Grey(Segment(0xC0, {12, 0, 8, 0, 8, 1, 1, 0x11, 0}))),
              "Csak a 8 bites adat támogatott");
    EXPECT_EQ(Message(Grey(Cat({kGreySof, kGreySof}))), "Több keret nem támogatott");
}

TEST(JpegStream, TableRefusals) {
    auto withTables = [](const Bytes& tables) {
        return Cat({kSoi, App0(), tables, kGreySof, kTables, kGreySos, kOneBlock, kEoi});
    };
    EXPECT_EQ(Message(withTables(Dqt(0x04))), "Túl nagy kvantálási táblaindex");
    EXPECT_EQ(Message(withTables(Dqt(0x10))), "Csak a 8 bites adat támogatott");
    EXPECT_EQ(Message(withTables(Dqt(0x20))), "Érvénytelen kvantálási táblapontosság");
    EXPECT_EQ(Message(withTables(Dqt(0x00, 0))), "Nulla érték a kvantálási táblában");
    EXPECT_EQ(Message(withTables(Cat({Dqt(), Dht(0x04, {1}, {0})}))),
              "Huffmann táblaindex a 0..3 tartományon kívül");
    EXPECT_EQ(Message(withTables(Cat({Dqt(), Dht(0x10, Bytes(16, 17), Bytes(272, 1))}))),
              "Huffmann számláló > 256");
    // Three one-bit codes do not fit in a prefix code.
    EXPECT_EQ(Message(withTables(Cat({Dqt(), Dht(0x10, {3}, {0, 1, 2})}))),
              "Érvénytelen Huffmann-tábla");
    // A DC magnitude category above 15 cannot occur in any valid stream.
    EXPECT_EQ(Message(withTables(Cat({Dqt(), Dht(0x00, {1}, {16})}))),
              "Érvénytelen Huffmann-tábla");
    // Two codes of length 1 fill the code space exactly: allowed.
    EXPECT_EQ(Message(withTables(Cat({Dqt(), Dht(0x10, {2}, {0, 1})}))), "ok");
}

TEST(JpegStream, ScanHeaderRefusals) {
    EXPECT_EQ(Message(Cat({kSoi, App0(), Dqt(), kTables, kGreySos, kOneBlock, kEoi})),
              "Hiányzó keret");
    EXPECT_EQ(Message(Grey(kGreySof, Sos({{2, 0x00}}))), "Definiálatlan összetevő");
    EXPECT_EQ(Message(Grey(kGreySof, Sos({{255, 0x00}}))), "Definiálatlan összetevő");
    EXPECT_EQ(Message(Grey(kGreySof, Sos({}))), "Érvénytelen összetevőszám");
    EXPECT_EQ(Message(Grey(kGreySof, Sos({{1, 0x40}}))),
              "Huffmann táblaindex a 0..3 tartományon kívül");
    EXPECT_EQ(Message(Grey(kGreySof, Sos({{1, 0x04}}))),
              "Huffmann táblaindex a 0..3 tartományon kívül");
    EXPECT_EQ(Message(Grey(kGreySof, Sos({{1, 0x10}}))), "Belső hiba - definiálatlan DC tábla");
    EXPECT_EQ(Message(Grey(kGreySof, Sos({{1, 0x01}}))), "Belső hiba - definiálatlan AC tábal");
    EXPECT_EQ(Message(Grey(Sof(0xC0, 8, 8, {{1, 0x11, 1}}))),
              "Belső hiba - definiálatlan kvantálási tábla");
    EXPECT_THROW(DecodeFastOrThrow(Grey(kGreySof, Sos({{1, 0x10}}))), EJpegFatal);
    EXPECT_THROW(DecodeFastOrThrow(Grey(kGreySof, Sos({{2, 0x00}}))), EJpegBadData);
}

TEST(JpegStream, EveryComponentNeedsAScan) {
    const Bytes colour = Sof(0xC0, 8, 8, {{1, 0x11, 0}, {2, 0x11, 0}, {3, 0x11, 0}});
    EXPECT_EQ(Message(Grey(colour)), "Vizsgálat nélküli összetevő");
    const Bytes progressive = Sof(0xC2, 8, 8, {{1, 0x11, 0}, {2, 0x11, 0}, {3, 0x11, 0}});
    EXPECT_EQ(Message(Grey(progressive, Sos({{1, 0x00}}, 0, 0))),
              "Belső JPEG hiba - felszabadított adat");
    // Three one-component scans cover the frame just as well as one interleaved scan.
    EXPECT_EQ(Message(Cat({kSoi, App0(), Dqt(), colour, kTables, Sos({{1, 0}}), kOneBlock,
                           Sos({{2, 0}}), kOneBlock, Sos({{3, 0}}), kOneBlock, kEoi})),
              "ok");
}

TEST(JpegStream, EndOfFile) {
    EXPECT_EQ(Message(Grey(kGreySof, kGreySos, kOneBlock, {})), "Idő előtti fájlvég");
    EXPECT_EQ(Message(Grey(kGreySof, kGreySos, kOneBlock, {0x00})), "Hiányzó fájlvégjelzés");
    EXPECT_EQ(Message(Grey(kGreySof, kGreySos, kOneBlock, {0xFF, 0xD9, 13, 10, 10, 13})), "ok");
    EXPECT_EQ(Message(Grey(kGreySof, kGreySos, kOneBlock, {0xFF, 0xD9, 13, 10, 'x'})),
              "Egyéb adatok a fájlvégjelzés után");
    EXPECT_EQ(Message(Cat({kSoi, App0(), kEoi})), "Hiányzó keret");
}

TEST(JpegStream, EntropyCodedDataErrors) {
    EXPECT_EQ(Message(Grey(kGreySof, kGreySos, {0xFF, 0xD3})), "Unexpected Marker");
    EXPECT_EQ(Message(Grey(kGreySof, kGreySos, {0xFF, 0xDC})), "Unexpected Marker DNL");
    EXPECT_EQ(Message(Grey(kGreySof, kGreySos, {}, {})), "Premature end of file");
    EXPECT_EQ(Message(Grey(kGreySof, kGreySos, {0xFF}, {})), "Premature end of file");
    // The DC table has a single one-bit code "0": sixteen 1 bits match no code.
    EXPECT_EQ(Message(Grey(kGreySof, kGreySos, {0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00})),
              "Rossz Huffmann-kódhossz");
    // A marker met only after the last block is not an error: it ends the scan.
    EXPECT_EQ(Message(Grey(kGreySof, kGreySos, {0x3F}, Cat({Segment(0xFE, {}), kEoi}))), "ok");
}

TEST(JpegStream, AcRunPastTheBlockIsAnInternalError) {
    // AC table: "0" = EOB, "1" = run 15 size 1 (0xF1). Three 0xF1 symbols reach k = 48, the
    // fourth would land beyond coefficient 63.
    const Bytes tables = Cat({Dht(0x00, {1}, {0x00}), Dht(0x10, {2}, {0x00, 0xF1})});
    // "0" (DC), four times "1" + extra bit "0", then 1-bit padding.
    const Bytes s = Cat({kSoi, App0(), Dqt(), kGreySof, tables, kGreySos, {0x55, 0x7F}, kEoi});
    EXPECT_EQ(Message(s), "Tartomnyon kívüli érték");
}

TEST(JpegStream, RestartMarkersAreCheckedInOrder) {
    const Bytes sof = Sof(0xC0, 8, 24, {{1, 0x11, 0}}); // three blocks
    auto file = [&](const Bytes& data) {
        return Cat(
            {kSoi, App0(), Dqt(), Segment(0xDD, {0, 1}), sof, kTables, kGreySos, data, kEoi});
    };
    EXPECT_EQ(Message(file({0x3F, 0xFF, 0xD0, 0x3F, 0xFF, 0xFF, 0xD1, 0x3F})), "ok");
    EXPECT_EQ(Message(file({0x3F, 0xFF, 0xD0, 0x3F, 0xFF, 0xD2, 0x3F})), "Hibs újraindító jelzés");
    EXPECT_EQ(Message(file({0x3F, 0x3F, 0x3F})), "Hiányzó újraindító jelzés");
    EXPECT_EQ(Message(file({0x3F, 0xFF, 0xC4, 0x3F})), "Hiányzó újraindító jelzés");
    // Bits the first interval leaves in its last byte are dropped at the marker.
    EXPECT_EQ(Message(file({0x3F, 0xFF, 0xD0, 0x00, 0xFF, 0xD1, 0x3F})), "ok");
}

TEST(JpegStream, ProgressiveScanRefusals) {
    const Bytes sof = Sof(0xC2, 8, 8, {{1, 0x11, 0}});
    auto scan = [&](uint8_t ss, uint8_t se, uint8_t a, const Bytes& data) {
        return Grey(sof, Sos({{1, 0x00}}, ss, se, a), data);
    };
    EXPECT_EQ(Message(scan(0, 5, 0, {0x7F})), "A növekményes vizsgálat DC sé AC adatot tartalmaz");
    EXPECT_EQ(Message(scan(1, 64, 0, {0x7F})), "Érvénytelen spektrális tartomány");
    // A DC scan, then an AC scan that ends every block at once.
    const Bytes ok = Cat({kSoi,
                          App0(),
                          Dqt(),
                          sof,
                          kTables,
                          Sos({{1, 0}}, 0, 0, 0),
                          {0x7F},
                          Sos({{1, 0}}, 1, 63, 0),
                          {0x7F},
                          kEoi});
    EXPECT_EQ(Message(ok), "ok");
}

// AC refinement (T.81 G.1.2.3): a newly significant coefficient takes the sign of its
// correction bit: +2^Al for 1, -2^Al for 0.
TEST(JpegStream, ProgressiveRefinementSignFollowsTheCorrectionBit) {
    const Bytes sof = Sof(0xC2, 8, 8, {{1, 0x11, 0}});
    // AC table 1: "0" = EOB, "10" = run 0 size 1.
    const Bytes tables = Cat({kTables, Dht(0x11, {1, 1}, {0x00, 0x01})});
    auto file = [&](uint8_t refinement) {
        return Cat({kSoi,
                    App0(),
                    Dqt(0x00, 200),
                    sof,
                    tables,
                    Sos({{1, 0x00}}, 0, 0, 0),
                    {0x7F},
                    Sos({{1, 0x00}}, 1, 63, 0x02),
                    {0x7F},
                    Sos({{1, 0x01}}, 1, 63, 0x21),
                    {refinement},
                    kEoi});
    };
    DecoderQuantizationTable q;
    for (uint16_t& v : q.Values) v = 200;
    q.BuildScaledValues();
    for (const auto& [data, sign] : {std::pair{uint8_t(0xAF), 1}, std::pair{uint8_t(0x8F), -1}}) {
        const DecodeOutcome d = DecodeBoth(file(data)); // "10" + bit + "0" (EOB)
        ASSERT_EQ(d.Message, "ok");
        int16_t coef[64] = {};
        coef[1] = int16_t(2 * sign); // 2^Al with Al = 1
        uint8_t expected[64];
        InverseDct(coef, q.ScaledValues, expected, 8);
        for (uint32_t y = 0; y < 8; ++y)
            for (uint32_t x = 0; x < 8; ++x)
                EXPECT_EQ(d.Picture.Row(y)[x], expected[y * 8 + x]) << sign << " " << y << "," << x;
        EXPECT_NE(expected[0], expected[7]); // the coefficient is visible
    }
}

namespace {

std::string MessageWith(const JpegDecoderOptions& options, const Bytes& stream) {
    BitmapImage picture;
    try {
        JpegDecoder(options).Decode(stream.data(), stream.size(), picture);
        return "ok";
    } catch (const EGraphicsException& e) {
        return e.what();
    }
}

// A progressive 8 x 8 grey frame: a DC scan, then `refinements` DC refinement scans.
Bytes ManyScans(uint32_t refinements) {
    Bytes s = Cat({kSoi,
                   App0(),
                   Dqt(),
                   Sof(0xC2, 8, 8, {{1, 0x11, 0}}),
                   kTables,
                   Sos({{1, 0}}, 0, 0, 0),
                   {0x7F}});
    for (uint32_t i = 0; i < refinements; ++i) s = Cat({s, Sos({{1, 0}}, 0, 0, 0x10), {0x7F}});
    return Cat({s, kEoi});
}

} // namespace

// Hostile progressive files can repeat cheap scans over a large frame: the number of scans and
// the blocks they visit together are bounded before each scan is decoded.
TEST(JpegStream, ScanCountAndScanWorkAreBounded) {
    // One data unit, so the default work limit (128 visits a data unit) comes first.
    EXPECT_EQ(Message(ManyScans(127)), "ok");
    EXPECT_EQ(Message(ManyScans(128)), "Túl sok munka a vizsgálatokban");

    JpegDecoderOptions generous;
    generous.WorkPerDataUnit = 1u << 20;
    EXPECT_EQ(MessageWith(generous, ManyScans(999)), "ok");
    EXPECT_EQ(MessageWith(generous, ManyScans(1000)), "Túl sok vizsgálat");
}

// The picture and every buffer the frame needs are counted against the memory limit before
// they are allocated. A single-scan sequential frame needs its picture and one MCU row; a frame
// with one scan per component needs whole planes; a progressive one every coefficient.
TEST(JpegStream, MemoryIsCheckedBeforeAllocating) {
    JpegDecoderOptions tight;
    tight.PixelLimit = 64 * 64; // 16384 bytes at 4 a pixel; the 64 x 64 picture takes 12288
    const Bytes sof = Sof(0xC0, 64, 64, {{1, 0x11, 0}, {2, 0x11, 0}, {3, 0x11, 0}});
    const Bytes zeros16(16, 0x00); // 64 blocks of DC category 0 and end of block
    const Bytes oneScan = Cat({kSoi, App0(), Dqt(), sof, kTables, Sos({{1, 0}, {2, 0}, {3, 0}}),
                               Cat({zeros16, zeros16, zeros16}), kEoi});
    const Bytes threeScans = Cat({kSoi, App0(), Dqt(), sof, kTables, Sos({{1, 0}}), zeros16,
                                  Sos({{2, 0}}), zeros16, Sos({{3, 0}}), zeros16, kEoi});
    EXPECT_EQ(MessageWith(tight, oneScan), "ok");
    EXPECT_EQ(MessageWith(tight, threeScans), "Túl nagy kép");
    EXPECT_EQ(Message(threeScans), "ok"); // within the default limit, the reference agrees
    JpegDecoderOptions planes = tight;
    planes.RowPipeline = false; // the same refusals whichever path the decoder takes
    EXPECT_EQ(MessageWith(planes, oneScan), "ok");
    EXPECT_EQ(MessageWith(planes, threeScans), "Túl nagy kép");

    const Bytes progressive =
        Cat({kSoi, App0(), Dqt(), Sof(0xC2, 64, 64, {{1, 0x11, 0}, {2, 0x11, 0}, {3, 0x11, 0}}),
             kTables, Sos({{1, 0}, {2, 0}, {3, 0}}, 0, 0, 0), Bytes(24, 0x00), kEoi});
    EXPECT_EQ(MessageWith(tight, progressive), "Túl nagy kép");
    EXPECT_EQ(Message(progressive), "ok");

    // 11584 x 11584 pixels claimed by a few hundred bytes, under the picture loader's limit of
    // 2^27 pixels: progressive 4:2:0 would need 6 bytes a pixel and is refused at its frame
    // header; baseline would need 3 and gets as far as its missing data.
    JpegDecoderOptions loader;
    loader.PixelLimit = uint64_t(1) << 27;
    auto claim = [&](uint8_t marker) {
        return Cat({kSoi, App0(), Dqt(),
                    Sof(marker, 11584, 11584, {{1, 0x22, 0}, {2, 0x11, 0}, {3, 0x11, 0}}), kTables,
                    Sos({{1, 0}, {2, 0}, {3, 0}}, 0, marker == 0xC2 ? 0 : 63, 0), kEoi});
    };
    EXPECT_EQ(MessageWith(loader, claim(0xC2)), "Túl nagy kép");
    EXPECT_EQ(MessageWith(loader, claim(0xC0)), "Unexpected Marker");
}

// ReadImage takes the stream from where it stands to its end, however it is read in.
TEST(JpegStream, ReadImageReadsFromTheStreamPosition) {
    const Bytes file = Cat({{'x', 'y', 'z'}, Grey()});
    std::istringstream in(std::string(file.begin(), file.end()));
    in.seekg(3);
    BitmapImage picture;
    JpegDecoder().ReadImage(in, picture);
    EXPECT_EQ(picture.Width(), 8u);
    EXPECT_EQ(picture.Row(7)[7], 128);
    std::istringstream whole(std::string(file.begin(), file.end()));
    EXPECT_THROW(JpegDecoder().ReadImage(whole, picture), EJpegBadData); // "xyz" is no SOI
}
