#include <gtest/gtest.h>

#include <climits>

#include "editor/HitTest.h"
#include "MousePage.h"

namespace {

constexpr TRect kSpot{50, 30, 60, 40}; // every item of the order test covers (55, 35)

} // namespace

TEST(HitTest, PointBoxesAreFourByFourWithRightAndBottomExcluded) {
    const TPoint p{100, 50};
    for (int dx = -3; dx <= 3; ++dx) {
        for (int dy = -3; dy <= 3; ++dy) {
            const bool inside = dx >= -2 && dx <= 1 && dy >= -2 && dy <= 1;
            EXPECT_EQ(PointBoxHit(p, p.X + dx, p.Y + dy), inside) << dx << "," << dy;
        }
    }
    // Far-off points of damaged documents do not overflow.
    EXPECT_FALSE(PointBoxHit(TPoint{INT32_MAX, INT32_MIN}, 0, 0));
    EXPECT_TRUE(PointBoxHit(TPoint{INT32_MAX, INT32_MAX}, INT32_MAX - 1, INT32_MAX - 2));
}

TEST(HitTest, ThePickFollowsTheStackingOrderOfTheLists) {
    TMousePage page;
    const TPoint spot = page.Pixel(55, 35);
    page.AddFrame(kSpot);
    page.AddRectangle(kSpot);
    page.AddPolygon({{50, 30}, {60, 30}, {60, 40}, {50, 40}});
    page.AddPolygon({{55, 35}, {70, 35}, {70, 45}});
    page.AddImage(kSpot);
    page.AddCaption(kSpot);
    page.AddCaption(kSpot); // the later caption lies on top
    page.AddText(kSpot);
    page.AddLine({{40, 35}, {70, 35}});
    page.AddLine({{0, 0}, {55, 35}});

    // Take the topmost item away after each pick; the next one down shows through.
    const std::vector<std::pair<TPickKind, int32_t>> expected = {
        {TPickKind::LinePoint, 1},    {TPickKind::Line, 0},    {TPickKind::Text, 0},
        {TPickKind::Caption, 1},      {TPickKind::Caption, 0}, {TPickKind::Image, 0},
        {TPickKind::PolygonPoint, 1}, {TPickKind::Polygon, 0}, {TPickKind::Rectangle, 0},
        {TPickKind::Frame, 0},        {TPickKind::None, -1}};
    TPageItems& items = page.E.Items;
    for (auto [kind, index] : expected) {
        const TPick pick = PickItem(page.E, spot.X, spot.Y);
        ASSERT_EQ(pick.Kind, kind) << "expected index " << index;
        EXPECT_EQ(pick.Index, index);
        switch (kind) {
        case TPickKind::LinePoint: EXPECT_EQ(pick.PointIndex, 1); [[fallthrough]];
        case TPickKind::Line: items.Lines.Delete(index); break;
        case TPickKind::Text: items.Texts.Delete(index); break;
        case TPickKind::Caption: items.Captions.Delete(index); break;
        case TPickKind::Image: items.Images.Delete(index); break;
        case TPickKind::PolygonPoint: EXPECT_EQ(pick.PointIndex, 0); [[fallthrough]];
        case TPickKind::Polygon: items.Polygons.Delete(index); break;
        case TPickKind::Rectangle: items.Rectangles.Delete(index); break;
        case TPickKind::Frame: items.Frames.Delete(index); break;
        case TPickKind::None: break;
        }
    }
}

TEST(HitTest, ALineIsGrabbedThreeMillimetresAroundOrByItsOwnWidth) {
    TMousePage page;
    const TNyomtatoVonal& thin = page.AddLine({{20, 50}, {60, 50}}, 2);
    const TPoint above2 = page.Pixel(40, 48), below4 = page.Pixel(40, 54);
    EXPECT_TRUE(LineBodyHit(page.E, thin, above2.X, above2.Y));
    EXPECT_FALSE(LineBodyHit(page.E, thin, below4.X, below4.Y));
    const TNyomtatoVonal& wide = page.AddLine({{20, 50}, {60, 50}}, 6);
    EXPECT_TRUE(LineBodyHit(page.E, wide, below4.X, below4.Y));
    // Beyond the ends the line is not widened.
    const TPoint past = page.Pixel(62, 50);
    EXPECT_FALSE(LineBodyHit(page.E, wide, past.X, past.Y));

    // The Delete and Modify tools widen the mapped line by 3 pixels only.
    const TPoint below1 = page.Pixel(40, 50.2), off = page.Pixel(40, 51.5);
    EXPECT_TRUE(LineViewBodyHit(page.E, wide, below1.X, below1.Y));
    EXPECT_FALSE(LineViewBodyHit(page.E, wide, off.X, off.Y));
}

TEST(HitTest, ItemsWithTooFewPointsAreHitOnlyWhereTheyHavePoints) {
    TMousePage page;
    page.AddLine({});
    page.AddPolygon({});
    const TPoint corner = page.Pixel(0, 0);
    EXPECT_EQ(PickItem(page.E, corner.X, corner.Y).Kind, TPickKind::None);

    page.AddLine({{30, 30}}, 8); // one point: no body however wide
    const TPoint point = page.Pixel(30, 30), near = page.Pixel(31, 30);
    EXPECT_EQ(PickItem(page.E, point.X, point.Y).Kind, TPickKind::LinePoint);
    EXPECT_EQ(PickItem(page.E, near.X, near.Y).Kind, TPickKind::None);

    page.AddPolygon({{10, 10}, {20, 20}}); // two points enclose nothing
    const TPoint between = page.Pixel(15, 15);
    EXPECT_EQ(PickItem(page.E, between.X, between.Y).Kind, TPickKind::None);
}

