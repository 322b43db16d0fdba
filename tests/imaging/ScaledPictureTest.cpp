#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "imaging/MemBitmap.h"
#include "platform/RecordingCanvas.h"
#include "support/BmpFixtures.h"

namespace {

// Records the pixels it was handed, as a screen canvas would copy them.
class TCopyingCanvas : public TRecordingCanvas {
public:
    std::vector<TPixmap> Drawn;
    void StretchDraw(int32_t x, int32_t y, int32_t w, int32_t h, const TPixmap& picture) override {
        Drawn.push_back(picture);
        TRecordingCanvas::StretchDraw(x, y, w, h, picture);
    }
};

constexpr TRect kPicture{0, 0, 360, 312};
constexpr uint32_t kLeft = 0xFFFF0000, kRight = 0xFF0000FF;

TMemBitmap TwoPixels() {
    TMemBitmap b;
    b.DeviceBitmap = TPixmap{2, 1, {kLeft, kRight}};
    return b;
}

} // namespace

TEST(ScaledPicture, OnlyTheVisiblePartIsScaledAndItIsDrawnPixelForPixel) {
    TMemBitmap b = TwoPixels();
    TCopyingCanvas c;
    // Stretched to 8 x 4 from 3 pixels left of the picture: columns 3..7 show. Column 3 of
    // eight is still the left source pixel, 4 onwards the right one.
    b.StretchDrawVisible(c, -3, 10, 8, 4, kPicture);
    EXPECT_THAT(c.Log(), ::testing::ElementsAre("StretchDraw(0,10,5,4)"));
    const TPixmap& part = c.Drawn.at(0);
    ASSERT_EQ(part.Pixels.size(), 5u * 4u);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(part.At(x, y), x == 0 ? kLeft : kRight);
    }
    // A picture stretched far beyond the view costs the view's pixels only.
    b.StretchDrawVisible(c, -5000, -7000, 20000, 30000, kPicture);
    EXPECT_EQ(c.Calls.back().Describe(), "StretchDraw(0,0,360,312)");
    // Off the picture, with no size or without a picture nothing is drawn.
    const size_t drawn = c.Calls.size();
    b.StretchDrawVisible(c, 360, 0, 10, 10, kPicture);
    b.StretchDrawVisible(c, 0, 0, -5, 10, kPicture);
    TMemBitmap none;
    none.LoadFromBitmapFileData(std::vector<uint8_t>{1, 2, 3});
    none.StretchDrawVisible(c, 0, 0, 10, 10, kPicture);
    EXPECT_EQ(c.Calls.size(), drawn);
}

TEST(ScaledPicture, RepaintingTheSameViewReusesTheScaledPixels) {
    TMemBitmap b = TwoPixels();
    TRecordingCanvas c;
    b.StretchDrawVisible(c, 10, 10, 50, 40, kPicture);
    b.StretchDrawVisible(c, 10, 10, 50, 40, kPicture);
    EXPECT_EQ(b.ViewCopy.Scalings(), 1);
    b.StretchDrawVisible(c, 10, 10, 60, 40, kPicture); // zoomed: a new size
    EXPECT_EQ(b.ViewCopy.Scalings(), 2);
    b.StretchDrawVisible(c, 340, 10, 60, 40, kPicture); // scrolled: another part shows
    b.StretchDrawVisible(c, 340, 10, 60, 40, kPicture);
    EXPECT_EQ(b.ViewCopy.Scalings(), 3);
    EXPECT_EQ(c.CallsOf("StretchDraw").size(), 5u);
}

TEST(ScaledPicture, ANewPictureOfTheSameSizeIsScaledAfresh) {
    const TBmpShape first{2, 1, 24}, second{2, 1, 8};
    ASSERT_NE(FixturePixel(first, 0, 0), FixturePixel(second, 0, 0));
    TCopyingCanvas c;
    TMemBitmap b;
    b.LoadFromBitmapFileData(MakeBmp(first));
    b.StretchDrawVisible(c, 0, 0, 4, 2, kPicture);
    b.LoadFromBitmapFileData(MakeBmp(second));
    b.StretchDrawVisible(c, 0, 0, 4, 2, kPicture);
    // Read from a document in place of the old one.
    TMemBitmap stored;
    stored.LoadFromBitmapFileData(MakeBmp(first));
    TWriteStream out;
    stored.WriteToStream(out);
    const std::vector<uint8_t> bytes = out.Take();
    TReadStream in(bytes);
    b.ReadFromStream(in);
    b.StretchDrawVisible(c, 0, 0, 4, 2, kPicture);

    ASSERT_EQ(c.Drawn.size(), 3u);
    EXPECT_EQ(c.Drawn[0].At(0, 0), FixturePixel(first, 0, 0));
    EXPECT_EQ(c.Drawn[1].At(0, 0), FixturePixel(second, 0, 0));
    EXPECT_EQ(c.Drawn[2].At(0, 0), FixturePixel(first, 0, 0));
}
