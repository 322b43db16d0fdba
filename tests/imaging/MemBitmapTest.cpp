#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "imaging/Dib.h"
#include "imaging/MemBitmap.h"
#include "platform/RecordingCanvas.h"
#include "support/BmpFixtures.h"
#include "support/TempDir.h"

namespace {

std::vector<uint8_t> Stored(const TMemBitmap& b) {
    TWriteStream out;
    b.WriteToStream(out);
    return out.Take();
}

void ExpectShowsFixture(const TMemBitmap& b, const TBmpShape& s) {
    ASSERT_TRUE(b.HasImage);
    EXPECT_EQ(b.Width, s.Width);
    EXPECT_EQ(b.Height, s.Height);
    EXPECT_EQ(b.BitCount, s.BitCount);
    EXPECT_EQ(b.RowBytes, DibRowBytes(s.Width, s.BitCount));
    ASSERT_EQ(b.Pixels().Width, s.Width);
    ASSERT_EQ(b.Pixels().Height, s.Height);
    for (int32_t y = 0; y < s.Height; ++y) {
        for (int32_t x = 0; x < s.Width; ++x) {
            ASSERT_EQ(b.Pixels().At(x, y), FixturePixel(s, x, y)) << "at " << x << ", " << y;
        }
    }
}

// Captures the picture StretchDraw was given.
class TPictureCanvas : public TRecordingCanvas {
public:
    TPixmap Drawn;
    void StretchDraw(int32_t x, int32_t y, int32_t w, int32_t h, const TPixmap& picture) override {
        Drawn = picture;
        TRecordingCanvas::StretchDraw(x, y, w, h, picture);
    }
};

} // namespace

TEST(MemBitmap, LoadsFourEightAndTwentyFourBitFilesWithTheirPadding) {
    // Odd widths exercise the nibble order and the row padding.
    for (const TBmpShape s :
         {TBmpShape{5, 3, 4}, TBmpShape{7, 2, 8}, TBmpShape{3, 4, 24}, TBmpShape{1, 1, 24}}) {
        SCOPED_TRACE(s.BitCount);
        const auto file = MakeBmp(s);
        TMemBitmap b;
        b.LoadFromBitmapFileData(file);
        ExpectShowsFixture(b, s);
        EXPECT_FALSE(b.IsJpeg);
        // A file in the usual layout is kept as its bytes after the file header.
        EXPECT_EQ(b.DibBlock, std::vector<uint8_t>(file.begin() + 14, file.end()));
    }
}

TEST(MemBitmap, LargerHeadersShortPalettesAndMissingRowOffsetsAreNormalised) {
    for (const TBmpShape s :
         {TBmpShape{4, 3, 24, 124}, TBmpShape{6, 2, 8, 124, 3}, TBmpShape{5, 2, 4, 40, 2},
          TBmpShape{3, 3, 8, 40, 0, 0, true}, TBmpShape{2, 2, 24, 40, 2}}) {
        SCOPED_TRACE(testing::Message() << s.BitCount << " bits, header " << s.HeaderSize);
        TMemBitmap b;
        b.LoadFromBitmapFileData(MakeBmp(s));
        ExpectShowsFixture(b, s);
        // The block has the standard layout, so a stored copy reads back the same.
        std::string why;
        const auto layout = CheckDib(b.DibBlock, why);
        ASSERT_TRUE(layout) << why;
        EXPECT_EQ(layout->PaletteOffset, 40u);
        EXPECT_EQ(b.DibBlock.size(),
                  40u + (s.BitCount == 24 ? 0 : 4u << s.BitCount) + size_t(b.RowBytes) * s.Height);
        TMemBitmap back;
        const auto bytes = Stored(b);
        TReadStream in(bytes);
        back.ReadFromStream(in);
        ExpectShowsFixture(back, s);
    }
}

