// Tables and transform pieces of the decoder checked on their own.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "jpeg/JpegIdct.h"
#include "jpeg/JpegTables.h"

TEST(JpegTables, NaturalToZigzagIsTheExactInverseOfTheZigzagOrder) {
    for (int k = 0; k < 64; ++k) EXPECT_EQ(kNaturalToZigzag[kZigzagToNatural[k]], k);
    EXPECT_EQ(kNaturalToZigzag[41], 22);  // row 5, column 1
    EXPECT_EQ(kNaturalToZigzag[48], 21);
    for (int k = 64; k < 80; ++k) EXPECT_EQ(kZigzagToNatural[k], 63);
}

TEST(JpegTables, ScaledQuantizationValues) {
    DecoderQuantizationTable q;
    for (uint16_t& v : q.Values) v = 1;
    q.Values[0] = 16;
    q.Values[1] = 100;   // natural (0, 1)
    q.Values[22] = 7;    // natural (5, 1)
    q.BuildScaledValues();
    EXPECT_EQ(q.ScaledValues[0], 16 * 512);   // f(0,0) = 1/8
    EXPECT_EQ(q.ScaledValues[1], 36913);      // 100 x 0.090120 x 4096
    EXPECT_EQ(q.ScaledValues[63], 6726);      // 1 x 1.642134 x 4096
    // Natural 41 takes the value at zigzag 22; natural 48 (zigzag 21) does not.
    DecoderQuantizationTable ones;
    for (uint16_t& v : ones.Values) v = 1;
    ones.BuildScaledValues();
    EXPECT_GE(q.ScaledValues[41], 7 * ones.ScaledValues[41]);
    EXPECT_LT(q.ScaledValues[41], 7 * (ones.ScaledValues[41] + 1));
    EXPECT_EQ(q.ScaledValues[48], ones.ScaledValues[48]);
}

// The T.81 K.3 luminance DC table: every symbol decodes from its code through the look-up.
TEST(JpegTables, HuffmanLookupResolvesShortCodes) {
    const uint8_t counts[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
    const uint8_t values[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    HuffmanDecoder t;
    ASSERT_TRUE(t.Build(counts, values, 12));
    // Codes: 00 | 010 011 100 101 110 | 1110 | 11110 | ... | 111111110 (9 bits, symbol 11)
    auto lookup = [&](uint32_t code, int length) {
        return t.Lookup[code << (HuffmanDecoder::kLookupBits - length)];
    };
    EXPECT_EQ(lookup(0b00, 2), (2 << 8) | 0);
    EXPECT_EQ(lookup(0b110, 3), (3 << 8) | 5);
    EXPECT_EQ(lookup(0b1110, 4), (4 << 8) | 6);
    EXPECT_EQ(lookup(0b111111110, 9), (9 << 8) | 11);
    EXPECT_EQ(lookup(0b111111111, 9), 0);  // no code: left to the bit-by-bit search
    EXPECT_EQ(t.MaxCode[0], -1);
    EXPECT_EQ(t.MinCode[2], 2);
    EXPECT_EQ(t.MaxCode[2], 6);
    EXPECT_EQ(t.ValPtr[3], 6);

    const uint8_t overfull[16] = {1, 3};
    EXPECT_FALSE(t.Build(overfull, values, 4));
    EXPECT_FALSE(t.Defined);
}

TEST(JpegIdct, ZeroBlockIsMidGrey) {
    const int16_t coef[64] = {};
    int32_t scaled[64];
    for (int32_t& s : scaled) s = 4096;
    uint8_t out[64];
    InverseDct(coef, scaled, out, 8);
    for (uint8_t v : out) EXPECT_EQ(v, 128);
    EXPECT_EQ(InverseDctDcOnly(0, scaled), 128);
}

// The DC-only shortcut gives the same samples as the full transform, for any DC value and
// table, including values only corrupt data produces (the arithmetic wraps instead of being
// undefined).
TEST(JpegIdct, DcOnlyShortcutMatchesTheFullTransform) {
    std::mt19937 rng(7);
    int32_t scaled[64] = {};
    for (int i = 0; i < 20000; ++i) {
        int16_t coef[64] = {};
        coef[0] = int16_t(i < 10000 ? int(rng() % 4096) - 2048 : int(rng() % 65536) - 32768);
        scaled[0] = i % 3 == 0 ? int32_t(rng() % (255 * 512)) + 512 : int32_t(rng() % 2000000);
        uint8_t full[64];
        InverseDct(coef, scaled, full, 8);
        const uint8_t shortcut = InverseDctDcOnly(coef[0], scaled);
        for (uint8_t v : full) ASSERT_EQ(v, shortcut) << coef[0] << " x " << scaled[0];
    }
}

// A single coefficient produces the cosine pattern of T.81 A.3.3: mirror-symmetric or
// antisymmetric about the middle of the block, as its frequency is even or odd.
TEST(JpegIdct, SingleCoefficientsGiveCosinePatterns) {
    DecoderQuantizationTable q;
    for (uint16_t& v : q.Values) v = 16;
    q.BuildScaledValues();
    for (int u = 1; u < 8; ++u) {
        int16_t coef[64] = {};
        coef[u] = 20;  // horizontal frequency u
        uint8_t out[64];
        InverseDct(coef, q.ScaledValues, out, 8);
        for (int x = 0; x < 4; ++x) {
            const int a = out[x] - 128, b = out[7 - x] - 128;
            if (u % 2 == 0) EXPECT_NEAR(a, b, 1) << u;
            else EXPECT_NEAR(a, -b, 1) << u;
        }
        for (int y = 1; y < 8; ++y) EXPECT_EQ(std::memcmp(out, out + 8 * y, 8), 0);
    }
    // Amplitude: coefficient 20 x 16 / 8 x sqrt(2) x cos(pi/16) ~ 55 at the left edge.
    int16_t coef[64] = {};
    coef[1] = 20;
    uint8_t out[64];
    InverseDct(coef, q.ScaledValues, out, 8);
    EXPECT_NEAR(out[0] - 128, 55, 2);
}
