#include <gtest/gtest.h>

#include "editor/Navigator.h"
#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "platform/Printer.h"
#include "platform/RecordingCanvas.h"
#include "support/TestPrinters.h"

namespace {

TPageEditor A4Editor() {
    TPageEditor e;
    TA4Printer a4;
    e.ResetPage(a4);
    return e;
}

} // namespace

TEST(PageView, MillimetresMapToPicturePixelsAndBack) {
    TPageEditor e = A4Editor();
    const TRect& page = e.PageRect();
    EXPECT_DOUBLE_EQ(MmToViewX(e, 0), page.Left);
    EXPECT_DOUBLE_EQ(MmToViewX(e, e.PageWidthMm), page.Right);
    EXPECT_DOUBLE_EQ(MmToViewY(e, e.PageHeightMm), page.Bottom);
    for (int mm : {0, 10, 105, 200}) {
        // A pixel covers more than a millimetre at zoom 1: the way back lands within one.
        EXPECT_NEAR(ViewToMmX(e, static_cast<int>(MmToViewX(e, mm))), mm, 1);
    }
    e.SetZoomPosition(100);
    e.SetScroll(50, 40);
    EXPECT_DOUBLE_EQ(MmToViewX(e, 0), page.Left - 50);
    // At zoom 20 a millimetre is many pixels: the pixel after its start maps back to it.
    EXPECT_EQ(ViewToMmY(e, static_cast<int>(MmToViewY(e, 150)) + 1), 150);
}

TEST(PageView, TheSheetIsDrawnOverItsShadowWithTheDottedPrintableArea) {
    TPageEditor e = A4Editor();
    e.Settings.PageBorderVisible = true;
    e.Settings.PageBorderRect = {10, 10, 100, 100};
    e.Settings.PageBorderColor = clRed;
    TRecordingCanvas c;
    PaintSheet(c, e);

    const TRect& p = e.PageRect();
    const auto rects = c.CallsOf("Rectangle");
    ASSERT_EQ(rects.size(), 5u);
    EXPECT_EQ(rects[0].Describe(), "Rectangle(0,0,360,312)");
    EXPECT_EQ(rects[0].Brush.Color, clSilver);
    EXPECT_EQ(rects[1].Args,
              (std::vector<int32_t>{p.Left + 10, p.Top + 10, p.Right + 10, p.Bottom + 10}));
    EXPECT_EQ(rects[1].Brush.Color, 0x808080);
    EXPECT_EQ(rects[2].Args, (std::vector<int32_t>{p.Left, p.Top, p.Right, p.Bottom}));
    EXPECT_EQ(rects[2].Brush.Color, clWhite);
    EXPECT_EQ(rects[3].Pen.Style, TPenStyle::psDot);
    EXPECT_EQ(rects[3].Args[0], static_cast<int32_t>(MmToViewX(e, 4)));
    EXPECT_EQ(rects[3].Args[2], static_cast<int32_t>(MmToViewX(e, 206) + 1));
    EXPECT_EQ(rects[4].Pen.Color, clRed);
    EXPECT_EQ(rects[4].Brush.Style, TBrushStyle::bsClear);
}

TEST(PageView, AnEmptySheetDoesNotDivideByZero) {
    TPageEditor e; // no layout yet: PageRect and the page size are all zero
    EXPECT_EQ(MmToViewX(e, 100), 0.0);
    EXPECT_EQ(ViewToMmX(e, 100), 0);
    TRecordingCanvas c;
    PaintSheet(c, e);
    EXPECT_EQ(c.CallsOf("Rectangle").size(), 4u);
}

TEST(PageView, TheNavigatorMarksTheVisiblePartOfTheSheet) {
    TPageEditor e = A4Editor();
    // At zoom 1 the whole sheet is visible: the mark covers the navigator's sheet.
    const TRect whole = NavigatorViewRect(e);
    EXPECT_LE(whole.Left, e.NavigatorPageRect.Left);
    EXPECT_GE(whole.Right, e.NavigatorPageRect.Right - 1);

    e.SetZoomPosition(20); // zoom 4: about a quarter of the width shows
    const TRect part = NavigatorViewRect(e);
    // The picture's 360 pixels are this share of the zoomed sheet's width.
    const double share = 359.0 / e.PageRect().Width();
    EXPECT_NEAR(part.Right - part.Left, share * e.NavigatorPageRect.Width(), 2);
    EXPECT_LT(part.Right, e.NavigatorPageRect.Right);

    TRecordingCanvas c;
    PaintNavigator(c, e);
    const auto rects = c.CallsOf("Rectangle");
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[3].Brush.Style, TBrushStyle::bsDiagCross);
    EXPECT_EQ(rects[3].Pen.Color, clBlue);
}
