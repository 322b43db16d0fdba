// The JPEG encoder: its tables, transform and bit output on their own, the layout of the
// streams it writes, and pictures of every bit depth read back by our decoder and by djpeg.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"
#include "jpeg/JpegBitWriter.h"
#include "jpeg/JpegColor.h"
#include "jpeg/JpegEncoder.h"
#include "jpeg/JpegEncoderTables.h"
#include "jpeg/JpegFdct.h"
#include "jpeg/JpegTables.h"
#include "jpeg/JpegTestFiles.h"

namespace {

Bytes Encode(const BitmapImage& picture, uint32_t quality) {
    JpegEncoder encoder;
    encoder.SetQuality(quality);
    return encoder.Encode(picture);
}

// The message of the exception `f` throws, or "no exception".
template <class F>
std::string Failure(F f) {
    try {
        f();
    } catch (const EGraphicsException& e) {
        return e.what();
    }
    return "no exception";
}

BitmapImage FromRgb(const Pnm& rgb) {
    BitmapImage p;
    p.SetSize(0, 24, rgb.Width, rgb.Height);
    for (uint32_t y = 0; y < rgb.Height; ++y) {
        for (uint32_t x = 0; x < rgb.Width; ++x) {
            const uint8_t* s = &rgb.Pixels[(size_t(y) * rgb.Width + x) * 3];
            uint8_t* d = p.Row(y) + size_t(x) * 3;
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
    }
    return p;
}

BitmapImage Photo(uint32_t width, uint32_t height) {
    return FromRgb(MakeTestPicture(width, height, false));
}

// The photo in `bits` bits a pixel: each pixel takes the nearest colour of a small colour
// cube (levels per channel chosen to fill the map), or, with grey, a grey ramp palette.
BitmapImage Mapped(uint32_t width, uint32_t height, uint32_t bits, bool grey) {
    const Pnm rgb = MakeTestPicture(width, height, false);
    const uint32_t colours = 1u << bits;
    BitmapImage p;
    p.SetSize(colours, bits, width, height);
    int levels[3] = {2, 1, 1}; // 1 bit: black and white
    if (bits == 2) levels[0] = 4;
    if (bits == 4) levels[0] = 2, levels[1] = 4, levels[2] = 2;
    if (bits == 8) levels[0] = 6, levels[1] = 7, levels[2] = 6;
    for (uint32_t i = 0; i < colours; ++i) {
        uint8_t* e = p.ColorMapEntry(i); // blue, green, red
        if (grey || bits < 4) {
            e[0] = e[1] = e[2] = uint8_t(i * 255 / (colours - 1));
            continue;
        }
        const uint32_t r = i % levels[0], g = i / levels[0] % levels[1],
                       b = i / levels[0] / levels[1];
        if (b >= uint32_t(levels[2])) continue; // unused entries stay black
        e[2] = uint8_t(r * 255 / (levels[0] - 1));
        e[1] = uint8_t(g * 255 / (levels[1] - 1));
        e[0] = uint8_t(b * 255 / (levels[2] - 1));
    }
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = p.Row(y);
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* s = &rgb.Pixels[(size_t(y) * width + x) * 3];
            uint32_t index = 0;
            if (grey || bits < 4) {
                index = ((s[0] + s[1] + s[2]) / 3 * (colours - 1) + 127) / 255;
            } else {
                auto level = [](int v, int n) { return uint32_t((v * (n - 1) + 127) / 255); };
                index = level(s[0], levels[0]) +
                        uint32_t(levels[0]) *
                            (level(s[1], levels[1]) + uint32_t(levels[1]) * level(s[2], levels[2]));
            }
            switch (bits) {
            case 1: row[x / 8] |= uint8_t(index << (7 - x % 8)); break;
            case 2: row[x / 4] |= uint8_t(index << (6 - 2 * (x % 4))); break;
            case 4: row[x / 2] |= uint8_t(x % 2 == 0 ? index << 4 : index); break;
            default: row[x] = uint8_t(index); break;
            }
        }
    }
    return p;
}

// The segments of a stream up to and including SOS, then the entropy-coded data.
struct ParsedStream {
    std::vector<uint8_t> Markers;
    std::vector<Bytes> Bodies; // without the length field
    Bytes ScanData;            // between SOS and EOI, restart markers included
    bool StartsWithSoi = false;
    bool EndsWithEoi = false;

