// The picture import: JPEG streams that do not start with JFIF, their Exif orientation, the
// refusals and their reasons, and the shrinking used when printing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"
#include "imaging/AreaAverage.h"
#include "imaging/Dib.h"
#include "imaging/ExifOrientation.h"
#include "imaging/MemBitmap.h"
#include "imaging/PictureImport.h"
#include "jpeg/JpegDecoder.h"
#include "jpeg/JpegEncoder.h"
#include "platform/BinaryStream.h"
#include "support/BmpFixtures.h"
#include "support/JpegSegments.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

// A 32 x 16 picture in four flat quadrants: red, green over blue, white. Flat areas survive
// JPEG coding, so each quadrant's centre tells where it went.
BitmapImage Quadrants() {
    BitmapImage p;
    p.SetSize(0, 24, 32, 16);
    for (uint32_t y = 0; y < 16; ++y) {
        for (uint32_t x = 0; x < 32; ++x) {
            const uint32_t c = y < 8 ? (x < 16 ? kRed : kGreen) : (x < 16 ? kBlue : kWhite);
            uint8_t* px = p.Row(y) + 3 * x;
            px[0] = uint8_t(c), px[1] = uint8_t(c >> 8), px[2] = uint8_t(c >> 16);
        }
    }
    return p;
}

Bytes JfifOf(const BitmapImage& p) {
    JpegEncoder e;
    e.SetQuality(95);
    return e.Encode(p);
}

// An APP1 Exif segment with IFD0 holding only the orientation, in either byte order.
Bytes ExifSegment(int orientation, bool bigEndian) {
    Bytes tiff = bigEndian ? Bytes{'M',  'M',  0, 42, 0, 0, 0, 8, 0, 1,
                                   0x01, 0x12, 0, 3,  0, 0, 0, 1, 0, uint8_t(orientation),
                                   0,    0,    0, 0,  0, 0}
                           : Bytes{'I',
                                   'I',
                                   42,
                                   0,
                                   8,
                                   0,
                                   0,
                                   0,
                                   1,
                                   0,
                                   0x12,
                                   0x01,
                                   3,
                                   0,
                                   1,
                                   0,
                                   0,
                                   0,
                                   uint8_t(orientation),
                                   0,
                                   0,
                                   0,
                                   0,
                                   0,
                                   0,
                                   0};
    Bytes s = {0xFF, 0xE1, 0, 0, 'E', 'x', 'i', 'f', 0, 0};
    s.insert(s.end(), tiff.begin(), tiff.end());
    const size_t length = s.size() - 2;
    s[2] = uint8_t(length >> 8), s[3] = uint8_t(length);
    return s;
}

bool Near(uint32_t a, uint32_t b) {
    for (int s : {0, 8, 16}) {
        if (std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > 24) return false;
    }
    return true;
}

// The colours at the centres of the four quadrants: top left, top right, bottom left, right.
std::array<uint32_t, 4> QuadrantColours(const TMemBitmap& b) {
    const TPixmap p = b.Pixels();
    const int32_t w = p.Width, h = p.Height;
    return {p.At(w / 4, h / 4), p.At(3 * w / 4, h / 4), p.At(w / 4, 3 * h / 4),
            p.At(3 * w / 4, 3 * h / 4)};
}

} // namespace

TEST(PictureImport, ExifStreamsAreTurnedUprightForEveryOrientation) {
    const Bytes jfif = JfifOf(Quadrants());
    // What a viewer shows for each orientation, quadrant by quadrant.
    const std::array<uint32_t, 4> shown[9] = {
        {},
        {kRed, kGreen, kBlue, kWhite},  // 1 as stored
        {kGreen, kRed, kWhite, kBlue},  // 2 mirrored left to right
        {kWhite, kBlue, kGreen, kRed},  // 3 half round
        {kBlue, kWhite, kRed, kGreen},  // 4 mirrored top to bottom
        {kRed, kBlue, kGreen, kWhite},  // 5 transposed
        {kBlue, kRed, kWhite, kGreen},  // 6 a quarter clockwise
        {kWhite, kGreen, kBlue, kRed},  // 7 transversed
        {kGreen, kWhite, kRed, kBlue}}; // 8 a quarter anticlockwise
    for (int o = 1; o <= 8; ++o) {
        for (bool bigEndian : {false, true}) {
            for (bool keepJfif : {false, true}) {
                SCOPED_TRACE(std::to_string(o) + (bigEndian ? " MM" : " II") +
                             (keepJfif ? " Exif then JFIF" : " no APP0"));
                const Bytes file =
                    Join({kSoi, ExifSegment(o, bigEndian), AfterSoi(jfif, !keepJfif)});
                TMemBitmap b;
                std::string why;
                ASSERT_TRUE(ImportPicture(file, b, why)) << why;
                EXPECT_TRUE(b.IsJpeg);
                EXPECT_EQ(b.Width, o >= 5 ? 16 : 32);
                EXPECT_EQ(b.Height, o >= 5 ? 32 : 16);
                const auto got = QuadrantColours(b);
                for (size_t q = 0; q < 4; ++q)
                    EXPECT_TRUE(Near(got[q], shown[o][q]))
                        << "quadrant " << q << std::hex << " " << got[q];
            }
        }
    }
}