TEST(HitTest, AClearFrameLetsPressesInsideTheClickThroughAreaPass) {
    TMousePage page; // click-through area (10, 20, 110, 80)
    page.AddFrame({5, 15, 50, 50}, TBrushStyle::bsClear);
    const TPoint inside = page.Pixel(30, 30), outside = page.Pixel(7, 17);
    EXPECT_EQ(PickItem(page.E, inside.X, inside.Y).Kind, TPickKind::None);
    EXPECT_EQ(PickItem(page.E, outside.X, outside.Y).Kind, TPickKind::Frame);
    // Its edges stay resizable inside the area.
    const TPoint bottom = page.Pixel(30, 50);
    EXPECT_EQ(HoveredEdge(page.E, bottom.X, bottom.Y).Mode, mdHoverBottom);

    page.E.Items.Frames[0].FillStyle = static_cast<uint8_t>(TBrushStyle::bsSolid);
    EXPECT_EQ(PickItem(page.E, inside.X, inside.Y).Kind, TPickKind::Frame);
}

TEST(HitTest, EdgesAreThreePixelsWideAndTheTopEdgeComesFirst) {
    const TRect r{10, 20, 50, 60};
    EXPECT_EQ(EdgeModeAt(r, 49, 19), mdHoverTop);
    EXPECT_EQ(EdgeModeAt(r, 50, 21), mdHoverRight); // the top edge stops before the right
    EXPECT_EQ(EdgeModeAt(r, 9, 60), mdHoverLeft);   // the sides run from top to bottom
    EXPECT_EQ(EdgeModeAt(r, 20, 61), mdHoverBottom);
    EXPECT_EQ(EdgeModeAt(r, 52, 40), mdIdle);
    EXPECT_FALSE(OnEdge(TRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, mdHoverTop, 0, 0));
}

TEST(HitTest, AnEdgeOverAnotherPickableItemIsNotOffered) {
    TMousePage page;
    page.AddFrame({20, 20, 100, 100});
    page.AddRectangle({40, 40, 60, 60});
    page.AddImage({60, 70, 90, 90});
    const auto edgeAt = [&](double x, double y) {
        const TPoint p = page.Pixel(x, y);
        return HoveredEdge(page.E, p.X, p.Y);
    };
    const THoveredEdge frameTop = edgeAt(30, 20);
    EXPECT_EQ(frameTop.Mode, mdHoverTop);
    EXPECT_EQ(frameTop.ResizeKind, rkFrame);
    EXPECT_EQ(frameTop.Index, 0);

    // The rectangle's edge lies over the frame, which does not hide it.
    const THoveredEdge rectangleLeft = edgeAt(40, 50);
    EXPECT_EQ(rectangleLeft.Mode, mdHoverLeft);
    EXPECT_EQ(rectangleLeft.ResizeKind, rkRectangle);

    // A caption over the frame's edge and the rectangle's edge takes both away...
    page.AddCaption({25, 15, 45, 45});
    EXPECT_EQ(edgeAt(30, 20).Mode, mdIdle);
    EXPECT_EQ(edgeAt(40, 42).Mode, mdIdle);
    // ...but a rectangle hides an image's edge from no one.
    page.AddRectangle({80, 80, 95, 95});
    EXPECT_EQ(edgeAt(85, 90).ResizeKind, rkImage);

    // While an edge is hovered only an edge of the same kind keeps the hover.
    page.E.Mode = mdHoverLeft;
    EXPECT_EQ(edgeAt(30, 100).Mode, mdIdle); // the frame's bottom
    EXPECT_EQ(edgeAt(20, 60).Mode, mdHoverLeft);
    page.E.Mode = mdDragCaption;
    EXPECT_EQ(edgeAt(20, 60).Mode, mdIdle);

    // The heights legend, when shown, comes before everything.
    page.E.Mode = mdIdle;
    page.E.Settings.HeightsLegendRect = {20, 30, 30, 110};
    page.E.Settings.HeightsLegendVisible = true;
    EXPECT_EQ(edgeAt(20, 60).ResizeKind, rkHeightsLegend);
}

TEST(HitTest, DamagedCoordinatesAreMappedWithoutOverflow) {
    TMousePage page;
    page.AddRectangle({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
    const TPoint p = page.Pixel(100, 100);
    // Held at the limits of the picture, the rectangle still covers the whole sheet.
    EXPECT_EQ(PickItem(page.E, p.X, p.Y).Kind, TPickKind::Rectangle);

    // Points, outlines and edges at the ends of the int32 range (the sanitizer build checks
    // that nothing overflows on the way).
    page.AddLine({{INT32_MIN, 0}, {INT32_MAX, 0}, {INT32_MAX, INT32_MAX}}, INT32_MAX);
    page.AddPolygon({{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MIN}, {0, INT32_MAX}});
    page.AddFrame({INT32_MAX - 1, 0, INT32_MIN, 10});
    EXPECT_FALSE(AnyPointBoxAt(page.E, p.X, p.Y));
    (void)PickItem(page.E, p.X, p.Y);
    (void)HoveredEdge(page.E, p.X, p.Y);
}
