#include <gtest/gtest.h>

#include "editor/PrinterMetrics.h"
#include "platform/Printer.h"

namespace {

// An A4 sheet at 600 dpi with 4 mm unprintable margins, as a portrait driver reports it.
TPrinterDeviceCaps A4Portrait() {
    TPrinterDeviceCaps c;
    c.PhysicalWidth = 4960;
    c.PhysicalHeight = 7016;
    c.PhysicalOffsetX = 94;
    c.PhysicalOffsetY = 94;
    c.HorzRes = 4772;
    c.VertRes = 6828;
    c.HorzSize = 202;
    c.VertSize = 289;
    return c;
}

class FixedPrinter : public TNoPrinter {
public:
    bool DefaultEntry(TPrinterEntry& e) override {
        e = {"Office", "driver", "port"};
        return true;
    }
    TPrinterDeviceCaps DeviceCaps() override { return A4Portrait(); }
    TPrinterOrientation Orientation() override { return Orient; }
    TPrinterOrientation Orient = TPrinterOrientation::poPortrait;
};

} // namespace

TEST(PrinterMetrics, PortraitSheetGivesMarginsAndSizeInMillimetres) {
    const auto m = ComputePrinterMetrics(A4Portrait(), TPrinterOrientation::poPortrait);
    EXPECT_FLOAT_EQ(m.MmPerPixelX, 202.0f / 4772.0f);
    EXPECT_EQ(m.LeftMarginMm, 4.0f);  // ceil(3.98)
    EXPECT_EQ(m.RightEdgeMm, 206.0f); // floor(202 + 4)
    EXPECT_EQ(m.TopMarginMm, 4.0f);
    EXPECT_EQ(m.BottomEdgeMm, 293.0f);
    EXPECT_NEAR(m.PhysicalWidthMm, 209.958, 0.001);
    EXPECT_NEAR(m.PhysicalHeightMm, 296.96, 0.01);
}

TEST(PrinterMetrics, LandscapePrinterReportingPortraitGeometryIsExchanged) {
    const auto portrait = ComputePrinterMetrics(A4Portrait(), TPrinterOrientation::poPortrait);
    const auto m = ComputePrinterMetrics(A4Portrait(), TPrinterOrientation::poLandscape);
    EXPECT_GT(m.PhysicalWidthMm, m.PhysicalHeightMm);
    EXPECT_EQ(m.PhysicalWidthPx, portrait.PhysicalHeightPx);
    EXPECT_EQ(m.RightEdgeMm, portrait.BottomEdgeMm);
    EXPECT_EQ(m.MmPerPixelY, portrait.MmPerPixelX);

    // A driver that already reports landscape geometry is left alone.
    auto caps = A4Portrait();
    std::swap(caps.HorzRes, caps.VertRes);
    EXPECT_EQ(ComputePrinterMetrics(caps, TPrinterOrientation::poLandscape).HorzResPx, 6828.0f);
}

TEST(PrinterMetrics, ZeroResolutionDoesNotDivideByZero) {
    const auto m = ComputePrinterMetrics({}, TPrinterOrientation::poPortrait);
    EXPECT_EQ(m, TPrinterMetrics{});
}

TEST(PrinterMetrics, NoDefaultPrinterLeavesMetricsUnchanged) {
    TNoPrinter none;
    TPrinterMetrics m;
    m.LeftMarginMm = 7;
    EXPECT_FALSE(ReadDefaultPrinter(none, m));
    EXPECT_EQ(m.LeftMarginMm, 7.0f);

    FixedPrinter landscape;
    landscape.Orient = TPrinterOrientation::poLandscape;
    EXPECT_TRUE(ReadDefaultPrinter(landscape, m));
    EXPECT_GT(m.PhysicalWidthMm, m.PhysicalHeightMm);
}
