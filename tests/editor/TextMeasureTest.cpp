#include <gtest/gtest.h>

#include "document/Caption.h"
#include "document/TextItem.h"
#include "editor/TextMeasure.h"
#include "platform/Printer.h"
#include "platform/RecordingCanvas.h"

namespace {

// Measures with the recording canvas: characters half the font height wide, lines as high.
class MeasuringPrinter : public TNoPrinter {
public:
    int Created = 0;
    std::unique_ptr<TCanvas> CreateMeasureCanvas() override {
        ++Created;
        return std::make_unique<TRecordingCanvas>();
    }
};

TPrinterMetrics QuarterMm() {
    TPrinterMetrics m;
    m.MmPerPixelX = 0.25f;
    m.MmPerPixelY = 0.25f;
    return m;
}

} // namespace

TEST(TextMeasure, CaptionExtentIsMeasuredInPrinterPixelsAndRoundedUpToWholeMm) {
    MeasuringPrinter printer;
    TNyomtatoSzoveg caption;
    caption.Text = "abc";
    caption.Rect = {10, 20, 0, 0};
    caption.Font.Height = -40; // 20 px per character
    MeasureCaption(caption, printer, QuarterMm());
    EXPECT_EQ(caption.Rect, (TRect{10, 20, 25, 30}));

    caption.Font.Height = -10; // 15 x 10 px = 3.75 x 2.5 mm
    MeasureCaption(caption, printer, QuarterMm());
    EXPECT_EQ(caption.Rect, (TRect{10, 20, 14, 23}));
    EXPECT_EQ(printer.Created, 2);
}

TEST(TextMeasure, TextExtentIsTheLongestLineByAllLines) {
    MeasuringPrinter printer;
    TNyomtatoSorok text;
    text.Text = "ab\r\nlonger";
    text.Rect = {-5, 7, 0, 0};
    text.Font.Height = -10; // 30 x 20 px
    MeasureText(text, printer, QuarterMm());
    EXPECT_EQ(text.Rect, (TRect{-5, 7, 3, 12}));
}

TEST(TextMeasure, WithoutAPrinterTheSizeIsEstimatedFromTheFontHeightInMm) {
    TNoPrinter none;
    TNyomtatoSzoveg caption;
    caption.Text = "abc";
    caption.Rect = {10, 20, 0, 0};
    caption.FontHeightMm = -4;
    MeasureCaption(caption, none, QuarterMm());
    EXPECT_EQ(caption.Rect, (TRect{10, 20, 16, 24}));
    caption.Text.clear();
    MeasureCaption(caption, none, TPrinterMetrics{});
    EXPECT_EQ(caption.Rect, (TRect{10, 20, 11, 24}));

    // A printer without a geometry cannot convert its pixels either.
    MeasuringPrinter printer;
    TNyomtatoSorok text;
    text.Text = "ab\r\nlonger";
    text.Rect = {0, 0, 0, 0};
    text.FontHeightMm = 5;
    MeasureText(text, printer, TPrinterMetrics{});
    EXPECT_EQ(text.Rect, (TRect{0, 0, 15, 10}));
    EXPECT_EQ(printer.Created, 0);
}

TEST(TextMeasure, FontHeightInMmBecomesPrinterPixelsEvenWithoutAPrinter) {
    EXPECT_EQ(FontHeightMmToPrinter(-5, QuarterMm()), -20);
    EXPECT_EQ(FontHeightMmToPrinter(3, QuarterMm()), 12);
    EXPECT_EQ(FontHeightMmToPrinter(-5, TPrinterMetrics{}), -118); // nominal 600 dpi
    EXPECT_EQ(FontHeightMmToPrinter(2147483647, QuarterMm()), 1 << 28);
}