// An Adobe segment with transform 0 says the three components are red, green and blue, and
// they are shown without colour conversion: the quadrants coded as YCbCr and labelled so show
// their samples as colours.
TEST(PictureImport, AdobeRgbStreamsAreShownWithoutColourConversion) {
    const BitmapImage q = Quadrants();
    const Bytes jfif = JfifOf(q);
    TMemBitmap asYCbCr, asRgb;
    std::string why;
    const Bytes adobe0 = {0xFF, 0xEE, 0, 14, 'A', 'd', 'o', 'b', 'e', 0, 100, 0, 0, 0, 0, 0};
    ASSERT_TRUE(ImportPicture(Join({kSoi, AfterSoi(jfif, true)}), asYCbCr, why)) << why;
    ASSERT_TRUE(ImportPicture(Join({kSoi, adobe0, AfterSoi(jfif, true)}), asRgb, why)) << why;
    // The red quadrant's samples are Y 76, Cb 85, Cr 255: shown as red 76, green 85, blue 255.
    EXPECT_TRUE(Near(QuadrantColours(asYCbCr)[0], kRed));
    EXPECT_TRUE(Near(QuadrantColours(asRgb)[0], 0xFF4C55FF))
        << std::hex << QuadrantColours(asRgb)[0];
}

TEST(PictureImport, OnlyTheImportSkipsTheJfifCheckAndWhatItStoresTheStrictDecoderReads) {
    const Bytes jfif = JfifOf(Quadrants());
    const Bytes adobe = {0xFF, 0xEE, 0, 14, 'A', 'd', 'o', 'b', 'e', 0, 100, 0, 0, 0, 0, 1};
    for (const Bytes& file :
         {Join({kSoi, ExifSegment(6, false), AfterSoi(jfif, true)}),
          Join({kSoi, adobe, AfterSoi(jfif, true)}), Join({kSoi, AfterSoi(jfif, true)})}) {
        // The decoder's default mode and the file path of the image object still refuse it.
        BitmapImage strict;
        JpegDecoder decoder;
        EXPECT_THROW(decoder.Decode(file.data(), file.size(), strict), EJpegBadData);
        TMemBitmap loaded;
        loaded.LoadFromJpegFileData(file);
        EXPECT_FALSE(loaded.HasImage);

        TMemBitmap b;
        std::string why;
        ASSERT_TRUE(ImportPicture(file, b, why)) << why;
        // Stored, it is a JFIF stream again, which a document reader takes.
        TWriteStream out;
        b.WriteToStream(out);
        const Bytes& stored = out.Data();
        ASSERT_GT(stored.size(), 20u);
        EXPECT_EQ(stored[0], 1); // IsJpeg
        EXPECT_EQ(Bytes(stored.begin() + 10, stored.begin() + 14), (Bytes{0xFF, 0xD8, 0xFF, 0xE0}));
        TReadStream in(stored);
        TMemBitmap back;
        ASSERT_NO_THROW(back.ReadFromStream(in));
        EXPECT_EQ(back.Width, b.Width);
        EXPECT_EQ(back.Height, b.Height);
    }
}