TEST(MemBitmap, UnsupportedOrDamagedFilesLeaveNoPicture) {
    auto notBm = MakeBmp({});
    notBm[1] = 'A';
    auto wideHeader = MakeBmp({});
    wideHeader[14] = 0xFF; // header size larger than the file
    auto coreHeader = MakeBmp({});
    coreHeader[14] = 12;
    auto badOffset = MakeBmp({4, 4, 8});
    badOffset[10] = 20; // rows claimed to start inside the header
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
        {"not BM", notBm},
        {"header size past the end", wideHeader},
        {"core header", coreHeader},
        {"rows inside the header", badOffset},
        {"1 bit", MakeBmp({8, 2, 1})},
        {"32 bits", MakeBmp({2, 2, 32})},
        {"RLE", MakeBmp({4, 2, 8, 40, 0, 1})},
        {"zero width", MakeBmp({0, 2, 24})},
        {"top-down", MakeBmp({2, -2, 24})},
        {"palette too large", MakeBmp({2, 2, 4, 40, 17})},
    };
    for (const auto& [what, file] : cases) {
        SCOPED_TRACE(what);
        TMemBitmap b;
        b.LoadFromBitmapFileData(MakeBmp({})); // a good picture first: a failed load drops it
        ASSERT_TRUE(b.HasImage);
        b.LoadFromBitmapFileData(file);
        EXPECT_FALSE(b.HasImage);
        EXPECT_TRUE(b.DibBlock.empty());
        EXPECT_TRUE(b.Pixels().Empty());
    }
}

TEST(MemBitmap, AbsurdSizesAreRefusedBeforeAnythingIsAllocated) {
    // Only the headers: the sizes alone must be refused, whatever the file holds.
    for (const auto& [w, h] : {std::pair{70000, 1}, std::pair{1, 70000}, std::pair{40000, 40000}}) {
        auto file = MakeBmp({1, 1, 24});
        for (int i = 0; i < 4; ++i) {
            file[18 + i] = static_cast<uint8_t>(w >> (8 * i));
            file[22 + i] = static_cast<uint8_t>(h >> (8 * i));
        }
        TMemBitmap b;
        b.LoadFromBitmapFileData(file);
        EXPECT_FALSE(b.HasImage) << w << " x " << h;
    }
}

TEST(MemBitmap, EveryTruncationOfAFileIsRefused) {
    for (const TBmpShape s : {TBmpShape{5, 3, 4}, TBmpShape{3, 2, 8}, TBmpShape{3, 2, 24}}) {
        const auto file = MakeBmp(s);
        for (size_t n = 0; n < file.size(); ++n) {
            TMemBitmap b;
            b.LoadFromBitmapFileData(std::span(file).first(n));
            ASSERT_FALSE(b.HasImage) << s.BitCount << " bits cut at " << n;
        }
    }
}

TEST(MemBitmap, FileNamesEndingInJpgInAnyCaseTakeTheJpegPath) {
    EXPECT_TRUE(TMemBitmap::IsJpegFileName("photo.jpg"));
    EXPECT_TRUE(TMemBitmap::IsJpegFileName("/a/b/PHOTO.JpG"));
    EXPECT_TRUE(TMemBitmap::IsJpegFileName(".JPG"));
    EXPECT_FALSE(TMemBitmap::IsJpegFileName("photo.jpeg"));
    EXPECT_FALSE(TMemBitmap::IsJpegFileName("photo.bmp"));
    EXPECT_FALSE(TMemBitmap::IsJpegFileName("JPG"));
    EXPECT_FALSE(TMemBitmap::IsJpegFileName("árvíztűrőjpg"));

    // A bitmap named .jpg or forced to JPEG fails on the JPEG path, which only takes JPEG.
    TTempDir dir;
    const auto bmp = MakeBmp({});
    TMemBitmap b;
    b.LoadFromFile(dir.Write("pic.bmp", bmp));
    EXPECT_TRUE(b.HasImage);
    b.LoadFromFile(dir.Write("pic.BMP", bmp), TMemBitmap::kFormatJpeg);
    EXPECT_FALSE(b.HasImage);
    b.LoadFromFile(dir.Write("pic.Jpg", bmp));
    EXPECT_FALSE(b.HasImage);
    b.LoadFromFile(dir.Write("pic.jpeg", bmp)); // the bitmap path, which takes it
    EXPECT_TRUE(b.HasImage);
    b.LoadFromFile((dir.Path / "missing.bmp").string());
    EXPECT_FALSE(b.HasImage);
}

TEST(MemBitmap, StoredBitmapComesBackByteForByte) {
    for (const TBmpShape s : {TBmpShape{5, 3, 4}, TBmpShape{7, 2, 8}, TBmpShape{3, 4, 24}}) {
        TMemBitmap b;
        b.LoadFromBitmapFileData(MakeBmp(s));
        b.JpegQuality = 77;
        const auto bytes = Stored(b);
        ASSERT_EQ(bytes.size(), 1 + 4 + 1 + 4 + b.DibBlock.size());
        EXPECT_EQ(bytes[0], 0);
        EXPECT_EQ(bytes[1], 77);
        EXPECT_EQ(bytes[5], 1);

        TMemBitmap back;
        TReadStream in(bytes);
        back.ReadFromStream(in);
        EXPECT_TRUE(in.AtEnd());
        EXPECT_EQ(back.DibBlock, b.DibBlock);
        EXPECT_EQ(back.JpegQuality, 77);
        ExpectShowsFixture(back, s);
        EXPECT_EQ(Stored(back), bytes);
    }
}

