// Streams whose colour space an Adobe APP14 segment gives, read without the JFIF requirement
// (the picture import): transform 0 keeps three components as red, green and blue, transform 1
// is YCbCr, a JFIF APP0 segment means YCbCr whatever APP14 says, and four components are
// refused as CMYK. The strict mode reads and refuses exactly as before.
#include <gtest/gtest.h>

#include <cstdlib>

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"
#include "jpeg/JpegColor.h"
#include "jpeg/JpegDecoder.h"
#include "jpeg/JpegEncoder.h"
#include "jpeg/JpegTestFiles.h"
#include "support/JpegSegments.h"

namespace {

Bytes Adobe(uint8_t transform) {
    return {0xFF, 0xEE, 0, 14, 'A', 'd', 'o', 'b', 'e', 0, 100, 0, 0, 0, 0, transform};
}

bool SamePixels(const BitmapImage& a, const BitmapImage& b) {
    return a.ImageDataSize() == b.ImageDataSize() &&
           std::equal(a.ImageData(), a.ImageData() + a.ImageDataSize(), b.ImageData());
}

} // namespace

TEST(JpegAdobe, RgbFilesFromCjpegDecodeLikeDjpegAndTheStrictModeStillRefusesThem) {
    const std::string missing = MissingJpegTools();
    if (!missing.empty()) GTEST_SKIP() << "not on PATH: " << missing;
    for (const char* options :
         {"-rgb -quality 95", "-rgb -sample 2x1,1x1,1x1 -progressive", "-rgb -restart 2B"}) {
        SCOPED_TRACE(options);
        const Bytes data = MakeJpeg("adobe_rgb", options, 131, 67, false);
        ASSERT_EQ(data[3], 0xEE); // cjpeg writes APP14 in place of APP0
        const DecodeOutcome ours = DecodeForImport(data);
        ASSERT_EQ(ours.Message, "ok");
        EXPECT_GE(Psnr(ours.Picture, DjpegDecode("adobe_rgb", data)), 50.0);
        EXPECT_EQ(DecodeFast(data).Message, "Hiányzó JFIF APPO jelzés");
    }
}

TEST(JpegAdobe, TheTransformFlagDecidesAndJfifWinsOverIt) {
    // A flat colour at quality 100 keeps its samples: Y, Cb, Cr of the colour.
    BitmapImage flat;
    flat.SetSize(0, 24, 16, 16);
    const uint8_t bgr[3] = {40, 200, 90};
    for (uint32_t y = 0; y < 16; ++y)
        for (uint32_t x = 0; x < 16; ++x) std::copy(bgr, bgr + 3, flat.Row(y) + 3 * x);
    JpegEncoder encoder;
    encoder.SetQuality(100);
    const Bytes jfif = encoder.Encode(flat);
    uint8_t lum = 0, cb = 0, cr = 0;
    BgrRowToYCbCr(bgr, &lum, &cb, &cr, 1);
    const DecodeOutcome strict = DecodeFast(jfif);
    ASSERT_EQ(strict.Message, "ok");

    // Transform 0: the samples as red, green, blue.
    const DecodeOutcome rgb = DecodeForImport(Join({kSoi, Adobe(0), AfterSoi(jfif, true)}));
    ASSERT_EQ(rgb.Message, "ok");
    const uint8_t* p = rgb.Picture.Row(5) + 3 * 7;
    EXPECT_LE(std::abs(p[2] - lum), 1);
    EXPECT_LE(std::abs(p[1] - cb), 1);
    EXPECT_LE(std::abs(p[0] - cr), 1);

    // YCbCr, as the JFIF stream decodes: transform 1, a damaged or short APP14, no APP14 at
    // all, and a JFIF APP0 segment before or after an APP14 that says 0.
    const Bytes shortAdobe = {0xFF, 0xEE, 0, 8, 'A', 'd', 'o', 'b', 'e', 0};
    Bytes otherId = Adobe(0);
    otherId[5] = 'x';
    const Bytes app0(jfif.begin() + 2, jfif.begin() + 4 + (jfif[4] << 8 | jfif[5]));
    for (const Bytes& stream :
         {Join({kSoi, Adobe(1), AfterSoi(jfif, true)}),
          Join({kSoi, shortAdobe, AfterSoi(jfif, true)}),
          Join({kSoi, otherId, AfterSoi(jfif, true)}), Join({kSoi, AfterSoi(jfif, true)}),
          Join({kSoi, Adobe(0), AfterSoi(jfif, false)}),
          Join({kSoi, app0, Adobe(0), AfterSoi(jfif, true)})}) {
        const DecodeOutcome o = DecodeForImport(stream);
        ASSERT_EQ(o.Message, "ok");
        EXPECT_TRUE(SamePixels(o.Picture, strict.Picture));
    }
    // The strict mode reads a JFIF file with an APP14 that says 0 as YCbCr, as always.
    const Bytes jfifThenAdobe = Join({kSoi, app0, Adobe(0), AfterSoi(jfif, true)});
    const DecodeOutcome strictWithAdobe = DecodeFast(jfifThenAdobe);
    ASSERT_EQ(strictWithAdobe.Message, "ok");
    EXPECT_TRUE(SamePixels(strictWithAdobe.Picture, strict.Picture));
    // A segment that ends inside the file's end is still the end of the data.
    EXPECT_EQ(DecodeForImport(Join({kSoi, Bytes{0xFF, 0xEE, 0, 14, 'A', 'd'}})).Message,
              "Idő előtti fájlvég");
}

TEST(JpegAdobe, FourComponentsAreRefusedAsCmykOnlyWithoutTheJfifRequirement) {
    // An Adobe YCCK frame header of four components, 8 x 8.
    const Bytes sof = {0xFF, 0xC0, 0, 20,   8, 0, 8,    0, 8, 4,    1,
                       0x11, 0,    2, 0x11, 0, 3, 0x11, 0, 4, 0x11, 0};
    EXPECT_EQ(DecodeForImport(Join({kSoi, Adobe(2), sof, {0xFF, 0xD9}})).Message,
              "A CMYK JPEG nem támogatott");
    const Bytes app0 = {0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    EXPECT_EQ(DecodeFast(Join({kSoi, app0, sof, {0xFF, 0xD9}})).Message,
              "A JFIF csak 1 és 3 összetevőt támogat");
}
