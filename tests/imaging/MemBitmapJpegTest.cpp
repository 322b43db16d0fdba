// JPEG pictures in the image object: JPEG files loaded by name or by format, pictures from JPEG
// stored as JPEG streams re-encoded at their quality, and stored streams read back.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"
#include "imaging/MemBitmap.h"
#include "jpeg/JpegEncoder.h"
#include "support/BmpFixtures.h"
#include "support/TempDir.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A smooth 40 x 24 colour picture with an edge, as the image object holds it.
TMemBitmap ColourPicture() {
    constexpr int32_t w = 40, h = 24;
    const int32_t rowBytes = (w * 3 + 3) / 4 * 4;
    Bytes file = {'B', 'M'};
    PutLE(file, uint32_t(54 + rowBytes * h), 4);
    PutLE(file, 0, 4);
    PutLE(file, 54, 4);
    for (uint32_t v : {40u, uint32_t(w), uint32_t(h)}) PutLE(file, v, 4);
    PutLE(file, 1, 2);
    PutLE(file, 24, 2);
    for (int i = 0; i < 6; ++i) PutLE(file, 0, 4);
    for (int32_t y = h - 1; y >= 0; --y) {
        for (int32_t x = 0; x < w; ++x) {
            file.push_back(uint8_t(200 - 4 * x));               // blue
            file.push_back(uint8_t(40 + 6 * y));                // green
            file.push_back(uint8_t(x < 20 ? 60 + 2 * x : 220)); // red
        }
        file.resize(file.size() + size_t(rowBytes - w * 3), 0);
    }
    TMemBitmap b;
    b.LoadFromBitmapFileData(file);
    return b;
}

// The stream our encoder makes of a picture at a quality.
Bytes JpegOf(const TMemBitmap& b, uint32_t quality) {
    BitmapImage picture;
    picture.AssignFromDib(b.DibBlock.data(), b.DibBlock.size());
    JpegEncoder encoder;
    encoder.SetQuality(quality);
    return encoder.Encode(picture);
}

// Largest difference of any channel between two pictures' device pixels.
int MaxDifference(const TPixmap& a, const TPixmap& b) {
    EXPECT_EQ(a.Width, b.Width);
    EXPECT_EQ(a.Height, b.Height);
    int worst = 0;
    for (size_t i = 0; i < a.Pixels.size() && i < b.Pixels.size(); ++i)
        for (int shift : {0, 8, 16})
            worst = std::max(worst, std::abs(int(a.Pixels[i] >> shift & 0xFF) -
                                             int(b.Pixels[i] >> shift & 0xFF)));
    return worst;
}

// Mean difference of all channels.
double MeanDifference(const TPixmap& a, const TPixmap& b) {
    EXPECT_EQ(a.Pixels.size(), b.Pixels.size());
    double sum = 0;
    for (size_t i = 0; i < a.Pixels.size() && i < b.Pixels.size(); ++i)
        for (int shift : {0, 8, 16})
            sum += std::abs(int(a.Pixels[i] >> shift & 0xFF) - int(b.Pixels[i] >> shift & 0xFF));
    return sum / (3.0 * double(a.Pixels.size()));
}

Bytes Stored(const TMemBitmap& b) {
    TWriteStream out;
    b.WriteToStream(out);
    return out.Take();
}

int32_t IntAt(const Bytes& b, size_t at) {
    return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
                   uint32_t(b[at + 3]) << 24);
}

// The first luminance quantization value of a stream: the DQT segment's third byte on.
int LuminanceDc(const Bytes& stream) {
    for (size_t i = 0; i + 5 < stream.size(); ++i)
        if (stream[i] == 0xFF && stream[i + 1] == 0xDB) return stream[i + 5];
    return -1;
}

} // namespace