TEST(PictureImport, BitmapsAndJfifFilesComeInAsTheImageObjectLoadsThem) {
    const Bytes bmp = MakeBmp({5, 3, 8});
    TMemBitmap viaFile, imported;
    viaFile.LoadFromBitmapFileData(bmp);
    std::string why;
    ASSERT_TRUE(ImportPicture(bmp, imported, why)) << why;
    EXPECT_EQ(imported.DibBlock, viaFile.DibBlock);
    EXPECT_FALSE(imported.IsJpeg);

    const Bytes jfif = JfifOf(Quadrants());
    viaFile.LoadFromJpegFileData(jfif);
    ASSERT_TRUE(ImportPicture(jfif, imported, why)) << why;
    EXPECT_EQ(imported.DibBlock, viaFile.DibBlock);
    EXPECT_TRUE(imported.IsJpeg);
}

TEST(PictureImport, TheStatedResolutionOfBitmapsAndJfifFilesIsReported) {
    TMemBitmap b;
    std::string why;
    TImportedPicture about;
    ASSERT_TRUE(ImportPicture(MakeBmp({5, 3, 8}), b, why, nullptr, &about)) << why;
    EXPECT_EQ(about.Kind, "bitmap");
    EXPECT_NEAR(about.DotsPerInchX, 72.0, 0.01); // 2835 pixels per metre
    EXPECT_NEAR(about.DotsPerInchY, 72.0, 0.01);

    // The JFIF density: units 0 (an aspect ratio only), 1 (per inch), 2 (per cm); a density
    // of 1 dot per inch is no usable resolution.
    const Bytes jfif = JfifOf(Quadrants());
    const struct {
        uint8_t Units;
        uint16_t X, Y;
        double DpiX, DpiY;
    } rows[] = {
        {0, 1, 1, 0, 0}, {1, 300, 150, 300, 150}, {2, 118, 118, 299.72, 299.72}, {1, 1, 1, 0, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.Units));
        Bytes file = jfif;
        file[13] = row.Units;
        file[14] = uint8_t(row.X >> 8), file[15] = uint8_t(row.X);
        file[16] = uint8_t(row.Y >> 8), file[17] = uint8_t(row.Y);
        ASSERT_TRUE(ImportPicture(file, b, why, nullptr, &about)) << why;
        EXPECT_EQ(about.Kind, "JPEG");
        EXPECT_NEAR(about.DotsPerInchX, row.DpiX, 1e-9);
        EXPECT_NEAR(about.DotsPerInchY, row.DpiY, 1e-9);
    }
    // A refusal reports nothing.
    EXPECT_FALSE(ImportPicture(Bytes(jfif.begin(), jfif.begin() + 40), b, why, nullptr, &about));
    EXPECT_EQ(about.Kind, "");
    EXPECT_EQ(about.DotsPerInchX, 0);
}

TEST(PictureImport, RefusalsSayWhyAndLeaveNoPicture) {
    const Bytes jfif = JfifOf(Quadrants());
    Bytes huge = jfif; // the frame header claims 65535 x 65535 pixels
    for (size_t i = 0; i + 9 < huge.size(); ++i) {
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            std::fill(huge.begin() + ptrdiff_t(i) + 5, huge.begin() + ptrdiff_t(i) + 9, 0xFF);
            break;
        }
    }
    const std::pair<Bytes, std::string> refused[] = {
        {Bytes(jfif.begin(), jfif.begin() + ptrdiff_t(jfif.size() / 2)),
         "the file ends inside the picture data"},
        {huge, "the picture has more than 134 megapixels"},
        {Bytes{0x89, 'P', 'N', 'G'}, "not a Windows bitmap or JPEG file"},
        {Bytes{}, "not a Windows bitmap or JPEG file"},
        {MakeBmp({3, 2, 16}), "16 bits per pixel are not supported (only 4, 8 and 24)"},
        // An Adobe YCCK frame of four components.
        {Join(
             {kSoi,
              {0xFF, 0xEE, 0, 14, 'A', 'd', 'o', 'b', 'e', 0, 100, 0, 0, 0, 0, 2},
              {0xFF, 0xC0, 0, 20, 8, 0, 8, 0, 8, 4, 1, 0x11, 0, 2, 0x11, 0, 3, 0x11, 0, 4, 0x11, 0},
              {0xFF, 0xD9}}),
         "CMYK JPEG is not supported"},
    };
    for (const auto& [file, reason] : refused) {
        SCOPED_TRACE(reason);
        TMemBitmap b;
        b.LoadFromBitmapFileData(MakeBmp({})); // a picture first: a refusal drops it
        std::string why;
        EXPECT_FALSE(ImportPicture(file, b, why));
        EXPECT_EQ(why, reason);
        EXPECT_FALSE(b.HasImage);
        EXPECT_FALSE(b.CanDraw());
    }
    TMemBitmap b;
    std::string why;
    EXPECT_FALSE(ImportPictureFile("/nonexistent/photo.jpg", b, why));
    EXPECT_THAT(why, ::testing::HasSubstr("No such file"));
}

