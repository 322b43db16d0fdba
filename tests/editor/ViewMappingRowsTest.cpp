// The mm / page-picture mappings pinned to absolute pixels on the test A4 printer's sheet
// (209 x 296 whole mm) at zoom 1, 1.2 and 20. Every expected number below was worked out by
// hand from the layout and zoom arithmetic, so a change of rounding, of operand order or of
// the layout shows here even where the product's own functions would agree with themselves.
#include <gtest/gtest.h>

#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "support/TestPrinters.h"

namespace {

struct TZoomRows {
    int Position; // zoom bar position: the zoom is position x 0.2
    TRect Sheet;  // PageRect
    int MaxScrollX, MaxScrollY;
    int X4, X10, X100, X150; // view x of 4, 10, 100 and 150 mm, scroll 0
    int Y10, Y100, Y250;     // view y of 10, 100 and 250 mm, scroll 0
};

// Picture 360 x 312; portrait: bottom = 312 - 10 = 302, w = trunc(302 x 209 / 296) = 213,
// left = 350 / 2 - 213 / 2 = 69. Zoomed: right = trunc(69 + z x 214 - 1),
// bottom = trunc(z x 303 - 1). A view x is trunc((right - 69) / 209 x mm + 69).
const TZoomRows kRows[] = {
    // zoom 1: 213 / 209 = 1.01914 px per mm across, 302 / 296 = 1.02027 down; the sheet
    // fits, no scrolling.
    {5, {69, 0, 282, 302}, 0, 0, 73, 79, 170, 221, 10, 102, 255},
    // zoom 1.2: 255 / 209 = 1.22010, 362 / 296 = 1.22297; only the height overflows:
    // trunc(362 - 312 + 12) = 62.
    {6, {69, 0, 324, 362}, 0, 62, 73, 81, 191, 252, 12, 122, 305},
    // zoom 20: 4279 / 209 = 20.47368, 6059 / 296 = 20.46959; maxima
    // 4348 - 360 + 200 = 4188 and 6059 - 312 + 200 = 5947.
    {100, {69, 0, 4348, 6059}, 4188, 5947, 150, 273, 2116, 3140, 204, 2046, 5117},
};

TPageEditor A4Editor() {
    TPageEditor e;
    TA4Printer a4;
    e.ResetPage(a4);
    return e;
}

// The view pixel of a sheet point through the product's own truncation.
TPoint ViewPoint(const TPageEditor& e, int xMm, int yMm) {
    const TRect r = MmRectToView(e, TRect{xMm, yMm, xMm, yMm});
    return TPoint{r.Left, r.Top};
}

} // namespace

TEST(ViewMappingRows, TheA4SheetLiesOnThePictureAtTheHandWorkedPixels) {
    TPageEditor e = A4Editor();
    ASSERT_EQ(e.PageWidthMm, 209);  // trunc(4960 x 202 / 4772)
    ASSERT_EQ(e.PageHeightMm, 296); // trunc(7016 x 289 / 6828)
    EXPECT_EQ(e.BasePageRect, (TRect{69, 0, 282, 302}));
}

TEST(ViewMappingRows, MillimetresMapToAbsolutePixelsAtEachZoom) {
    for (const TZoomRows& row : kRows) {
        SCOPED_TRACE(row.Position);
        TPageEditor e = A4Editor();
        e.SetZoomPosition(row.Position);
        EXPECT_EQ(e.PageRect(), row.Sheet);
        EXPECT_EQ(e.ScrollMaxX, row.MaxScrollX);
        EXPECT_EQ(e.ScrollMaxY, row.MaxScrollY);
        EXPECT_EQ(ViewPoint(e, 4, 10).X, row.X4);
        EXPECT_EQ(ViewPoint(e, 10, 10).X, row.X10);
        EXPECT_EQ(ViewPoint(e, 100, 100).X, row.X100);
        EXPECT_EQ(ViewPoint(e, 150, 250).X, row.X150);
        EXPECT_EQ(ViewPoint(e, 4, 10).Y, row.Y10);
        EXPECT_EQ(ViewPoint(e, 100, 100).Y, row.Y100);
        EXPECT_EQ(ViewPoint(e, 150, 250).Y, row.Y250);
    }
}

TEST(ViewMappingRows, ScrolledPositionsTruncateTowardZero) {
    TPageEditor e = A4Editor();
    e.SetZoomPosition(100);
    e.SetScroll(4188, 5947); // the far corner
    // 2047.37 + 69 - 4188 = -2071.63 and 2046.96 - 5947 = -3900.04: toward zero, not down.
    EXPECT_EQ(ViewPoint(e, 100, 100), (TPoint{-2071, -3900}));
    // The far corner of the sheet: 4348 - 4188 and 6059 - 5947.
    EXPECT_DOUBLE_EQ(MmToViewX(e, 209), 160.0);
    EXPECT_NEAR(MmToViewY(e, 296), 112.0, 1e-9);
}

TEST(ViewMappingRows, PicturePixelsMapBackToWholeMillimetres) {
    TPageEditor e = A4Editor();
    // trunc(209 x 106 / 213) = 104; trunc(209 x -69 / 213) = -67 (left of the sheet, toward
    // zero); trunc(296 x 311 / 302) = 304 (below it).
    EXPECT_EQ(ViewToMmX(e, 175), 104);
    EXPECT_EQ(ViewToMmX(e, 0), -67);
    EXPECT_EQ(ViewToMmY(e, 311), 304);

    e.SetZoomPosition(6);
    // trunc(209 x (200 - 69) / 255) = 107; trunc(296 x 200 / 362) = 163.
    EXPECT_EQ(ViewToMmX(e, 200), 107);
    EXPECT_EQ(ViewToMmY(e, 200), 163);

    e.SetZoomPosition(100);
    e.SetScroll(4188, 5947);
    // trunc(209 x (0 + 4188 - 69) / 4279) = 201, trunc(209 x 4478 / 4279) = 218;
    // trunc(296 x 5947 / 6059) = 290, trunc(296 x 6258 / 6059) = 305.
    EXPECT_EQ(ViewToMmX(e, 0), 201);
    EXPECT_EQ(ViewToMmX(e, 359), 218);
    EXPECT_EQ(ViewToMmY(e, 0), 290);
    EXPECT_EQ(ViewToMmY(e, 311), 305);
}