    const Bytes& Body(uint8_t marker) const {
        for (size_t i = 0; i < Markers.size(); ++i)
            if (Markers[i] == marker) return Bodies[i];
        static const Bytes none;
        return none;
    }
};

ParsedStream Parse(const Bytes& s) {
    ParsedStream p;
    p.StartsWithSoi = s.size() >= 2 && s[0] == 0xFF && s[1] == 0xD8;
    size_t i = 2;
    while (i + 4 <= s.size() && s[i] == 0xFF) {
        const size_t length = size_t(s[i + 2]) << 8 | s[i + 3];
        p.Markers.push_back(s[i + 1]);
        p.Bodies.emplace_back(s.begin() + long(i + 4),
                              s.begin() + long(std::min(s.size(), i + 2 + length)));
        i += 2 + length;
        if (p.Markers.back() == 0xDA) break;
    }
    p.EndsWithEoi = s.size() >= 2 && s[s.size() - 2] == 0xFF && s.back() == 0xD9;
    if (i <= s.size() - 2) p.ScanData.assign(s.begin() + long(i), s.end() - 2);
    return p;
}

// The markers found in entropy-coded data (0xFF followed by anything but a stuffed 0x00).
std::vector<uint8_t> MarkersInScan(const Bytes& scan) {
    std::vector<uint8_t> found;
    for (size_t i = 0; i + 1 < scan.size(); ++i) {
        if (scan[i] != 0xFF) continue;
        if (scan[i + 1] != 0x00) found.push_back(scan[i + 1]);
        ++i;
    }
    return found;
}

// T.81 Tables K.1 and K.2 in zigzag order, as a DQT segment carries them.
const uint8_t kLuminanceZigzag[64] = {16,  11, 12, 14,  12,  10,  16,  14,  13, 14,  18,  17,  16,
                                      19,  24, 40, 26,  24,  22,  22,  24,  49, 35,  37,  29,  40,
                                      58,  51, 61, 60,  57,  51,  56,  55,  64, 72,  92,  78,  64,
                                      68,  87, 69, 55,  56,  80,  109, 81,  87, 95,  98,  103, 104,
                                      103, 62, 77, 113, 121, 112, 100, 120, 92, 101, 103, 99};
const uint8_t kChrominanceZigzag[64] = {
    17, 18, 18, 24, 21, 24, 47, 26, 26, 47, 99, 66, 56, 66, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

} // namespace

// --- Tables -------------------------------------------------------------------------------

TEST(JpegEncoderTables, QualityScalesTheAnnexKTables) {
    EncoderQuantizationTable luminance, chrominance;
    luminance.Build(50, kLuminanceExampleTable);
    chrominance.Build(50, kChrominanceExampleTable);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(luminance.Values[i], kLuminanceZigzag[i]) << i;
        EXPECT_EQ(chrominance.Values[i], kChrominanceZigzag[i]) << i;
    }
    // 75: a scale of 1/8, which a difference taken unsigned would have turned into 255s.
    luminance.Build(75, kLuminanceExampleTable);
    EXPECT_EQ(luminance.Values[0], 2);
    EXPECT_EQ(luminance.Values[21], 6); // 49 / 8
    EXPECT_EQ(luminance.Values[22], 4); // 35 / 8
    luminance.Build(64, kLuminanceExampleTable);
    EXPECT_EQ(luminance.Values[0], 4); // 16 x 0.3121
    // 100: every value below 1 is raised to 1; 1: every value is capped at 255.
    for (uint32_t quality : {100u, 1u}) {
        luminance.Build(quality, kLuminanceExampleTable);
        chrominance.Build(quality, kChrominanceExampleTable);
        for (int i = 0; i < 64; ++i) {
            ASSERT_EQ(luminance.Values[i], quality == 100 ? 1 : 255) << quality << " at " << i;
            ASSERT_EQ(chrominance.Values[i], quality == 100 ? 1 : 255) << quality << " at " << i;
        }
    }
}

