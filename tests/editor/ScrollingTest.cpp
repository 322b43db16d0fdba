#include <gtest/gtest.h>

#include "editor/PageEditor.h"
#include "editor/Scrolling.h"
#include "support/TestPrinters.h"

namespace {

TPageEditor A4Editor(int zoomPosition) {
    TPageEditor e;
    TA4Printer a4;
    e.ResetPage(a4);
    e.SetZoomPosition(zoomPosition);
    return e;
}

} // namespace

TEST(Scrolling, TheWheelScrollsDownWithShiftAcrossAndStopsAtTheEnds) {
    TPageEditor e = A4Editor(20);
    e.SetScroll(100, 100);

    WheelOnPage(e, 0, -kWheelNotch, false, false); // towards the user: down the sheet
    EXPECT_EQ(e.ScrollY, 100 + kWheelScrollPixels);
    EXPECT_EQ(e.ScrollX, 100);
    EXPECT_TRUE(e.RepaintRequested);
    WheelOnPage(e, 0, kWheelNotch, true, false); // Shift: across, forward is to the left
    EXPECT_EQ(e.ScrollX, 100 - kWheelScrollPixels);
    WheelOnPage(e, -kWheelNotch, 0, false, false); // a sideways wheel
    EXPECT_EQ(e.ScrollX, 100);
    WheelOnPage(e, 0, kWheelNotch / 4, false, false); // fine-grained wheels scroll a little
    EXPECT_EQ(e.ScrollY, 100 + kWheelScrollPixels - kWheelScrollPixels / 4);

    WheelOnPage(e, 0, 100 * kWheelNotch, false, false);
    EXPECT_EQ(e.ScrollY, 0);
    WheelOnPage(e, 0, -100 * kWheelNotch, false, false);
    EXPECT_EQ(e.ScrollY, e.ScrollMaxY);
    // Nothing moves at the end: no repaint.
    e.RepaintRequested = false;
    WheelOnPage(e, 0, -kWheelNotch, false, false);
    EXPECT_FALSE(e.RepaintRequested);
}

TEST(Scrolling, CtrlWheelMovesTheZoomBarOneStepPerNotch) {
    TPageEditor e = A4Editor(TPageEditor::ZoomMin);
    WheelOnPage(e, 0, kWheelNotch, false, true);
    EXPECT_EQ(e.ZoomPosition, 6);
    EXPECT_DOUBLE_EQ(e.Zoom, 1.2);
    EXPECT_TRUE(e.RepaintRequested);
    EXPECT_GT(e.ScrollMaxY, 0); // the taller sheet opened the scroll range

    // Half notches add up; turning back forgets the half turned forward.
    WheelOnPage(e, 0, kWheelNotch / 2, false, true);
    EXPECT_EQ(e.ZoomPosition, 6);
    WheelOnPage(e, 0, kWheelNotch / 2, false, true);
    EXPECT_EQ(e.ZoomPosition, 7);
    WheelOnPage(e, 0, kWheelNotch / 2, false, true);
    WheelOnPage(e, 0, -kWheelNotch, false, true);
    EXPECT_EQ(e.ZoomPosition, 6);

    WheelOnPage(e, 0, -10 * kWheelNotch, false, true);
    EXPECT_EQ(e.ZoomPosition, TPageEditor::ZoomMin);
    e.RepaintRequested = false;
    WheelOnPage(e, 0, -kWheelNotch, false, true); // already at the bar's end
    EXPECT_FALSE(e.RepaintRequested);
    EXPECT_EQ(e.ZoomPosition, TPageEditor::ZoomMin);
}

TEST(Scrolling, TheWheelDoesNothingWhileAToolOrDragIsInProgress) {
    TPageEditor e = A4Editor(20);
    e.SetScroll(50, 50);
    for (int32_t mode : {mdDeleteTool, mdDragCaption, mdNewLine, mdScrollTrack}) {
        e.Mode = mode;
        WheelOnPage(e, 0, kWheelNotch, false, false);
        WheelOnPage(e, 0, kWheelNotch, false, true);
    }
    EXPECT_EQ(e.ScrollY, 50);
    EXPECT_EQ(e.ZoomPosition, 20);
    EXPECT_FALSE(e.RepaintRequested);
}

TEST(Scrolling, DraggingAThumbDrawsOutlinesAndGivesTheToolBackAfterwards) {
    TPageEditor e;
    e.Mode = mdNewPolygon;
    BeginScrollTrack(e);
    EXPECT_EQ(e.Mode, mdScrollTrack);
    BeginScrollTrack(e); // the thumb of another bar: still the same interruption
    EXPECT_FALSE(e.RepaintRequested);
    EndScrollTrack(e);
    EXPECT_EQ(e.Mode, mdNewPolygon);
    EXPECT_TRUE(e.RepaintRequested);

    // Ending without a thumb drag changes nothing.
    e.RepaintRequested = false;
    EndScrollTrack(e);
    EXPECT_EQ(e.Mode, mdNewPolygon);
    EXPECT_FALSE(e.RepaintRequested);

    e.Mode = mdHoverBottom;
    BeginScrollTrack(e);
    EndScrollTrack(e);
    EXPECT_EQ(e.Mode, mdIdle);
}

TEST(Scrolling, AScrollBarsLargeStepIsATenthOfItsRange) {
    EXPECT_EQ(ScrollLargeChange(604), 60);
    EXPECT_EQ(ScrollLargeChange(9), 1); // a bar always steps
    EXPECT_EQ(ScrollLargeChange(0), 1);
}