TEST(MemBitmap, ObjectsWithoutAPictureAreStoredAsSixBytes) {
    const std::vector<uint8_t> expected = {0, 64, 0, 0, 0, 0};
    TMemBitmap fresh; // HasImage true but no block
    EXPECT_EQ(Stored(fresh), expected);

    TMemBitmap failed;
    failed.LoadFromBitmapFileData(std::vector<uint8_t>{'X'});
    EXPECT_EQ(Stored(failed), expected);

    // Reading one replaces a picture by none.
    TMemBitmap b;
    b.LoadFromBitmapFileData(MakeBmp({}));
    TReadStream in(expected);
    b.ReadFromStream(in);
    EXPECT_FALSE(b.HasImage);
    EXPECT_TRUE(b.DibBlock.empty());
    EXPECT_TRUE(b.Pixels().Empty());
    EXPECT_EQ(Stored(b), expected);
}

TEST(MemBitmap, DamagedBlocksThrowAndKeepThePicture) {
    TMemBitmap good;
    good.LoadFromBitmapFileData(MakeBmp({3, 2, 8}));
    const auto bytes = Stored(good);

    std::vector<std::vector<uint8_t>> damaged;
    for (size_t n = 0; n < bytes.size(); ++n)
        damaged.emplace_back(bytes.begin(), bytes.begin() + n);
    auto negative = bytes;
    negative[9] = 0x80; // the length's sign byte
    damaged.push_back(negative);
    auto sixteenBits = bytes;
    sixteenBits[6 + 4 + 14] = 16;
    damaged.push_back(sixteenBits);
    auto compressed = bytes;
    compressed[6 + 4 + 16] = 1;
    damaged.push_back(compressed);
    auto shortLength = bytes; // the block no longer holds all its rows
    shortLength[6] = static_cast<uint8_t>(shortLength[6] - 1);
    shortLength.pop_back();
    damaged.push_back(shortLength);

    for (const auto& d : damaged) {
        TMemBitmap b;
        b.LoadFromBitmapFileData(MakeBmp({5, 3, 4}));
        const auto before = Stored(b);
        TReadStream in(d);
        EXPECT_THROW(b.ReadFromStream(in), EReadError) << "length " << d.size();
        EXPECT_EQ(Stored(b), before);
        EXPECT_EQ(b.Pixels().Width, 5);
    }
}

TEST(MemBitmap, StretchDrawHandsTheDevicePixelsToTheCanvas) {
    TPictureCanvas canvas;
    TMemBitmap fresh;
    fresh.StretchDraw(canvas, 0, 0, 10, 10);
    TMemBitmap failed;
    failed.LoadFromBitmapFileData(std::vector<uint8_t>{});
    failed.StretchDraw(canvas, 0, 0, 10, 10);
    EXPECT_TRUE(canvas.Calls.empty());

    TMemBitmap b;
    b.LoadFromBitmapFileData(MakeBmp({}));
    b.StretchDraw(canvas, 1, 2, 30, 40);
    b.StretchDraw(canvas, 5, 6, 7, 8);
    EXPECT_EQ(canvas.Log(),
              (std::vector<std::string>{"StretchDraw(1,2,30,40)", "StretchDraw(5,6,7,8)"}));
    // A target at least as large as the picture gets the picture's own pixels.
    EXPECT_EQ(canvas.Drawn.Pixels, b.Pixels().Pixels);
    // A smaller one gets the picture shrunk to it: one pixel is the mean of all.
    b.StretchDraw(canvas, 0, 0, 1, 1);
    ASSERT_EQ(canvas.Drawn.Pixels.size(), 1u);
    const TPixmap all = b.Pixels();
    for (int shift : {0, 8, 16}) {
        uint32_t sum = 0;
        for (uint32_t p : all.Pixels) sum += (p >> shift) & 0xFF;
        const auto n = static_cast<uint32_t>(all.Pixels.size());
        EXPECT_EQ((canvas.Drawn.Pixels[0] >> shift) & 0xFF, (sum + n / 2) / n) << shift;
    }
}
