#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"

TEST(BitmapImage, RowsArePaddedToFourBytesAndZeroed) {
    BitmapImage p;
    p.SetSize(256, 8, 10, 3);
    EXPECT_EQ(p.RowWidth(), 12u);
    ASSERT_EQ(p.ImageDataSize(), 36u);
    for (size_t i = 0; i < 36; ++i) EXPECT_EQ(p.ImageData()[i], 0);
    EXPECT_EQ(p.ColorCount(), 256u);

    p.SetSize(0, 24, 5, 1);
    EXPECT_EQ(p.RowWidth(), 16u);
    EXPECT_EQ(p.ColorCount(), 0u);
    EXPECT_EQ(p.ColorMap(), nullptr);

    p.SetSize(2, 1, 9, 1);
    EXPECT_EQ(p.RowWidth(), 4u);
    p.SetSize(16, 4, 9, 1);
    EXPECT_EQ(p.RowWidth(), 8u);
}

TEST(BitmapImage, InvalidBitCountIsRefusedAndLeavesAnEmptyPicture) {
    BitmapImage p;
    p.SetSize(0, 24, 4, 4);
    try {
        p.SetSize(16, 3, 8, 8);
        FAIL() << "no exception";
    } catch (const EInvalidBitCount& e) {
        EXPECT_STREQ(e.what(), "Invalid bit count");
    }
    EXPECT_EQ(p.Width(), 0u);
    EXPECT_EQ(p.ImageDataSize(), 0u);
}

TEST(BitmapImage, PicturesWithoutPixelsOrColoursHoldNoData) {
    BitmapImage p;
    p.SetSize(0, 8, 4, 4); // colour-mapped without colours
    EXPECT_EQ(p.ImageDataSize(), 0u);
    p.SetSize(0, 24, 0, 4);
    EXPECT_EQ(p.ImageDataSize(), 0u);
    EXPECT_THROW(p.Row(0), ESubscriptOutOfRange);
}

TEST(BitmapImage, SizesBeyondMemoryAreRefusedBeforeAllocating) {
    BitmapImage p;
    EXPECT_THROW(p.SetSize(0, 24, 0xFFFFFFFFu, 1), std::bad_alloc); // row length > 32 bits
}

TEST(BitmapImage, RowZeroIsTheLastStoredRow) {
    BitmapImage p;
    p.SetSize(0, 24, 2, 3);
    EXPECT_EQ(p.Row(0), p.ImageData() + 2 * p.RowWidth());
    EXPECT_EQ(p.Row(2), p.ImageData());
    EXPECT_THROW(p.Row(3), ESubscriptOutOfRange);
}

TEST(BitmapImage, GetRgbReadsThroughTheColourMapForEveryPacking) {
    BitmapImage p;
    p.SetSize(256, 8, 3, 2);
    uint8_t* e = p.ColorMapEntry(5);
    e[0] = 1, e[1] = 2, e[2] = 3; // blue, green, red
    p.Row(1)[2] = 5;
    EXPECT_EQ(p.GetRGB(1, 2), (RgbValue{3, 2, 1}));
    EXPECT_THROW(p.GetRGB(2, 0), ESubscriptOutOfRange);
    EXPECT_THROW(p.GetRGB(0, 3), ESubscriptOutOfRange);
    EXPECT_THROW(p.ColorMapEntry(256), ESubscriptOutOfRange);

    // Colour 1 is white in each; the pixel under test is set, its neighbours are not.
    struct Case {
        uint32_t bits, column;
        uint8_t byteIndex, value;
    };
    for (const Case c : {Case{1, 9, 1, 0x40}, Case{2, 5, 1, 0x10}, Case{4, 3, 1, 0x01}}) {
        p.SetSize(1u << c.bits, c.bits, 12, 1);
        std::memset(p.ColorMapEntry(1), 255, 3);
        p.Row(0)[c.byteIndex] = c.value;
        EXPECT_EQ(p.GetRGB(0, c.column), (RgbValue{255, 255, 255})) << c.bits << " bits";
        EXPECT_EQ(p.GetRGB(0, c.column - 1), (RgbValue{0, 0, 0})) << c.bits << " bits";
        EXPECT_EQ(p.GetRGB(0, c.column + 1), (RgbValue{0, 0, 0})) << c.bits << " bits";
    }

    p.SetSize(4, 2, 4, 1);
    p.Row(0)[0] = 0xFF; // index 3 everywhere; the map has four zeroed entries
    EXPECT_EQ(p.GetRGB(0, 0), (RgbValue{0, 0, 0}));
    p.SetSize(2, 2, 4, 1); // index 3 lies outside a two-colour map
    p.Row(0)[0] = 0xC0;
    EXPECT_THROW(p.GetRGB(0, 0), ESubscriptOutOfRange);
}