TEST(MemBitmapJpeg, JpegFilesLoadByNameInAnyCaseOrByFormat) {
    const TMemBitmap source = ColourPicture();
    const Bytes jpeg = JpegOf(source, 90);
    TTempDir dir;
    for (const auto& [name, format] : {std::pair{"a.jpg", TMemBitmap::kFormatByName},
                                       std::pair{"b.JpG", TMemBitmap::kFormatByName},
                                       std::pair{"c.bmp", TMemBitmap::kFormatJpeg}}) {
        SCOPED_TRACE(name);
        TMemBitmap b;
        b.LoadFromFile(dir.Write(name, jpeg), format);
        ASSERT_TRUE(b.HasImage);
        EXPECT_TRUE(b.IsJpeg);
        EXPECT_EQ(b.Width, 40);
        EXPECT_EQ(b.Height, 24);
        EXPECT_EQ(b.BitCount, 24);
        EXPECT_EQ(b.RowBytes, 120);
        EXPECT_EQ(b.JpegQuality, 64);
        EXPECT_LE(MaxDifference(b.Pixels(), source.Pixels()), 12);
    }
    // .jpeg takes the bitmap path, which does not take JPEG data.
    TMemBitmap b;
    b.LoadFromFile(dir.Write("d.jpeg", jpeg));
    EXPECT_FALSE(b.HasImage);
}

TEST(MemBitmapJpeg, FilesThatDoNotDecodeLeaveNoPictureAndNoMessage) {
    const Bytes jpeg = JpegOf(ColourPicture(), 75);
    TTempDir dir;
    const std::vector<std::pair<const char*, Bytes>> bad = {
        {"cut.jpg", Bytes(jpeg.begin(), jpeg.begin() + long(jpeg.size() / 2))},
        {"empty.jpg", {}},
        {"bitmap.jpg", MakeBmp({})},
    };
    for (const auto& [name, bytes] : bad) {
        SCOPED_TRACE(name);
        TMemBitmap b = ColourPicture(); // a good picture first: a failed load drops it
        b.LoadFromFile(dir.Write(name, bytes));
        EXPECT_FALSE(b.HasImage);
        EXPECT_TRUE(b.IsJpeg);
        EXPECT_TRUE(b.DibBlock.empty());
        EXPECT_TRUE(b.Pixels().Empty());
        EXPECT_EQ(Stored(b), (Bytes{1, 64, 0, 0, 0, 0}));
    }
    TMemBitmap missing;
    missing.LoadFromFile((dir.Path / "missing.jpg").string());
    EXPECT_FALSE(missing.HasImage);
}