TEST(ExifOrientation, DamagedOrMissingTagsMeanUpright) {
    const Bytes tail = AfterSoi(JfifOf(Quadrants()), true);
    EXPECT_EQ(ExifOrientation(Join({kSoi, ExifSegment(8, true), tail})), 8);
    EXPECT_EQ(ExifOrientation(Join({kSoi, ExifSegment(9, true), tail})), 1);
    EXPECT_EQ(ExifOrientation(Join({kSoi, ExifSegment(0, false), tail})), 1);
    // An IFD offset far past the segment, and a segment longer than the file.
    Bytes far = ExifSegment(6, false);
    far[10 + 4] = 0xF0;
    EXPECT_EQ(ExifOrientation(Join({kSoi, far, tail})), 1);
    Bytes cut = Join({kSoi, ExifSegment(6, false)});
    cut.resize(cut.size() - 8);
    EXPECT_EQ(ExifOrientation(cut), 1);
    EXPECT_EQ(ExifOrientation(Bytes{0xFF, 0xD8}), 1);
    // An Exif segment after the frame header is not the picture's.
    EXPECT_EQ(ExifOrientation(Join({kSoi, tail, ExifSegment(6, false)})), 1);
}

namespace {

// Every pixel different: its bytes hold its column and row.
BitmapImage Labelled(uint32_t w, uint32_t h, uint32_t bits) {
    BitmapImage p;
    p.SetSize(bits == 8 ? 256 : 0, bits, w, h);
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            if (bits == 8) {
                p.Row(y)[x] = uint8_t(x * 7 + y * 13);
            } else {
                uint8_t* px = p.Row(y) + 3 * x;
                px[0] = uint8_t(x), px[1] = uint8_t(y), px[2] = uint8_t((x >> 8) | (y >> 8) << 4);
            }
        }
    }
    return p;
}

bool SamePixels(const BitmapImage& a, const BitmapImage& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.BitCount() != b.BitCount())
        return false;
    const size_t rowBytes = size_t(a.Width()) * a.BitCount() / 8;
    for (uint32_t y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.Row(y), b.Row(y), rowBytes) != 0) return false;
    return true;
}

} // namespace

// The turned pictures are made in tiles; sizes that are not multiples of a tile, single rows
// and columns must come out whole. Mirroring (2) and transposing (5) are checked pixel by
// pixel, the other six as what they are made of.
TEST(ExifOrientation, EveryOrientationIsExactAtEverySize) {
    for (uint32_t bits : {24u, 8u}) {
        for (const auto& [w, h] : {std::pair{1u, 1u},
                                   {1u, 70u},
                                   {70u, 1u},
                                   {65u, 129u},
                                   {131u, 67u},
                                   {64u, 64u},
                                   {200u, 3u}}) {
            SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h) + " at " +
                         std::to_string(bits));
            const BitmapImage p = Labelled(w, h, bits);
            const size_t px = bits / 8;
            const BitmapImage mirrored = Oriented(p, 2), transposed = Oriented(p, 5);
            ASSERT_EQ(transposed.Width(), h);
            ASSERT_EQ(transposed.Height(), w);
            bool exact = true;
            for (uint32_t y = 0; y < h; ++y) {
                for (uint32_t x = 0; x < w; ++x) {
                    const uint8_t* at = p.Row(y) + px * x;
                    exact = exact && std::memcmp(mirrored.Row(y) + px * (w - 1 - x), at, px) == 0 &&
                            std::memcmp(transposed.Row(x) + px * y, at, px) == 0;
                }
            }
            EXPECT_TRUE(exact);
            const BitmapImage clockwise = Oriented(p, 6);
            EXPECT_TRUE(SamePixels(clockwise, Oriented(transposed, 2)));
            EXPECT_TRUE(SamePixels(Oriented(p, 3), Oriented(clockwise, 6)));
            EXPECT_TRUE(SamePixels(Oriented(p, 8), Oriented(Oriented(p, 3), 6)));
            EXPECT_TRUE(SamePixels(Oriented(p, 4), Oriented(Oriented(p, 3), 2)));
            EXPECT_TRUE(SamePixels(Oriented(p, 7), Oriented(transposed, 3)));
            EXPECT_TRUE(SamePixels(Oriented(Oriented(p, 8), 6), p));
            EXPECT_EQ(Oriented(p, 6).ColorCount(), p.ColorCount());
            // The import turns the picture as it makes the block.
            for (int o = 1; o <= 8; ++o)
                EXPECT_EQ(TMemBitmap::BlockFromCodecPicture(p, o),
                          TMemBitmap::BlockFromCodecPicture(Oriented(p, o)))
                    << "orientation " << o;
        }
    }
}