TEST(BitmapImage, CopiesAreDeepAndMovesLeaveNothingBehind) {
    BitmapImage a;
    a.SetSize(0, 24, 3, 2);
    a.Row(1)[0] = 42;
    BitmapImage b = a;
    b.Row(1)[0] = 7;
    EXPECT_EQ(a.Row(1)[0], 42);
    a = b;
    EXPECT_EQ(a.Row(1)[0], 7);
    EXPECT_NE(a.ImageData(), b.ImageData());
    BitmapImage c = std::move(a);
    EXPECT_EQ(c.Row(1)[0], 7);
    EXPECT_EQ(c.ImageDataSize(), 24u);
}

TEST(BitmapImage, GetRgbOf24BitPixelsSwapsStoredBlueGreenRed) {
    BitmapImage p;
    p.SetSize(0, 24, 2, 1);
    uint8_t* row = p.Row(0);
    row[3] = 10, row[4] = 20, row[5] = 30;
    EXPECT_EQ(p.GetRGB(0, 1), (RgbValue{30, 20, 10}));
}

namespace {

std::vector<uint8_t> PackedDib(uint32_t bitCount, int32_t width, int32_t height) {
    std::vector<uint8_t> dib(40, 0);
    auto put = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) dib[at + i] = uint8_t(v >> (8 * i));
    };
    put(0, 40, 4);
    put(4, uint32_t(width), 4);
    put(8, uint32_t(height), 4);
    put(12, 1, 2);
    put(14, bitCount, 2);
    return dib;
}

} // namespace

TEST(BitmapImage, AssignFromDibTakesHeaderPaletteAndRows) {
    std::vector<uint8_t> dib = PackedDib(1, 3, 2);
    const uint8_t palette[8] = {1, 2, 3, 99, 4, 5, 6, 99};
    dib.insert(dib.end(), palette, palette + 8);
    const uint8_t rows[8] = {0x80, 0, 0, 0, 0x20, 0, 0, 0}; // bottom row, top row
    dib.insert(dib.end(), rows, rows + 8);

    BitmapImage p;
    p.AssignFromDib(dib.data(), dib.size());
    EXPECT_EQ(p.Width(), 3u);
    EXPECT_EQ(p.Height(), 2u);
    EXPECT_EQ(p.ColorCount(), 2u);
    EXPECT_EQ(p.GetRGB(1, 0), (RgbValue{6, 5, 4})); // bottom row, first pixel: colour 1
    EXPECT_EQ(p.GetRGB(0, 2), (RgbValue{6, 5, 4}));
    EXPECT_EQ(p.GetRGB(0, 0), (RgbValue{3, 2, 1}));
}

TEST(BitmapImage, AssignFromDibRefusesShortDataAndBadBitCounts) {
    BitmapImage p;
    std::vector<uint8_t> dib = PackedDib(24, 2, 2);
    dib.resize(40 + 8 + 7); // one byte short of two 8-byte rows
    EXPECT_THROW(p.AssignFromDib(dib.data(), dib.size()), ESubscriptOutOfRange);
    dib.push_back(0);
    EXPECT_NO_THROW(p.AssignFromDib(dib.data(), dib.size()));
    EXPECT_THROW(p.AssignFromDib(dib.data(), 39), ESubscriptOutOfRange);

    std::vector<uint8_t> negative = PackedDib(24, 2, -2); // top-down DIBs are not taken
    negative.resize(100);
    EXPECT_THROW(p.AssignFromDib(negative.data(), negative.size()), ESubscriptOutOfRange);

    std::vector<uint8_t> bad = PackedDib(16, 2, 2);
    bad.resize(100);
    EXPECT_THROW(p.AssignFromDib(bad.data(), bad.size()), EInvalidBitCount);
}