TEST(JpegEncoderTables, HuffmanCodesFollowAnnexK2WithItsTieBreaking) {
    // Worked by hand: the reserved symbol 256 (frequency 1) and symbol 2 are merged first,
    // the larger of equal frequencies being taken first, so 2 ends deeper than 1.
    EncoderHuffmanTable t;
    t.ResetStatistics();
    for (uint32_t s : {0u, 0u, 1u, 2u}) t.Count(s);
    t.Build();
    EXPECT_EQ(t.CodeSizes[0], 1);
    EXPECT_EQ(t.Codes[0], 0b0);
    EXPECT_EQ(t.CodeSizes[1], 2);
    EXPECT_EQ(t.Codes[1], 0b10);
    EXPECT_EQ(t.CodeSizes[2], 3);
    EXPECT_EQ(t.Codes[2], 0b110); // 111 was the reserved symbol's
    EXPECT_EQ(t.HuffValCount, 3);
    EXPECT_EQ(std::vector<uint8_t>(t.Bits, t.Bits + 4), (std::vector<uint8_t>{1, 1, 1, 0}));

    // Five equal frequencies: the two smallest symbols keep the short codes.
    t.ResetStatistics();
    for (uint32_t s : {7u, 3u, 5u, 1u, 2u}) t.Count(s);
    t.Build();
    EXPECT_EQ(std::vector<uint8_t>(t.HuffVal, t.HuffVal + 5),
              (std::vector<uint8_t>{1, 2, 3, 5, 7}));
    EXPECT_EQ(t.CodeSizes[1], 2);
    EXPECT_EQ(t.CodeSizes[2], 2);
    EXPECT_EQ(t.CodeSizes[7], 3);
    EXPECT_EQ(t.Codes[7], 0b110);
}

// Fibonacci frequencies make a Huffman tree as deep as it can be; K.3 must bring it to 16
// bits and keep a prefix code in which no symbol is coded by 1-bits only.
TEST(JpegEncoderTables, DeepTreesAreLimitedToSixteenBitsAndStayPrefixCodes) {
    for (int symbols : {20, 30, 40, 162}) {
        SCOPED_TRACE(symbols);
        EncoderHuffmanTable t;
        t.ResetStatistics();
        uint32_t a = 1, b = 1;
        for (int s = 0; s < symbols; ++s) {
            t.Frequencies[s] = s < 40 ? a : 1;
            const uint32_t next = a + b;
            a = b;
            b = next;
        }
        t.Build();
        double kraft = 0;
        int coded = 0;
        for (int s = 0; s < 256; ++s) {
            if (t.Frequencies[s] == 0) {
                EXPECT_EQ(t.CodeSizes[s], 0);
                continue;
            }
            ++coded;
            ASSERT_GE(t.CodeSizes[s], 1);
            ASSERT_LE(t.CodeSizes[s], 16);
            EXPECT_NE(t.Codes[s], (1u << t.CodeSizes[s]) - 1) << "all-ones code for " << s;
            kraft += std::ldexp(1.0, -t.CodeSizes[s]);
            for (int o = 0; o < 256; ++o) {
                if (o == s || t.Frequencies[o] == 0) continue;
                const int shorter = std::min(t.CodeSizes[s], t.CodeSizes[o]);
                ASSERT_NE(t.Codes[s] >> (t.CodeSizes[s] - shorter),
                          t.Codes[o] >> (t.CodeSizes[o] - shorter))
                    << s << " and " << o << " share a prefix";
            }
        }
        // A complete code less exactly the all-ones code point of the longest length.
        int longest = 16;
        while (t.Bits[longest - 1] == 0) --longest;
        EXPECT_DOUBLE_EQ(kraft + std::ldexp(1.0, -longest), 1.0);
        EXPECT_EQ(coded, t.HuffValCount);
        int total = 0;
        for (uint8_t n : t.Bits) total += n;
        EXPECT_EQ(total, coded);
    }
}

TEST(JpegEncoderTables, HuffmanTableMisuseIsReported) {
    EncoderHuffmanTable t;
    t.ResetStatistics();
    EXPECT_EQ(Failure([&] { t.Count(256); }), "Index out of range");
    t.Count(3);
    t.Build();
    EXPECT_EQ(Failure([&] { t.Count(3); }), "Belső hiba - már vannak Huffmann-kódméretek");
    // 256 used symbols need 256 codes, more than a table may define.
    t.ResetStatistics();
    for (int s = 0; s < 256; ++s) t.Frequencies[s] = 1;
    EXPECT_EQ(Failure([&] { t.Build(); }), "Belső hiba - túl sok definiált kód");
}