TEST(MemBitmapJpeg, GreyJpegFilesGiveEightBitPicturesWithTheGreyRamp) {
    if (std::system("command -v cjpeg >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "cjpeg is not on PATH";
    TTempDir dir;
    {
        std::ofstream pgm(dir.Path / "grey.pgm", std::ios::binary);
        pgm << "P5\n30 20\n255\n";
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x) pgm.put(char(x * 8 + y));
    }
    const std::string jpg = (dir.Path / "grey.jpg").string();
    const std::string command = "cjpeg -grayscale -quality 95 -outfile '" + jpg + "' '" +
                                (dir.Path / "grey.pgm").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    TMemBitmap b;
    b.LoadFromFile(jpg);
    ASSERT_TRUE(b.HasImage);
    EXPECT_EQ(b.BitCount, 8);
    EXPECT_EQ(b.RowBytes, 32);
    ASSERT_EQ(b.DibBlock.size(), 40u + 1024u + 32u * 20u);
    for (int i = 0; i < 256; ++i) {
        const uint8_t* e = &b.DibBlock[40 + 4 * size_t(i)];
        ASSERT_TRUE(e[0] == i && e[1] == i && e[2] == i && e[3] == 0) << "palette entry " << i;
    }
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_LE(std::abs(int(b.Pixels().At(x, y) & 0xFF) - (x * 8 + y)), 3) << x << ", " << y;

    // Stored as a JPEG stream of three components (Cb = Cr = 128), it reads back as an 8-bit
    // picture of the same greys with the grey ramp.
    TMemBitmap back;
    const Bytes bytes = Stored(b);
    TReadStream in(bytes);
    back.ReadFromStream(in);
    ASSERT_TRUE(back.HasImage);
    EXPECT_EQ(back.BitCount, 8);
    EXPECT_TRUE(std::equal(back.DibBlock.begin() + 40, back.DibBlock.begin() + 40 + 1024,
                           b.DibBlock.begin() + 40));
    for (uint32_t p : back.Pixels().Pixels) {
        ASSERT_EQ(p >> 16 & 0xFF, p & 0xFF);
        ASSERT_EQ(p >> 8 & 0xFF, p & 0xFF);
    }
    EXPECT_LE(MaxDifference(back.Pixels(), b.Pixels()), 6);
}

TEST(MemBitmapJpeg, PicturesFromJpegAreStoredReencodedAtTheirQuality) {
    TTempDir dir;
    const Bytes file = JpegOf(ColourPicture(), 95);
    TMemBitmap b;
    b.LoadFromFile(dir.Write("pic.jpg", file));
    ASSERT_TRUE(b.HasImage);
    for (int32_t quality : {64, 30}) {
        SCOPED_TRACE(quality);
        b.JpegQuality = quality;
        const Bytes bytes = Stored(b);
        ASSERT_GT(bytes.size(), 10u);
        EXPECT_EQ(bytes[0], 1);
        EXPECT_EQ(IntAt(bytes, 1), quality);
        EXPECT_EQ(bytes[5], 1);
        const Bytes stream(bytes.begin() + 10, bytes.end());
        ASSERT_EQ(IntAt(bytes, 6), int32_t(stream.size()));
        // Not the file's bytes: a fresh stream whose tables are those of the quality.
        EXPECT_NE(stream, file);
        EXPECT_EQ(LuminanceDc(stream), quality == 64 ? 4 : 84); // 16 x 2^(0.12 x (50 - q))
        EXPECT_EQ(stream, b.JpegStream());

        TMemBitmap back;
        TReadStream in(bytes);
        back.ReadFromStream(in);
        EXPECT_TRUE(in.AtEnd());
        EXPECT_TRUE(back.HasImage);
        EXPECT_TRUE(back.IsJpeg);
        EXPECT_EQ(back.JpegQuality, quality);
        EXPECT_EQ(back.Width, 40);
        EXPECT_EQ(back.BitCount, 24);
        // Measured: 1.34 at 64 and 9.6 at 30, where the DC step is already 84.
        EXPECT_LE(MeanDifference(back.Pixels(), b.Pixels()), quality == 64 ? 2 : 12);
    }
}

TEST(MemBitmapJpeg, AStoredStreamThatDoesNotDecodeThrowsTheDecodersMessageAndChangesNothing) {
    TMemBitmap jpeg = ColourPicture();
    jpeg.IsJpeg = true; // from here on the picture is stored as JPEG
    const Bytes good = Stored(jpeg);
    auto noSoi = good;
    noSoi[10] = 0;   // the stream's first byte
    auto cut = good; // the stream ends in the middle of its scan
    cut.resize(cut.size() - 40);
    const int32_t n = IntAt(good, 6) - 40;
    for (int i = 0; i < 4; ++i) cut[6 + size_t(i)] = uint8_t(uint32_t(n) >> (8 * i));

    for (const auto& [damaged, message] :
         {std::pair{noSoi, "Hiányzó SOI jelzés"}, std::pair{cut, "Premature end of file"}}) {
        SCOPED_TRACE(message);
        TMemBitmap b = ColourPicture();
        const Bytes before = Stored(b);
        TReadStream in(damaged);
        try {
            b.ReadFromStream(in);
            ADD_FAILURE() << "the damaged stream was accepted";
        } catch (const EGraphicsException& e) {
            EXPECT_STREQ(e.what(), message);
        }
        EXPECT_EQ(Stored(b), before);
        EXPECT_FALSE(b.IsJpeg);
        EXPECT_EQ(b.Pixels().Width, 40);
    }
}

TEST(MemBitmapJpeg, AQualityOutsideTheEncodersRangeIsHeldToItAndStoredAsUsed) {
    TMemBitmap b = ColourPicture();
    b.IsJpeg = true;
    for (auto [quality, used] : {std::pair{0, 1}, {101, 100}, {-1, 1}, {INT32_MIN, 1}}) {
        SCOPED_TRACE(quality);
        b.JpegQuality = quality;
        TWriteStream out;
        ASSERT_NO_THROW(b.WriteToStream(out));
        TReadStream in(out.Data());
        TMemBitmap back;
        back.ReadFromStream(in);
        EXPECT_EQ(back.JpegQuality, used);
        EXPECT_EQ(back.Width, b.Width);
        EXPECT_EQ(b.JpegQuality, quality); // the loaded value itself is kept
    }
}
