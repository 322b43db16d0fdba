// Tables and transform pieces of the decoder checked on their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "jpeg/JpegColor.h"
#include "jpeg/JpegIdct.h"
#include "jpeg/JpegSimd.h"
#include "jpeg/JpegTables.h"

namespace {

// The kernels of every instruction set this processor runs, plain C++ first.
std::vector<const JpegKernels*> EveryKernelSet() {
    std::vector<const JpegKernels*> sets;
    for (JpegSimd simd : {JpegSimd::Scalar, JpegSimd::Sse2, JpegSimd::Avx2})
        if (JpegSimdAvailable(simd)) sets.push_back(&JpegKernelsFor(simd));
    return sets;
}

const char* Name(const JpegKernels& k) {
    return k.Simd == JpegSimd::Scalar ? "scalar" : k.Simd == JpegSimd::Sse2 ? "SSE2" : "AVX2";
}

} // namespace

TEST(JpegTables, NaturalToZigzagIsTheExactInverseOfTheZigzagOrder) {
    for (int k = 0; k < 64; ++k) {
        EXPECT_EQ(kNaturalToZigzag[kZigzagToNatural[k]], k);
        const int n = kZigzagToNatural[k];
        EXPECT_EQ(kZigzagToTransposed[k], (n % 8) * 8 + n / 8);
    }
    EXPECT_EQ(kNaturalToZigzag[41], 22); // row 5, column 1
    EXPECT_EQ(kNaturalToZigzag[48], 21);
    for (int k = 64; k < 80; ++k) EXPECT_EQ(kZigzagToNatural[k], 63);
}