TEST(AreaAverage, EachTargetPixelIsTheMeanOfTheAreaItCovers) {
    // A one-pixel checkerboard halved: nearest-pixel picking gives all black or all white,
    // averaging gives the grey between.
    TPixmap board{8, 6, {}};
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 8; ++x) board.Pixels.push_back((x + y) % 2 ? kWhite : 0xFF000000);
    const TPixmap half = AreaAverage(TPixmapRows(board), 4, 3);
    ASSERT_EQ(half.Width, 4);
    ASSERT_EQ(half.Height, 3);
    for (uint32_t p : half.Pixels) EXPECT_EQ(p, 0xFF808080u);

    // Uneven boxes: 3 columns into 2 gives boxes of 1 and 2 columns.
    const TPixmap row{3, 1, {0xFF000000, 0xFF0000FF, 0xFF0000FB}};
    EXPECT_EQ(AreaAverage(TPixmapRows(row), 2, 1).Pixels,
              (std::vector<uint32_t>{0xFF000000, 0xFF0000FD}));
    // Never enlarged; nothing for an empty target.
    EXPECT_EQ(AreaAverage(TPixmapRows(row), 9, 4).Width, 3);
    EXPECT_TRUE(AreaAverage(TPixmapRows(row), 0, 1).Empty());
}

TEST(AreaAverage, ABigPictureShrinksTheSameFromPackedRowsAndDevicePixels) {
    // Over 4 megapixels, so two threads share the rows; uneven boxes both ways.
    constexpr int32_t w = 2053, h = 2047, tw = 613, th = 411;
    BitmapImage p;
    p.SetSize(0, 24, w, h);
    uint32_t seed = 12345;
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* row = p.Row(uint32_t(y));
        for (int32_t i = 0; i < 3 * w; ++i) {
            seed = seed * 1664525u + 1013904223u;
            row[i] = uint8_t(seed >> 24);
        }
    }
    const std::vector<uint8_t> block = TMemBitmap::BlockFromCodecPicture(p);
    std::string why;
    const auto layout = CheckDib(block, why);
    ASSERT_TRUE(layout) << why;
    const TPixmap pixels = DibToPixmap(block, *layout);
    const TPixmap packed = AreaAverage(TDibRows(block, *layout), tw, th);
    const TPixmap device = AreaAverage(TPixmapRows(pixels), tw, th);
    ASSERT_EQ(packed.Width, tw);
    ASSERT_EQ(packed.Height, th);
    EXPECT_TRUE(packed.Pixels == device.Pixels);

    // Each target pixel is the rounded mean of its box (checked on a sample of rows).
    for (int32_t t = 0; t < th; t += 37) {
        const int32_t y0 = int32_t(int64_t{t} * h / th), y1 = int32_t(int64_t{t + 1} * h / th);
        for (int32_t c = 0; c < tw; c += 7) {
            const int32_t x0 = int32_t(int64_t{c} * w / tw), x1 = int32_t(int64_t{c + 1} * w / tw);
            uint64_t sum[3] = {};
            for (int32_t y = y0; y < y1; ++y)
                for (int32_t x = x0; x < x1; ++x)
                    for (int k = 0; k < 3; ++k) sum[k] += pixels.At(x, y) >> (8 * k) & 0xFF;
            const uint64_t n = uint64_t(y1 - y0) * uint64_t(x1 - x0);
            uint32_t want = 0xFF000000u;
            for (int k = 0; k < 3; ++k) want |= uint32_t((sum[k] + n / 2) / n) << (8 * k);
            ASSERT_EQ(packed.At(c, t), want) << c << ", " << t;
        }
    }
}
