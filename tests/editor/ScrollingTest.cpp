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

constexpr int32_t kNotch = kWheelNotch, kStep = kWheelScrollPixels;

} // namespace

TEST(Scrolling, TheWheelScrollsDownWithShiftAcrossAndStopsAtTheEnds) {
    TPageEditor e = A4Editor(20);
    e.SetScroll(100, 100);
    WheelOnPage(e, 0, -kNotch, false, false); // towards the user: down the sheet
    EXPECT_EQ(e.ScrollY, 100 + kStep);
    EXPECT_TRUE(e.RepaintRequested);
    WheelOnPage(e, 0, kNotch, true, false); // Shift: across, forward is to the left
    EXPECT_EQ(e.ScrollX, 100 - kStep);
    WheelOnPage(e, -kNotch, 0, false, false); // a sideways wheel
    EXPECT_EQ(e.ScrollX, 100);
    WheelOnPage(e, 0, kNotch / 4, false, false); // fine-grained wheels scroll a little
    EXPECT_EQ(e.ScrollY, 100 + kStep - kStep / 4);

    WheelOnPage(e, 0, 100 * kNotch, false, false);
    EXPECT_EQ(e.ScrollY, 0);
    WheelOnPage(e, 0, -100 * kNotch, false, false);
    EXPECT_EQ(e.ScrollY, e.ScrollMaxY);
    e.RepaintRequested = false;
    WheelOnPage(e, 0, -kNotch, false, false); // nothing moves at the end: no repaint
    EXPECT_FALSE(e.RepaintRequested);
}

TEST(Scrolling, CtrlWheelMovesTheZoomBarOneStepPerNotch) {
    TPageEditor e = A4Editor(TPageEditor::ZoomMin);
    WheelOnPage(e, 0, kNotch, false, true);
    EXPECT_DOUBLE_EQ(e.Zoom(), 1.2);
    EXPECT_TRUE(e.RepaintRequested);
    EXPECT_GT(e.ScrollMaxY, 0); // the taller sheet opened the scroll range
    // Half notches add up; turning back forgets the half turned forward.
    WheelOnPage(e, 0, kNotch / 2, false, true);
    WheelOnPage(e, 0, kNotch / 2, false, true);
    EXPECT_EQ(e.ZoomPosition, 7);
    WheelOnPage(e, 0, kNotch / 2, false, true);
    WheelOnPage(e, 0, -kNotch, false, true);
    EXPECT_EQ(e.ZoomPosition, 6);
    WheelOnPage(e, 0, -10 * kNotch, false, true);
    EXPECT_EQ(e.ZoomPosition, TPageEditor::ZoomMin);

    // Nothing happens while a tool or drag is in progress.
    e.SetZoomPosition(20);
    e.RepaintRequested = false;
    for (TEditorMode mode : {mdDeleteTool, mdDragCaption, mdNewLine, mdScrollTrack}) {
        e.Mode = mode;
        WheelOnPage(e, 0, -kNotch, false, false);
        WheelOnPage(e, 0, kNotch, false, true);
    }
    EXPECT_EQ(e.ScrollY, 0);
    EXPECT_EQ(e.ZoomPosition, 20);
    EXPECT_FALSE(e.RepaintRequested);
}

// Resting on an edge or a corner handle holds nothing: the wheel zooms and scrolls there as
// when idle, and the rest ends once the view has moved; a wheel that moves nothing keeps it.
TEST(Scrolling, TheWheelWorksWhileThePointerRestsOnAnEdgeOrHandle) {
    for (TEditorMode hover : {mdHoverTop, mdHoverRight, mdHoverCorner}) {
        SCOPED_TRACE(static_cast<int>(hover));
        TPageEditor e = A4Editor(20);
        e.Mode = hover;
        WheelOnPage(e, 0, kNotch, false, true, TPoint{300, 250});
        EXPECT_EQ(e.ZoomPosition, 21);
        EXPECT_EQ(e.Mode, mdIdle);

        e.Mode = hover;
        e.SetScroll(0, 0);
        WheelOnPage(e, 0, -kNotch, false, false);
        EXPECT_EQ(e.ScrollY, kStep);
        EXPECT_EQ(e.Mode, mdIdle);

        e.Mode = hover;
        e.RepaintRequested = false;
        WheelOnPage(e, 0, 10 * kNotch, true, false); // already at the left end
        EXPECT_EQ(e.Mode, hover);
        EXPECT_FALSE(e.RepaintRequested);
    }
}

TEST(Scrolling, DraggingAThumbDrawsOutlinesAndGivesTheToolBackAfterwards) {
    TPageEditor e;
    e.Mode = mdNewPolygon;
    BeginScrollTrack(e);
    EXPECT_EQ(e.Mode, mdScrollTrack);
    BeginScrollTrack(e); // the thumb of another bar: still the same interruption
    EndScrollTrack(e);
    EXPECT_EQ(e.Mode, mdNewPolygon);
    EXPECT_TRUE(e.RepaintRequested);
    e.RepaintRequested = false;
    EndScrollTrack(e); // without a thumb drag nothing changes
    EXPECT_FALSE(e.RepaintRequested);

    // Hovering over an edge is no tool: the pointer has left the page since.
    e.Mode = mdHoverBottom;
    BeginScrollTrack(e);
    EndScrollTrack(e);
    EXPECT_EQ(e.Mode, mdIdle);
}