TEST(JpegTables, ScaledQuantizationValues) {
    DecoderQuantizationTable q;
    for (uint16_t& v : q.Values) v = 1;
    q.Values[0] = 16;
    q.Values[1] = 100; // natural (0, 1)
    q.Values[22] = 7;  // natural (5, 1)
    q.BuildScaledValues();
    EXPECT_EQ(q.ScaledValues[0], 16 * 512); // f(0,0) = 1/8
    EXPECT_EQ(q.ScaledValues[1], 36913);    // 100 x 0.090120 x 4096
    EXPECT_EQ(q.ScaledValues[63], 6726);    // 1 x 1.642134 x 4096
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
    EXPECT_EQ(lookup(0b111111111, 9), 0); // no code: left to the bit-by-bit search
    EXPECT_EQ(t.MaxCode[0], -1);
    EXPECT_EQ(t.MinCode[2], 2);
    EXPECT_EQ(t.MaxCode[2], 6);
    EXPECT_EQ(t.ValPtr[3], 6);

    const uint8_t overfull[16] = {1, 3};
    EXPECT_FALSE(t.Build(overfull, values, 4));
    EXPECT_FALSE(t.Defined);
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

namespace {

// The transform exactly as written down: 32-bit two's complement arithmetic (wrapping),
// row pass with its all-zero shortcut, column pass with the level shift and rounding.
void LiteralIdct(const int16_t* x, const int32_t* q, uint8_t* out) {
    auto w = [](int64_t v) { return int32_t(uint32_t(uint64_t(v))); };
    auto pass = [&](const int32_t* y, int32_t bias, int32_t* o) {
        const int32_t C1 = 59, C2 = 45, C3 = 24;
        const int32_t t0 = w(int64_t(y[0]) + y[4] + bias), t1 = w(int64_t(y[0]) - y[4] + bias);
        const int32_t t2 = w(int64_t(y[2]) + y[6]);
        const int32_t t3 = w(int64_t(w(w(int64_t(y[2]) - y[6]) * int64_t(C2))) >> 6);
        const int32_t u = w(int64_t(t3) + t2);
        const int32_t e0 = w(int64_t(t0) + u), e3 = w(int64_t(t0) - u);
        const int32_t e1 = w(int64_t(t1) + t3), e2 = w(int64_t(t1) - t3);
        const int32_t z1 = w(int64_t(y[1]) + y[7]), z2 = w(int64_t(y[1]) - y[7]);
        const int32_t z3 = w(int64_t(y[5]) + y[3]), z4 = w(int64_t(y[5]) - y[3]);
        const int32_t p = w(w(int64_t(z2) + z4) * int64_t(C3));
        const int32_t d = w(int64_t(w(int64_t(p) + w(int64_t(C1 - C3) * z4))) >> 6);
        const int32_t q5 = w(int64_t(w(w(int64_t(z1) - z3) * int64_t(C2))) >> 6);
        const int32_t q6 = w(int64_t(w(w(int64_t(C1 + C3) * z2) - int64_t(p))) >> 6);
        const int32_t e = w(int64_t(d) + q5), f = w(int64_t(q5) + q6);
        const int32_t g = w(int64_t(w(int64_t(q6) + z1)) + z3);
        const int32_t r[8] = {w(int64_t(e0) + g), w(int64_t(e1) + f), w(int64_t(e2) + e),
                              w(int64_t(e3) + d), w(int64_t(e3) - d), w(int64_t(e2) - e),
                              w(int64_t(e1) - f), w(int64_t(e0) - g)};
        std::memcpy(o, r, sizeof r);
    };
    int32_t rows[64];
    for (int r = 0; r < 8; ++r) {
        bool acZero = true;
        for (int k = 1; k < 8; ++k) acZero = acZero && x[r * 8 + k] == 0;
        int32_t y[8];
        for (int k = 0; k < 8; ++k) y[k] = w(int64_t(x[r * 8 + k]) * q[r * 8 + k]);
        if (acZero) {
            for (int k = 0; k < 8; ++k) rows[r * 8 + k] = y[0];
        } else {
            pass(y, 0, rows + r * 8);
        }
    }
    for (int c = 0; c < 8; ++c) {
        int32_t y[8], o[8];
        for (int k = 0; k < 8; ++k) y[k] = rows[k * 8 + c];
        pass(y, 526336, o);
        for (int k = 0; k < 8; ++k) {
            const int32_t v = o[k] >> 12;
            out[k * 8 + c] = uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
        }
    }
}

} // namespace

// The vectorized transforms against the literal one, on sparse and dense blocks with real
// and extreme tables.
TEST(JpegIdct, MatchesTheLiteralTransformBitForBit) {
    const std::vector<const JpegKernels*> sets = EveryKernelSet();
    ASSERT_GE(sets.size(), 2u); // plain C++ and SSE2 at least
    std::mt19937 rng(11);
    for (int i = 0; i < 30000; ++i) {
        DecoderQuantizationTable table;
        const int qMax = i % 4 == 0 ? 255 : 60;
        for (uint16_t& v : table.Values) v = uint16_t(1 + rng() % qMax);
        table.BuildScaledValues();
        int16_t coef[64] = {};
        const int count = int(rng() % (i % 10 == 0 ? 64 : 12));
        const int range = i % 7 == 0 ? 65536 : i % 3 == 0 ? 2048 : 64;
        // Some blocks keep to the left columns, the upper rows or both, which the transform
        // takes by shorter paths.
        const int rowMask = i % 5 == 2 || i % 5 == 3 ? 3 : 7;
        const int columnMask = i % 5 == 1 || i % 5 == 3 ? 3 : 7;
        for (int n = 0; n < count; ++n) {
            const int at = int(rng() % 64);
            coef[((at / 8) & rowMask) * 8 + ((at % 8) & columnMask)] =
                int16_t(int(rng() % range) - range / 2);
        }
        uint8_t expected[64], actual[8 * 11];
        LiteralIdct(coef, table.ScaledValues, expected);
        InverseDct(coef, table.ScaledValues, actual, 11); // a stride wider than the block
        for (int k = 0; k < 64; ++k)
            ASSERT_EQ(actual[(k / 8) * 11 + k % 8], expected[k]) << "case " << i << " sample " << k;
        int16_t transposed[64];
        for (int k = 0; k < 64; ++k) transposed[(k % 8) * 8 + k / 8] = coef[k];
        for (const JpegKernels* kernels : sets) {
            uint8_t fromTransposed[8 * 13];
            kernels->InverseDctTransposed(transposed, table.ScaledValuesTransposed, fromTransposed,
                                          13);
            for (int k = 0; k < 64; ++k)
                ASSERT_EQ(fromTransposed[(k / 8) * 13 + k % 8], expected[k])
                    << Name(*kernels) << ", case " << i << " sample " << k;
        }
    }
}

// Coefficients and tables at their limits, where the products and sums wrap around 32 bits
// and the samples clamp at both ends: every kernel must wrap and clamp as the literal
// transform does.
TEST(JpegIdct, KernelsWrapAndClampLikeTheLiteralTransform) {
    const std::vector<const JpegKernels*> sets = EveryKernelSet();
    std::mt19937 rng(5);
    const int16_t extremes[] = {-32768, 32767, -32767, 0, 1, -1, 16384, -16384};
    for (int i = 0; i < 4000; ++i) {
        DecoderQuantizationTable table;
        for (uint16_t& v : table.Values) v = uint16_t(i % 2 == 0 ? 255 : 1 + rng() % 255);
        table.BuildScaledValues();
        int16_t coef[64];
        for (int16_t& v : coef)
            v = i % 3 == 0 ? extremes[rng() % 8] : int16_t(int(rng() % 65536) - 32768);
        if (i % 4 == 1)
            for (int k = 0; k < 64; ++k)
                if (k % 8 >= 4 || k / 8 >= 4) coef[k] = 0; // the shorter paths at the limits
        uint8_t expected[64];
        LiteralIdct(coef, table.ScaledValues, expected);
        int16_t transposed[64];
        for (int k = 0; k < 64; ++k) transposed[(k % 8) * 8 + k / 8] = coef[k];
        for (const JpegKernels* kernels : sets) {
            uint8_t actual[64];
            kernels->InverseDctTransposed(transposed, table.ScaledValuesTransposed, actual, 8);
            ASSERT_EQ(std::memcmp(actual, expected, 64), 0) << Name(*kernels) << ", case " << i;
        }
    }
}

// Every Y, Cb, Cr combination, through the vector and the scalar part of the row.
TEST(JpegColor, RowConversionMatchesTheFormulaForEveryInput) {
    const std::vector<const JpegKernels*> sets = EveryKernelSet();
    constexpr uint32_t kWidth = 256 + 19;
    uint8_t lum[kWidth], cb[kWidth], cr[kWidth], out[kWidth * 3];
    auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
    for (int u = 0; u < 256; ++u) {
        for (int v = 0; v < 256; ++v) {
            for (uint32_t x = 0; x < kWidth; ++x) {
                lum[x] = uint8_t(x);
                cb[x] = uint8_t(u);
                cr[x] = uint8_t(v);
            }
            uint8_t expected[kWidth * 3];
            for (uint32_t x = 0; x < kWidth; ++x) {
                const int y = lum[x];
                expected[3 * x] = uint8_t(clamp(y + ((7258 * (u - 128) + 2048) >> 12)));
                expected[3 * x + 1] =
                    uint8_t(clamp(y - ((1409 * (u - 128) + 2925 * (v - 128) + 2048) >> 12)));
                expected[3 * x + 2] = uint8_t(clamp(y + ((5742 * (v - 128) + 2048) >> 12)));
            }
            for (const JpegKernels* kernels : sets) {
                kernels->YCbCrRow(lum, cb, cr, out, kWidth);
                ASSERT_EQ(std::memcmp(out, expected, sizeof out), 0)
                    << Name(*kernels) << ", Cb " << u << " Cr " << v;
            }
        }
    }
}

TEST(JpegColor, WidenRowRepeatsSamples) {
    uint8_t row[40], buffer[100];
    for (int i = 0; i < 40; ++i) row[i] = uint8_t(i * 3);
    for (uint32_t factor : {1u, 2u, 3u, 4u}) {
        const uint8_t* wide = WidenRow(row, factor, 37 * factor / 2 + 1, buffer);
        for (uint32_t x = 0; x < 37 * factor / 2 + 1; ++x) ASSERT_EQ(wide[x], row[x / factor]);
    }
}

// The fused half-width conversion of 4:2:0 and 4:2:2 rows gives exactly what widening the
// chroma rows and converting them gives, in every kernel set, at every width (vector steps and
// the tails of each), and writes nothing past the row; so does full-width chroma.
TEST(JpegColor, HalfWidthChromaConversionMatchesWideningFirst) {
    const std::vector<const JpegKernels*> sets = EveryKernelSet();
    std::mt19937 rng(3);
    for (uint32_t width = 1; width <= 140; ++width) {
        std::vector<uint8_t> lum(width), cb((width + 1) / 2), cr((width + 1) / 2);
        for (int round = 0; round < 20; ++round) {
            for (uint8_t& v : lum) v = uint8_t(rng());
            for (uint8_t& v : cb) v = uint8_t(rng());
            for (uint8_t& v : cr) v = uint8_t(rng());
            std::vector<uint8_t> wideCb(width), wideCr(width);
            std::vector<uint8_t> expected(size_t(width) * 3);
            YCbCrRowToBgrScalar(lum.data(), WidenRow(cb.data(), 2, width, wideCb.data()),
                                WidenRow(cr.data(), 2, width, wideCr.data()), expected.data(),
                                width);
            for (const JpegKernels* kernels : sets) {
                std::vector<uint8_t> actual(size_t(width) * 3 + 16, 0xA5);
                kernels->YCbCrHalfRow(lum.data(), cb.data(), cr.data(), actual.data(), width);
                ASSERT_TRUE(std::equal(expected.begin(), expected.end(), actual.begin()))
                    << Name(*kernels) << ", width " << width;
                for (size_t i = expected.size(); i < actual.size(); ++i)
                    ASSERT_EQ(actual[i], 0xA5) << Name(*kernels) << ", width " << width;
                // Full-width chroma through the same kernel set.
                std::fill(actual.begin(), actual.end(), 0xA5);
                kernels->YCbCrRow(lum.data(), wideCb.data(), wideCr.data(), actual.data(), width);
                ASSERT_TRUE(std::equal(expected.begin(), expected.end(), actual.begin()))
                    << Name(*kernels) << ", full chroma, width " << width;
                for (size_t i = expected.size(); i < actual.size(); ++i)
                    ASSERT_EQ(actual[i], 0xA5) << Name(*kernels) << ", width " << width;
            }
        }
    }
}
