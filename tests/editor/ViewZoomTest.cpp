// The page picture at any size: the layout, the mappings, the scroll range and the navigator's
// mark follow the picture's size while documents keep the base-size layout; zooming about a
// point, the whole sheet and its physical size; line widths as they print.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "editor/CoreServices.h"
#include "editor/Keys.h"
#include "editor/Navigator.h"
#include "editor/PageEditor.h"
#include "editor/PageLayout.h"
#include "editor/PageView.h"
#include "editor/Scrolling.h"
#include "editor/ViewZoom.h"
#include "platform/Printer.h"
#include "platform/Screen.h"
#include "support/ScriptedItemDialogs.h"
#include "support/TempDir.h"
#include "support/TestPrinters.h"

namespace {

TPageEditor A4Editor() {
    TPageEditor e;
    TA4Printer a4;
    e.ResetPage(a4);
    return e;
}

struct TPictureSize {
    int Width, Height;
};
// The base size, a large screen and a tall, narrow window.
const TPictureSize kSizes[] = {{360, 312}, {1600, 1200}, {420, 1400}};

std::vector<char> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(ViewZoom, TheSheetKeepsItsProportionsAndEveryMappingFollowsThePictureSize) {
    for (const TPictureSize size : kSizes) {
        SCOPED_TRACE(testing::Message() << size.Width << " x " << size.Height);
        TPageEditor e = A4Editor();
        const TRect stored = e.Settings.BasePageRect;
        ASSERT_TRUE(SetPictureSize(e, size.Width, size.Height) || size.Width == 360);
        EXPECT_EQ(e.PictureWidth, size.Width);
        EXPECT_EQ(e.PictureHeight, size.Height);
        // The sheet fills the picture's height (portrait) or width, shadow room aside, and
        // keeps the sheet's proportions to a pixel.
        const TRect& b = e.BasePageRect;
        const double w = b.Right - b.Left, h = b.Bottom - b.Top;
        EXPECT_TRUE(b.Bottom == size.Height - 10 || b.Right == size.Width - 10);
        EXPECT_LE(b.Right, size.Width - 10);
        EXPECT_LE(b.Bottom, size.Height - 10);
        EXPECT_NEAR(w / h, static_cast<double>(e.PageWidthMm) / e.PageHeightMm, 1.5 / h);
        // Documents keep the layout of the base-size picture.
        EXPECT_EQ(e.Settings.BasePageRect, stored);
        e.LayOut();
        EXPECT_EQ(e.Settings.BasePageRect, stored);

        for (int position : {5, 23, 100}) {
            e.SetZoomPosition(position);
            e.SetScroll(e.ScrollMaxX / 3, e.ScrollMaxY / 2);
            // A click in the middle of a millimetre's pixels maps back to that millimetre.
            for (int mm : {20, 100, 150}) {
                // The first pixel that starts inside the millimetre.
                const int px = static_cast<int>(std::ceil(MmToViewX(e, mm)));
                if (px >= 0 && px < MmToViewX(e, mm + 1) && px < e.PictureWidth) {
                    EXPECT_EQ(ViewToMmX(e, px), mm);
                }
                const int py = static_cast<int>(std::ceil(MmToViewY(e, mm)));
                if (py >= 0 && py < MmToViewY(e, mm + 1) && py < e.PictureHeight) {
                    EXPECT_EQ(ViewToMmY(e, py), mm);
                }
            }
        }
        // Zoom 1 shows the whole sheet; at zoom 20 the range lets the sheet's far corner
        // and its shadow come into view on this picture.
        e.SetZoomPosition(5);
        EXPECT_EQ(e.ScrollMaxX, 0);
        EXPECT_EQ(e.ScrollMaxY, 0);
        const TRect all = VisibleMm(e);
        EXPECT_LE(all.Left, 0);
        EXPECT_GE(all.Bottom, e.PageHeightMm - 1);
        e.SetZoomPosition(100);
        EXPECT_EQ(e.ScrollMaxX, static_cast<int>(e.PageRect().Right - size.Width + 200));
        EXPECT_EQ(e.ScrollMaxY, static_cast<int>(e.PageRect().Bottom - size.Height + 200));
        // The navigator's mark spans what the whole picture shows.
        e.SetScroll(e.ScrollMaxX, e.ScrollMaxY);
        const TRect mark = NavigatorViewRect(e);
        const TRect& nav = e.NavigatorPageRect;
        EXPECT_NEAR(NavigatorToMmX(e, mark.Right), ViewToMmX(e, size.Width - 1),
                    e.PageWidthMm / (nav.Right - nav.Left) + 1);
        EXPECT_GE(mark.Bottom, nav.Bottom - 1); // scrolled to the end: the mark reaches it
    }
}

TEST(ViewZoom, ResizingKeepsTheZoomAndTheCornerAndIsHeldToTheBaseSize) {
    TPageEditor e = A4Editor();
    e.SetZoomPosition(40);
    e.SetScroll(300, 500);
    const double cornerX = ViewToMmXf(e, 0), cornerY = ViewToMmYf(e, 0);
    ASSERT_TRUE(SetPictureSize(e, 800, 600));
    EXPECT_EQ(e.ZoomPosition, 40);
    // The sheet is larger on the larger picture; the top-left sheet point stays put.
    EXPECT_NEAR(ViewToMmXf(e, 0), cornerX, 1);
    EXPECT_NEAR(ViewToMmYf(e, 0), cornerY, 1);
    EXPECT_FALSE(SetPictureSize(e, 800, 600)); // nothing changed
    // Smaller than the base picture is not possible.
    SetPictureSize(e, 100, 50);
    EXPECT_EQ(e.PictureWidth, TPageEditor::BasePictureWidth);
    EXPECT_EQ(e.PictureHeight, TPageEditor::BasePictureHeight);
}

TEST(ViewZoom, LoadThenSaveWritesTheSameBytesWhateverThePictureSize) {
    const TTempDir dir("view-zoom");
    const std::filesystem::path first = dir.File("first.pst"), second = dir.File("second.pst");
    TPageEditor e = A4Editor();
    ASSERT_TRUE(e.SaveDocument(first.string()).Ok());
    TPageEditor big = A4Editor();
    SetPictureSize(big, 1600, 1200);
    big.LayOut();
    ASSERT_TRUE(big.LoadDocument(first.string()).Ok());
    SetPictureSize(big, 1000, 700);
    ASSERT_TRUE(big.SaveDocument(second.string()).Ok());
    EXPECT_EQ(FileBytes(first), FileBytes(second));
    // A fresh page saved from the large picture is the base-size page too.
    TPageEditor fresh = A4Editor();
    SetPictureSize(fresh, 1600, 1200);
    ASSERT_TRUE(fresh.SaveDocument(second.string()).Ok());
    EXPECT_EQ(FileBytes(first), FileBytes(second));
}

TEST(ViewZoom, ZoomingAboutAPointKeepsTheMillimetreUnderIt) {
    for (const TPictureSize size : kSizes) {
        SCOPED_TRACE(testing::Message() << size.Width << " x " << size.Height);
        TPageEditor e = A4Editor();
        SetPictureSize(e, size.Width, size.Height);
        e.SetZoomPosition(20);
        e.SetScroll(e.ScrollMaxX / 2, e.ScrollMaxY / 2);
        const TPoint pointers[] = {{size.Width / 2, size.Height / 3},
                                   {size.Width * 3 / 4, size.Height * 2 / 3}};
        for (const TPoint p : pointers) {
            for (int position : {30, 55, 21, 100, 20}) {
                const double x = ViewToMmXf(e, p.X), y = ViewToMmYf(e, p.Y);
                ZoomAbout(e, position, p.X, p.Y);
                EXPECT_EQ(e.ZoomPosition, position);
                // Within one picture pixel of where it was.
                EXPECT_NEAR(MmToViewX(e, x), p.X, 1.0) << position;
                EXPECT_NEAR(MmToViewY(e, y), p.Y, 1.0) << position;
            }
        }
    }
    // Near the sheet's corner the scroll range holds: the sheet does not leave its origin.
    TPageEditor e = A4Editor();
    ZoomAbout(e, 60, 0, 0);
    EXPECT_EQ(e.ScrollX, 0);
    EXPECT_EQ(e.ScrollY, 0);
    ZoomAbout(e, 5, 200, 200);
    EXPECT_EQ(e.ScrollX, 0);
    EXPECT_EQ(e.ScrollY, 0);
}

TEST(ViewZoom, OnAWideWindowZoomingInStaysOnThePointWhileTheSheetStillFits) {
    // A portrait sheet on a wide picture fills its height and a third of its width: zoomed
    // twice it still fits across, so only a wider scroll range keeps the point in place.
    TPageEditor e = A4Editor();
    SetPictureSize(e, 1600, 600);
    const TPoint pointer{e.PageRect().Right - 20, 300};
    const double x = ViewToMmXf(e, pointer.X), y = ViewToMmYf(e, pointer.Y);
    for (int position = 6; position <= 10; ++position) {
        ZoomAbout(e, position, pointer.X, pointer.Y);
        EXPECT_NEAR(MmToViewX(e, x), pointer.X, 1.0) << position;
        EXPECT_NEAR(MmToViewY(e, y), pointer.Y, 1.0) << position;
    }
    EXPECT_GT(e.ScrollX, 0);
    // The wider range is the zoom's own: back at zoom 1 there is nothing to scroll.
    ZoomToFitPage(e);
    EXPECT_EQ(e.ScrollMaxX, 0);
    EXPECT_EQ(e.ScrollX, 0);
    // A point right of the sheet never pushes the view beyond the magnified zoom-1 picture.
    ZoomAbout(e, 10, 1599, 599);
    EXPECT_LE(e.ScrollX, 1600 - e.PageRect().Left);
    EXPECT_LE(e.ScrollY, 600 - e.PageRect().Top);
}

TEST(ViewZoom, CtrlWheelZoomsAboutThePointerAndTheBarAboutTheCentre) {
    TPageEditor e = A4Editor();
    SetPictureSize(e, 1000, 800);
    e.SetZoomPosition(15);
    const TPoint pointer{700, 600};
    const double startX = ViewToMmXf(e, pointer.X), startY = ViewToMmYf(e, pointer.Y);
    for (int notch = 0; notch < 5; ++notch) {
        const double x = ViewToMmXf(e, pointer.X), y = ViewToMmYf(e, pointer.Y);
        WheelOnPage(e, 0, kWheelNotch, false, true, pointer);
        EXPECT_NEAR(MmToViewX(e, x), pointer.X, 1.0);
        EXPECT_NEAR(MmToViewY(e, y), pointer.Y, 1.0);
    }
    EXPECT_EQ(e.ZoomPosition, 20);
    // Notch after notch the point stays within a millimetre (whole scroll pixels add up).
    EXPECT_NEAR(ViewToMmXf(e, pointer.X), startX, 1.0);
    EXPECT_NEAR(ViewToMmYf(e, pointer.Y), startY, 1.0);

    const double cx = ViewToMmXf(e, 500), cy = ViewToMmYf(e, 400);
    ZoomAtCentre(e, 35);
    EXPECT_NEAR(MmToViewX(e, cx), 500, 1.0);
    EXPECT_NEAR(MmToViewY(e, cy), 400, 1.0);
}

TEST(ViewZoom, ZoomKeysFitThePageOrShowItsPhysicalSizeOnlyWhileIdle) {
    TPageEditor e = A4Editor();
    TScriptedCore core;
    TCoreServices s = core.Services();
    // 96 dpi: 3.78 pixels a millimetre; the A4 sheet at zoom 1 has about 1.02.
    core.Screen.ScreenPixelsPerMm = 96 / 25.4;
    const double basePerMm =
        static_cast<double>(e.BasePageRect.Right - e.BasePageRect.Left) / e.PageWidthMm;
    const int physical = static_cast<int>(std::lround(96 / 25.4 / basePerMm / 0.2));
    EXPECT_EQ(PhysicalSizeZoomPosition(e, 96 / 25.4), physical);
    EXPECT_TRUE(KeyDown(e, s, VK_1, ssCtrl));
    EXPECT_EQ(e.ZoomPosition, physical);
    EXPECT_TRUE(e.RepaintRequested);
    // The sheet's millimetre is now a screen millimetre, to a bar step.
    EXPECT_NEAR(MmToViewX(e, 100) - MmToViewX(e, 0), 100 * 96 / 25.4, 100 * basePerMm * 0.2);

    EXPECT_TRUE(KeyDown(e, s, VK_ADD, 0));
    EXPECT_EQ(e.ZoomPosition, physical + 1);
    EXPECT_TRUE(KeyDown(e, s, VK_OEM_MINUS, ssCtrl));
    EXPECT_TRUE(KeyDown(e, s, VK_SUBTRACT, 0));
    EXPECT_EQ(e.ZoomPosition, physical - 1);
    EXPECT_TRUE(KeyDown(e, s, VK_0, ssCtrl));
    EXPECT_EQ(e.ZoomPosition, TPageEditor::ZoomMin);
    EXPECT_EQ(e.ScrollX, 0);
    EXPECT_EQ(e.ScrollY, 0);
    EXPECT_FALSE(KeyDown(e, s, VK_0, 0)); // a plain 0 is no zoom key

    // Within the bar's range: a dense screen stops at 20, one without a size changes nothing.
    EXPECT_EQ(PhysicalSizeZoomPosition(e, 1000), TPageEditor::ZoomMax);
    EXPECT_EQ(PhysicalSizeZoomPosition(e, 0), e.ZoomPosition);
    EXPECT_EQ(PhysicalSizeZoomPosition(e, std::nan("")), e.ZoomPosition);

    // Not while a tool or drag runs.
    e.RepaintRequested = false;
    for (TEditorMode mode : {mdDeleteTool, mdDragCaption, mdNewLine}) {
        e.Mode = mode;
        for (int key : {VK_ADD, VK_SUBTRACT}) EXPECT_TRUE(KeyDown(e, s, key, 0));
        EXPECT_TRUE(KeyDown(e, s, VK_1, ssCtrl));
    }
    EXPECT_EQ(e.ZoomPosition, TPageEditor::ZoomMin);
    EXPECT_FALSE(e.RepaintRequested);
}

TEST(ViewZoom, LinesAreAsWideOnThePictureAsTheyPrint) {
    TPageEditor e = A4Editor(); // 600 dpi
    const double pxPerMm = MmToViewX(e, 1) - MmToViewX(e, 0);
    // At zoom 1 a millimetre is about a pixel: every printer width is one pixel.
    for (int w : {1, 3, 10}) EXPECT_EQ(LineWidthOnView(e, w), 1);
    e.SetZoomPosition(100);
    const double zoomed = MmToViewX(e, 1) - MmToViewX(e, 0);
    // Width 10 prints 0.42 mm; width 3 0.13 mm: now they differ.
    EXPECT_NEAR(LineWidthOnView(e, 10), 10 * 25.4 / 600 * zoomed, 0.5);
    EXPECT_NEAR(LineWidthOnView(e, 3), 3 * 25.4 / 600 * zoomed, 0.5);
    EXPECT_LT(LineWidthOnView(e, 3), LineWidthOnView(e, 10));
    EXPECT_GT(zoomed, 15 * pxPerMm);
    // Without a printer the width counts as 600 dpi dots.
    TPageEditor none;
    TNoPrinter nothing;
    none.ResetPage(nothing);
    EXPECT_NEAR(LineWidthMm(none.Metrics, 10), 0.423, 0.001);
}
