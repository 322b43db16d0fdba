#include <gtest/gtest.h>

#include "editor/PrinterMetrics.h"
#include "platform/Printer.h"
#include "support/TestPrinters.h"

TEST(PrinterMetrics, PortraitSheetGivesMarginsAndSizeInMillimetres) {
    const auto m = ComputePrinterMetrics(A4Caps(), TPrinterOrientation::poPortrait);
    EXPECT_FLOAT_EQ(m.MmPerPixelX, 202.0f / 4772.0f);
    EXPECT_EQ(m.LeftMarginMm, 4.0f);  // ceil(3.98)
    EXPECT_EQ(m.RightEdgeMm, 206.0f); // floor(202 + 4)
    EXPECT_EQ(m.TopMarginMm, 4.0f);
    EXPECT_EQ(m.BottomEdgeMm, 293.0f);
    EXPECT_NEAR(m.PhysicalWidthMm, 209.958, 0.001);
    EXPECT_NEAR(m.PhysicalHeightMm, 296.96, 0.01);
}

TEST(PrinterMetrics, LandscapePrinterReportingPortraitGeometryIsExchanged) {
    const auto portrait = ComputePrinterMetrics(A4Caps(), TPrinterOrientation::poPortrait);
    const auto m = ComputePrinterMetrics(A4Caps(), TPrinterOrientation::poLandscape);
    EXPECT_GT(m.PhysicalWidthMm, m.PhysicalHeightMm);
    EXPECT_EQ(m.PhysicalWidthPx, portrait.PhysicalHeightPx);
    EXPECT_EQ(m.RightEdgeMm, portrait.BottomEdgeMm);
    EXPECT_EQ(m.MmPerPixelY, portrait.MmPerPixelX);

    // A driver that already reports landscape geometry is left alone.
    auto caps = A4Caps();
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

    TA4Printer landscape;
    landscape.Orient = TPrinterOrientation::poLandscape;
    EXPECT_TRUE(ReadDefaultPrinter(landscape, m));
    EXPECT_GT(m.PhysicalWidthMm, m.PhysicalHeightMm);
}