// --- Transform and bit output ----------------------------------------------------------

namespace {

// The forward transform exactly as written down: scalar doubles in the stated order, columns
// first, then rows, then the divisor and rounding half away from zero.
void LiteralForwardDct(const uint8_t* samples, const double* divisors, int16_t* natural) {
    const double c4 = std::cos(std::numbers::pi / 4), c6 = std::cos(3 * std::numbers::pi / 8),
                 c2 = std::cos(std::numbers::pi / 8);
    auto transform = [&](const double* x, double* out) {
        const double t0 = x[0] + x[7], t7 = x[0] - x[7], t1 = x[1] + x[6], t6 = x[1] - x[6];
        const double t2 = x[2] + x[5], t5 = x[2] - x[5], t3 = x[3] + x[4], t4 = x[3] - x[4];
        const double t10 = t0 + t3, t13 = t0 - t3, t11 = t1 + t2, t12 = t1 - t2;
        out[0] = t10 + t11;
        out[4] = t10 - t11;
        const double z1 = (t12 + t13) * c4;
        out[2] = t13 + z1;
        out[6] = t13 - z1;
        const double a = t4 + t5, b = t5 + t6, c = t6 + t7;
        const double k = (a + c) * c6;
        const double s = k + c * (c2 - c6);
        const double z3 = b * c4;
        const double z4 = a * (c2 + c6) - k;
        const double z11 = t7 + z3, z13 = t7 - z3;
        out[1] = z11 + s;
        out[7] = z11 - s;
        out[5] = z13 + z4;
        out[3] = z13 - z4;
    };
    double intermediate[64];
    for (int c = 0; c < 8; ++c) {
        double x[8], out[8];
        for (int i = 0; i < 8; ++i) x[i] = samples[i * 8 + c] - 128.0;
        transform(x, out);
        for (int k = 0; k < 8; ++k) intermediate[k * 8 + c] = out[k];
    }
    for (int r = 0; r < 8; ++r) {
        double out[8];
        transform(intermediate + r * 8, out);
        for (int k = 0; k < 8; ++k) {
            const double v = out[k] * divisors[r * 8 + k];
            natural[r * 8 + k] = int16_t(v >= 0 ? v + 0.5 : v - 0.5);
        }
    }
}

} // namespace

// The vectorised transform must round every tie as the scalar one does; with fused
// multiply-adds or another order the results would differ now and then.
TEST(JpegFdct, MatchesTheLiteralTransformBitForBit) {
    std::mt19937 rng(5);
    for (int i = 0; i < 30000; ++i) {
        EncoderQuantizationTable table;
        table.Build(1 + uint32_t(rng() % 100),
                    i % 2 ? kLuminanceExampleTable : kChrominanceExampleTable);
        uint8_t samples[8 * 13]; // a stride wider than the block
        uint8_t block[64];
        const int kind = i % 4;
        for (int k = 0; k < 64; ++k) {
            const int x = k % 8, y = k / 8;
            int v = kind == 0   ? int(rng() % 256)
                    : kind == 1 ? 128 + int(rng() % 5) - 2
                    : kind == 2 ? (x + y) * 16 + int(rng() % 3)
                                : ((x / 2 + y) % 2) * 255;
            block[k] = uint8_t(std::clamp(v, 0, 255));
            samples[y * 13 + x] = block[k];
        }
        int16_t expected[64], zigzag[64];
        LiteralForwardDct(block, table.ScaledDivisors, expected);
        ForwardDctQuantize(samples, 13, table.ScaledDivisorsTransposed, zigzag);
        for (int k = 0; k < 64; ++k)
            ASSERT_EQ(zigzag[k], expected[kZigzagToNatural[k]]) << "case " << i << " zigzag " << k;
    }
}

