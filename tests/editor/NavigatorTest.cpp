#include <gtest/gtest.h>

#include "editor/MouseTools.h"
#include "editor/Navigator.h"
#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "platform/Screen.h"
#include "support/TestPrinters.h"

namespace {

TPageEditor A4Editor(int zoomPosition) {
    TPageEditor e;
    TA4Printer a4;
    e.ResetPage(a4);
    e.SetZoomPosition(zoomPosition);
    return e;
}

TPoint CentreOf(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

} // namespace

TEST(Navigator, TheMarkFollowsTheFractionalMillimetresOfThePicturesCorner) {
    // A small label sheet, 20 x 30 mm: a navigator pixel is a third of a millimetre.
    TPageEditor e;
    e.PageWidthMm = e.Metrics.PhysicalWidthMm = 20;
    e.PageHeightMm = e.Metrics.PhysicalHeightMm = 30;
    e.LayOut();
    ASSERT_EQ(e.NavigatorPageRect, (TRect{26, 0, 93, 101}));
    e.SetZoomPosition(10);
    e.SetScroll(93, 0);
    // Pixel 0 shows 0.89 mm: 2.9 navigator pixels in, where whole millimetres would say 0.
    ASSERT_NEAR(ViewToMmXf(e, 0), 0.893, 0.001);
    EXPECT_EQ(NavigatorViewRect(e).Left, 28);
}

TEST(Navigator, DraggingTheMarkScrollsThePageByTheDistanceMoved) {
    TPageEditor e = A4Editor(20);
    TMemoryScreen screen;
    e.Mode = mdNewLine; // a tool in progress survives the drag
    const TRect before = NavigatorViewRect(e);
    const TPoint grip = CentreOf(before);

    NavigatorMouseDown(e, screen, TMouseButton::Left, grip.X, grip.Y);
    EXPECT_EQ(e.Mode, mdNavigatorDrag); // the page draws outlines while the mark moves
    EXPECT_EQ(screen.Current, crDrag);
    NavigatorMouseMove(e, grip.X + 10, grip.Y + 5);
    EXPECT_TRUE(e.RepaintRequested);
    // The mark went where the pointer took it.
    const TRect moved = NavigatorViewRect(e);
    EXPECT_NEAR(moved.Left - before.Left, 10, 1);
    EXPECT_NEAR(moved.Top - before.Top, 5, 1);
    // Far past the sheet's end the page stops at the end of its range; moving back from there
    // scrolls back at once.
    NavigatorMouseMove(e, grip.X + 200, grip.Y + 200);
    EXPECT_EQ(e.ScrollX, e.ScrollMaxX);
    EXPECT_EQ(e.ScrollY, e.ScrollMaxY);
    NavigatorMouseMove(e, grip.X + 190, grip.Y + 200);
    EXPECT_LT(e.ScrollX, e.ScrollMaxX);

    e.RepaintRequested = false;
    NavigatorMouseUp(e, screen);
    EXPECT_EQ(e.Mode, mdNewLine);
    EXPECT_EQ(screen.Current, crArrow);
    EXPECT_TRUE(e.RepaintRequested); // the full picture again
    const int32_t x = e.ScrollX;
    NavigatorMouseMove(e, 0, 0); // no longer dragging
    EXPECT_EQ(e.ScrollX, x);
}

TEST(Navigator, OnlyALeftPressOnTheMarkStartsADrag) {
    TPageEditor e = A4Editor(20);
    TMemoryScreen screen;
    const TRect mark = NavigatorViewRect(e);
    NavigatorMouseDown(e, screen, TMouseButton::Right, mark.Left + 2, mark.Top + 2);
    // Right and bottom edges are outside the mark.
    NavigatorMouseDown(e, screen, TMouseButton::Left, mark.Right, mark.Top + 2);
    NavigatorMouseDown(e, screen, TMouseButton::Left, mark.Left + 2, mark.Bottom);
    NavigatorMouseUp(e, screen);
    EXPECT_EQ(e.Mode, mdIdle);
    EXPECT_TRUE(screen.History.empty());
}