TEST(JpegFdct, GivesTrueDctCoefficientsRoundedHalfAwayFromZero) {
    // With divisors f(r, c), the output is the DCT of T.81 A.3.3 itself.
    double divisors[64], transposed[64];
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            divisors[r * 8 + c] = transposed[c * 8 + r] = DctScaleFactor(r, c);
    std::mt19937 rng(9);
    for (int i = 0; i < 200; ++i) {
        uint8_t samples[64];
        for (uint8_t& s : samples) s = uint8_t(rng() % 256);
        int16_t zigzag[64];
        ForwardDctQuantize(samples, 8, transposed, zigzag);
        for (int v = 0; v < 8; ++v) {
            for (int u = 0; u < 8; ++u) {
                double sum = 0;
                for (int y = 0; y < 8; ++y)
                    for (int x = 0; x < 8; ++x)
                        sum += (samples[y * 8 + x] - 128.0) *
                               std::cos((2 * x + 1) * u * std::numbers::pi / 16) *
                               std::cos((2 * y + 1) * v * std::numbers::pi / 16);
                const double cu = u == 0 ? std::numbers::sqrt2 / 2 : 1,
                             cv = v == 0 ? std::numbers::sqrt2 / 2 : 1;
                const double exact = sum * cu * cv / 4;
                ASSERT_LE(std::abs(zigzag[kNaturalToZigzag[v * 8 + u]] - exact), 0.5 + 1e-9)
                    << "block " << i << " (" << v << ", " << u << ")";
            }
        }
    }
    // A flat block of value s has DC 8 (s - 128): divided by 16 that is (s - 128) / 2, a tie
    // for every odd difference.
    for (uint32_t i = 0; i < 64; ++i) transposed[i] = divisors[i] / 16;
    for (const auto& [sample, dc] : {std::pair{129, 1}, std::pair{127, -1}, std::pair{131, 2},
                                     std::pair{125, -2}, std::pair{128, 0}}) {
        uint8_t flat[64];
        std::memset(flat, sample, sizeof flat);
        int16_t zigzag[64];
        ForwardDctQuantize(flat, 8, transposed, zigzag);
        EXPECT_EQ(zigzag[0], dc) << sample;
        for (int k = 1; k < 64; ++k) ASSERT_EQ(zigzag[k], 0);
    }
}

// Every colour, through the vector part of the row and its scalar tail.
TEST(JpegColor, BgrRowConversionMatchesTheFormulaForEveryColour) {
    constexpr uint32_t kWidth = 256 + 19;
    uint8_t bgr[kWidth * 3], lum[kWidth], cb[kWidth], cr[kWidth];
    auto clamp = [](int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
    for (int r = 0; r < 256; ++r) {
        for (int g = 0; g < 256; ++g) {
            for (uint32_t x = 0; x < kWidth; ++x) {
                bgr[3 * x] = uint8_t(x);
                bgr[3 * x + 1] = uint8_t(g);
                bgr[3 * x + 2] = uint8_t(r);
            }
            BgrRowToYCbCr(bgr, lum, cb, cr, kWidth);
            uint8_t expected[3][kWidth];
            for (uint32_t x = 0; x < kWidth; ++x) {
                const int b = bgr[3 * x];
                expected[0][x] = clamp((1224 * r + 2404 * g + 466 * b + 2048) >> 12);
                expected[1][x] = clamp((526336 - 690 * r - 1357 * g + 2048 * b) >> 12);
                expected[2][x] = clamp((526336 + 2048 * r - 1714 * g - 333 * b) >> 12);
            }
            ASSERT_EQ(std::memcmp(lum, expected[0], kWidth), 0) << "Y, red " << r << " green " << g;
            ASSERT_EQ(std::memcmp(cb, expected[1], kWidth), 0) << "Cb, red " << r << " green " << g;
            ASSERT_EQ(std::memcmp(cr, expected[2], kWidth), 0) << "Cr, red " << r << " green " << g;
        }
    }
}

TEST(JpegBitWriter, StuffsFfBytesAndPadsWithZeroBits) {
    Bytes out;
    JpegBitWriter w(out);
    w.Reserve(64);
    w.PutCode(0xFF, 8);                     // a whole 0xFF byte of data
    w.PutCodeAndBits(0b1, 1, 0x7F, 7);      // another, made of a code and extra bits
    w.PutCodeAndBits(0b101, 3, 0x1FFF, 13); // 1011 1111 1111 1111: 0xBF, 0xFF
    w.PutCode(0b1, 1);
    w.PutCode(0x3FFF, 14); // with the bit before: fifteen 1-bits
    w.Flush();             // completed with one 0-bit: 0xFF, 0xFE
    w.PutByte(0xFF);
    w.PutByte(0xD9);
    w.Finish();
    EXPECT_EQ(out, (Bytes{0xFF, 0x00, 0xFF, 0x00, 0xBF, 0xFF, 0x00, 0xFF, 0x00, 0xFE, 0xFF, 0xD9}));
    EXPECT_EQ(Failure([&] { w.PutCodeAndBits(0, 2, 0, 0); }), "Belső hiba - érvénytelen bitszám");
}

// --- Streams ---------------------------------------------------------------------------

TEST(JpegEncoder, StreamsHaveTheBaselineJfifLayout) {
    const Bytes s = Encode(Photo(17, 9), 50);
    const ParsedStream p = Parse(s);
    EXPECT_TRUE(p.StartsWithSoi);
    EXPECT_TRUE(p.EndsWithEoi);
    EXPECT_EQ(p.Markers, (std::vector<uint8_t>{0xE0, 0xC0, 0xDB, 0xDD, 0xC4, 0xDA}));
    EXPECT_EQ(p.Body(0xE0), (Bytes{'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0}));
    EXPECT_EQ(p.Body(0xC0), (Bytes{8, 0, 9, 0, 17, 3, 1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1}));
    const Bytes& dqt = p.Body(0xDB);
    ASSERT_EQ(dqt.size(), 130u);
    EXPECT_EQ(dqt[0], 0);
    EXPECT_EQ(dqt[65], 1);
    EXPECT_TRUE(std::equal(dqt.begin() + 1, dqt.begin() + 65, kLuminanceZigzag));
    EXPECT_TRUE(std::equal(dqt.begin() + 66, dqt.end(), kChrominanceZigzag));
    EXPECT_EQ(p.Body(0xDD), (Bytes{0, 12})); // 4 MCU rows of 3 MCUs
    EXPECT_EQ(p.Body(0xDA), (Bytes{3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0}));

    // DHT: luminance DC, luminance AC, chrominance DC, chrominance AC, each sized by its counts.
    const Bytes& dht = p.Body(0xC4);
    std::vector<uint8_t> ids;
    for (size_t at = 0; at + 17 <= dht.size();) {
        ids.push_back(dht[at]);
        size_t values = 0;
        for (int i = 1; i <= 16; ++i) values += dht[at + i];
        at += 17 + values;
        if (at == dht.size()) break;
    }
    EXPECT_EQ(ids, (std::vector<uint8_t>{0x00, 0x10, 0x01, 0x11}));

    // Six MCUs, fewer than the interval: no restart marker.
    EXPECT_TRUE(MarkersInScan(p.ScanData).empty());
}

TEST(JpegEncoder, RestartMarkersFollowEveryFourMcuRowsInSequence) {
    // 8 x 32 is exactly one interval (no marker after the last MCU), 8 x 40 needs one RST0,
    // 64 x 300 (38 MCU rows) nine, numbered modulo 8.
    EXPECT_TRUE(MarkersInScan(Parse(Encode(Photo(8, 32), 75)).ScanData).empty());
    EXPECT_EQ(MarkersInScan(Parse(Encode(Photo(8, 40), 75)).ScanData),
              (std::vector<uint8_t>{0xD0}));
    const ParsedStream p = Parse(Encode(Photo(64, 300), 90));
    EXPECT_EQ(p.Body(0xDD), (Bytes{0, 32}));
    EXPECT_EQ(MarkersInScan(p.ScanData),
              (std::vector<uint8_t>{0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD0}));
}

TEST(JpegEncoder, BadQualitiesAndSizesFailBeforeAnythingIsWritten) {
    const BitmapImage picture = Photo(9, 9);
    for (uint32_t quality : {0u, 101u, 4294967295u}) {
        JpegEncoder encoder;
        encoder.SetQuality(quality);
        std::ostringstream out;
        EXPECT_EQ(Failure([&] { encoder.WriteImage(out, picture); }), "Value out of range");
        EXPECT_TRUE(out.str().empty());
    }
    const std::pair<uint32_t, uint32_t> sizes[] = {{0, 5}, {5, 0}, {65536, 1}, {1, 65536}};
    for (const auto& [w, h] : sizes) {
        BitmapImage p;
        p.SetSize(0, 24, w, h);
        JpegEncoder encoder;
        std::ostringstream out;
        const std::string expected = "A JPEG file cannot hold a picture of " + std::to_string(w) +
                                     " x " + std::to_string(h) + " pixels";
        EXPECT_EQ(Failure([&] { encoder.WriteImage(out, p); }), expected);
        EXPECT_TRUE(out.str().empty());
    }
    // An index beyond the colour map, and a mapped picture without colours.
    BitmapImage mapped;
    mapped.SetSize(3, 8, 4, 4);
    mapped.Row(2)[1] = 3;
    EXPECT_EQ(Failure([&] { Encode(mapped, 75); }), "Subscript out of range");
    mapped.SetSize(0, 8, 4, 4);
    EXPECT_EQ(Failure([&] { Encode(mapped, 75); }), "Subscript out of range");

    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    JpegEncoder encoder;
    EXPECT_EQ(Failure([&] { encoder.WriteImage(broken, picture); }),
              "The JPEG stream could not be written");
}

TEST(JpegEncoder, OneEncoderWritesTheSameCompleteStreamEveryTime) {
    JpegEncoder encoder;
    EXPECT_EQ(encoder.Quality(), 75u);
    const BitmapImage picture = Photo(40, 50);
    std::ostringstream first, second;
    encoder.WriteImage(first, picture);
    encoder.WriteImage(second, picture);
    EXPECT_EQ(first.str(), second.str());
    const std::string& s = second.str();
    const ParsedStream p = Parse(Bytes(s.begin(), s.end()));
    EXPECT_EQ(p.Body(0xDD), (Bytes{0, 20})); // the second stream has its DRI too
    EXPECT_EQ(DecodeFast(Bytes(s.begin(), s.end())).Message, "ok");
}

// --- Pictures read back ----------------------------------------------------------------

namespace {

struct RoundTrip {
    const char* Name;
    uint32_t Width, Height;
    uint32_t Bits; // 24, or a colour-mapped depth
    bool Grey;
    uint32_t Quality;
    double MinPsnr; // against the source, for our decoder and for djpeg
};

// The figures measured (ours / djpeg, dB) are in the comments; the thresholds sit about 3 dB
// below ours. A wrong table, zigzag entry or block placement costs far more than that.
const RoundTrip kRoundTrips[] = {
    {"photo_q75", 227, 149, 24, false, 75, 38},   // 40.67 / 40.65
    {"photo_q100", 227, 149, 24, false, 100, 48}, // 50.82 / 50.96
    {"photo_q1", 227, 149, 24, false, 1, 19},     // 21.91 / 21.91
    {"size_1x1", 1, 1, 24, false, 100, 48},       // identical / identical
    {"size_17x9", 17, 9, 24, false, 75, 38},      // 40.67 / 40.65
    {"size_8x40", 8, 40, 24, false, 75, 37},      // 40.18 / 40.22
    {"size_1x300", 1, 300, 24, false, 90, 49},    // 52.76 / 52.82
    {"palette8", 131, 67, 8, false, 90, 41},      // 44.63 / 44.70
    {"palette4", 131, 67, 4, false, 90, 43},      // 46.85 / 47.60
    {"grey8", 131, 67, 8, true, 75, 38},          // 41.62 / 41.58
    {"grey2", 61, 33, 2, true, 90, 48},           // 51.72 / 52.84
    {"mono1", 61, 33, 1, true, 95, 45},           // 48.69 / 58.89
};

void PrintTo(const RoundTrip& c, std::ostream* os) { *os << c.Name; }

class JpegEncoderRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

BitmapImage MakeSource(const RoundTrip& c) {
    return c.Bits == 24 ? Photo(c.Width, c.Height) : Mapped(c.Width, c.Height, c.Bits, c.Grey);
}

} // namespace

TEST_P(JpegEncoderRoundTrip, DecodesWithOurDecoderAndDjpeg) {
    const RoundTrip& c = GetParam();
    const BitmapImage source = MakeSource(c);
    const Bytes stream = Encode(source, c.Quality);
    const Pnm expected = ToRgb(source);

    const DecodeOutcome ours = DecodeBoth(stream);
    ASSERT_EQ(ours.Message, "ok");
    ASSERT_EQ(ours.Picture.Width(), c.Width);
    ASSERT_EQ(ours.Picture.Height(), c.Height);
    EXPECT_EQ(ours.Picture.BitCount(), 24u);
    const double oursPsnr = Psnr(ToRgb(ours.Picture), expected);
    EXPECT_GE(oursPsnr, c.MinPsnr);

    double djpegPsnr = 0;
    if (MissingJpegTools().empty()) {
        const Pnm reference = DjpegDecode(c.Name, stream);
        ASSERT_EQ(reference.Width, c.Width);
        ASSERT_EQ(reference.Height, c.Height);
        djpegPsnr = Psnr(reference, expected);
        EXPECT_GE(djpegPsnr, c.MinPsnr);
    }
    std::printf("PSNR %-12s ours %6.2f dB, djpeg %6.2f dB, %zu bytes\n", c.Name, oursPsnr,
                djpegPsnr, stream.size());
}

std::string RoundTripName(const ::testing::TestParamInfo<RoundTrip>& c) { return c.param.Name; }

INSTANTIATE_TEST_SUITE_P(Pictures, JpegEncoderRoundTrip, ::testing::ValuesIn(kRoundTrips),
                         RoundTripName);

TEST(JpegEncoder, WhiteAndGreyPicturesKeepNeutralChroma) {
    // R = G = B gives Cb = Cr = 128 exactly: white decodes to white, grey to grey.
    BitmapImage white;
    white.SetSize(0, 24, 21, 13);
    std::memset(white.ImageData(), 255, white.ImageDataSize());
    for (uint32_t quality : {1u, 75u, 100u}) {
        const DecodeOutcome back = DecodeFast(Encode(white, quality));
        ASSERT_EQ(back.Message, "ok");
        for (uint32_t y = 0; y < 13; ++y)
            for (uint32_t x = 0; x < 21; ++x)
                ASSERT_EQ(back.Picture.GetRGB(y, x), (RgbValue{255, 255, 255}));
    }
    const BitmapImage grey = Mapped(50, 30, 8, true);
    const DecodeOutcome back = DecodeFast(Encode(grey, 60));
    ASSERT_EQ(back.Message, "ok");
    for (uint32_t y = 0; y < 30; ++y) {
        for (uint32_t x = 0; x < 50; ++x) {
            const RgbValue v = back.Picture.GetRGB(y, x);
            ASSERT_TRUE(v.Red == v.Green && v.Green == v.Blue) << x << ", " << y;
        }
    }
}

// Energy at natural position 41 (row 5, column 1): its coefficient must be quantized and
// written under the same table entry (zigzag 22). Dividing by zigzag 21's value (49 at quality
// 50) and writing it at 22 (35) would bring the pattern back at 7 x 35 / 350 of its strength.
TEST(JpegEncoder, CoefficientAtRowFiveColumnOneKeepsItsStrength) {
    // 4 x 87.5 = 350, ten steps of 35: the coefficient itself is quantized without loss.
    constexpr double kAmplitude = 87.5;
    auto basis = [](uint32_t x, uint32_t y) {
        return std::cos((2 * (x % 8) + 1) * std::numbers::pi / 16) *
               std::cos((2 * (y % 8) + 1) * 5 * std::numbers::pi / 16);
    };
    BitmapImage picture;
    picture.SetSize(0, 24, 64, 64);
    for (uint32_t y = 0; y < 64; ++y) {
        for (uint32_t x = 0; x < 64; ++x) {
            const uint8_t v = uint8_t(std::lround(128 + kAmplitude * basis(x, y)));
            std::memset(picture.Row(y) + 3 * x, v, 3);
        }
    }
    auto strength = [&](const Pnm& decoded) {
        double dot = 0, norm = 0;
        for (uint32_t y = 0; y < 64; ++y) {
            for (uint32_t x = 0; x < 64; ++x) {
                const double g = decoded.Pixels[(size_t(y) * 64 + x) * 3 + 1] - 128.0;
                dot += g * basis(x, y);
                norm += basis(x, y) * basis(x, y);
            }
        }
        return dot / norm;
    };
    const Bytes stream = Encode(picture, 50);
    const DecodeOutcome ours = DecodeFast(stream);
    ASSERT_EQ(ours.Message, "ok");
    EXPECT_NEAR(strength(ToRgb(ours.Picture)), kAmplitude, 3);
    if (MissingJpegTools().empty()) {
        EXPECT_NEAR(strength(DjpegDecode("zigzag41", stream)), kAmplitude, 3);
    }
}
