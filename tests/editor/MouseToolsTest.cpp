#include <gtest/gtest.h>

#include <climits>

#include "editor/Keys.h"
#include "editor/Tools.h"
#include "MousePage.h"

TEST(MouseTools, PressingACaptionDragsItAndReleasingEndsTheDrag) {
    TMousePage page;
    TNyomtatoSzoveg& caption = page.AddCaption({20, 30, 40, 36});
    page.PressMm(25, 32);
    EXPECT_EQ(page.E.Mode, mdDragCaption);
    EXPECT_EQ(page.E.CaptionOrTextIndex, 0);
    EXPECT_EQ(page.E.DragAnchor, (TPoint{25, 32}));
    EXPECT_EQ(page.Screen.Current, crDrag);
    EXPECT_EQ(page.E.InfoText, "Drag the caption to the appropriate place");

    page.MoveMm(30, 40);
    EXPECT_EQ(caption.Rect, (TRect{25, 38, 45, 44}));
    EXPECT_EQ(page.E.DragAnchor, (TPoint{30, 40}));
    EXPECT_TRUE(page.E.RepaintRequested);

    page.E.RepaintRequested = false;
    page.Release(page.At(30, 40));
    EXPECT_EQ(page.E.Mode, mdIdle);
    EXPECT_EQ(page.Screen.Current, crArrow);
    EXPECT_EQ(page.E.InfoText, "");
    EXPECT_TRUE(page.E.ForgetPictureCursor);
    EXPECT_TRUE(page.E.RepaintRequested);
}

TEST(MouseTools, ACaptionStopsOneMillimetreShortOfTheRightEdgeWhereAFrameTouchesIt) {
    // The printable area ends at 206 mm. A frame takes its members along, step by step.
    for (const bool frame : {false, true}) {
        TMousePage page;
        TNyomtatoPoligon& member = page.AddPolygon({{100, 70}, {110, 70}, {105, 80}});
        TRect& box = frame ? page.AddFrame({100, 50, 130, 58}).Rect
                           : page.AddCaption({100, 50, 130, 58}).Rect;
        if (frame) page.E.Items.Frames[0].Members.AddReference(ikPolygon, 0);
        const int32_t last = frame ? 206 : 205;
        page.PressMm(110, 54);
        EXPECT_EQ(page.E.Mode, frame ? mdDragFrame : mdDragCaption);
        if (frame) {
            EXPECT_EQ(page.E.InfoText, "Drag the frame to the appropriate place");
        }
        page.MoveMm(110 + last - 130, 54);
        EXPECT_EQ(box.Right, last);
        // A step past the edge is refused and the anchor stays, while the vertical step of
        // the same move is taken.
        page.MoveMm(111 + last - 130, 60);
        EXPECT_EQ(box, (TRect{last - 30, 56, last, 64})) << frame;
        EXPECT_EQ(page.E.DragAnchor, (TPoint{110 + last - 130, 60}));
        page.MoveMm(150 + last - 130, 60); // still waiting
        page.MoveMm(109 + last - 130, 60); // back where the move fits: one to the left
        EXPECT_EQ(box.Right, last - 1);
        // The left and top margins (4 mm) hold the other way.
        page.MoveMm(0, 0);
        EXPECT_EQ(box.Right, last - 1);
        EXPECT_EQ(box.Top, 56);
        const int32_t moved = frame ? last - 131 : 0;
        EXPECT_EQ(member.PointAt(0), (TPoint{100 + moved, frame ? 76 : 70}));
    }
}

TEST(MouseTools, ResizingMovesAFramesMembersOnlyWithItsTopAndLeftEdges) {
    struct Edge {
        TPoint Hover;
        TEditorMode Mode;
        TCursor Cursor;
        TPoint To;
        TRect Expected;
        TPoint MemberShift;
    };
    const Edge edges[] = {
        {{40, 30}, mdHoverTop, crSizeNS, {40, 25}, {20, 25, 60, 70}, {0, -5}},
        {{40, 70}, mdHoverBottom, crSizeNS, {40, 80}, {20, 30, 60, 80}, {0, 0}},
        {{20, 50}, mdHoverLeft, crSizeWE, {15, 50}, {15, 30, 60, 70}, {-5, 0}},
        {{60, 50}, mdHoverRight, crSizeWE, {70, 50}, {20, 30, 70, 70}, {0, 0}},
    };
    for (const Edge& edge : edges) {
        TMousePage page;
        TNyomtatoKeret& frame = page.AddFrame({20, 30, 60, 70});
        TNyomtatoSzoveg& member = page.AddCaption({25, 35, 35, 40});
        frame.Members.AddReference(ikCaption, 0);

        page.Move(page.Pixel(edge.Hover.X, edge.Hover.Y));
        ASSERT_EQ(page.E.Mode, edge.Mode);
        EXPECT_EQ(page.Screen.Current, edge.Cursor);
        page.Press(page.Pixel(edge.Hover.X, edge.Hover.Y));
        EXPECT_EQ(page.E.Mode, ResizeOfHover(edge.Mode));
        EXPECT_EQ(page.E.InfoText, "The keret dimensions: 40, 40");
        page.MoveMm(edge.To.X, edge.To.Y);
        EXPECT_EQ(frame.Rect, edge.Expected) << static_cast<int>(edge.Mode);
        EXPECT_EQ(member.Rect, (TRect{25 + edge.MemberShift.X, 35 + edge.MemberShift.Y,
                                      35 + edge.MemberShift.X, 40 + edge.MemberShift.Y}));
        page.Release(page.At(edge.To.X, edge.To.Y));
        EXPECT_EQ(page.E.InfoText, "");
    }
}

TEST(MouseTools, ResizedBoxesKeepTwoMillimetresAndStayOnThePrintableArea) {
    TMousePage page;
    TNyomtatoKep& image = page.AddImage({30, 30, 50, 50});
    page.Move(page.Pixel(50, 40));
    page.Press(page.Pixel(50, 40));
    EXPECT_EQ(page.E.InfoText, "The kép dimensions: 20, 20");
    page.MoveMm(10, 40);
    EXPECT_EQ(image.Rect.Right, 32);
    page.MoveMm(300, 40);
    EXPECT_EQ(image.Rect.Right, 206);
    EXPECT_EQ(page.E.InfoText, "The kép dimensions: 176, 20");
    page.Release(page.At(300, 40));

    TNyomtatoNegyszog& rectangle = page.AddRectangle({100, 100, 120, 110});
    page.Move(page.Pixel(110, 100));
    page.Press(page.Pixel(110, 100));
    page.MoveMm(110, 130);
    EXPECT_EQ(rectangle.Rect.Top, 108);
    page.MoveMm(110, -20);
    EXPECT_EQ(rectangle.Rect.Top, 4);
    EXPECT_EQ(page.E.InfoText, "The négyszög dimensions: 20, 106");
}

TEST(MouseTools, APolygonWaitsWhileThePointerIsOffThePrintableArea) {
    TMousePage page;
    // Its first point lies left of the printable area, which does not stop it moving.
    TNyomtatoPoligon& polygon = page.AddPolygon({{1, 10}, {30, 10}, {30, 40}});
    page.PressMm(25, 20);
    EXPECT_EQ(page.E.Mode, mdDragPolygon);
    EXPECT_EQ(page.E.InfoText, "Drag the polygon to the appropriate place");
    page.E.RepaintRequested = false; // the press showed the polygon selected
    page.MoveMm(2, 20);
    page.MoveMm(25, 295);
    EXPECT_EQ(polygon.PointAt(0), (TPoint{1, 10}));
    EXPECT_FALSE(page.E.RepaintRequested);
    page.MoveMm(35, 25);
    EXPECT_EQ(polygon.ToArray(), (std::vector<TPoint>{{11, 15}, {40, 15}, {40, 45}}));
    EXPECT_EQ(page.E.DragAnchor, (TPoint{35, 25}));
}

TEST(MouseTools, APointUnderThePointerIsDraggedAlone) {
    TMousePage page;
    TNyomtatoVonal& line = page.AddLine({{20, 20}, {40, 40}});
    TNyomtatoPoligon& polygon = page.AddPolygon({{60, 60}, {80, 60}, {70, 80}});
    page.E.DragAnchor = {-7, -7};
    page.Press(page.Pixel(40, 40));
    EXPECT_EQ(page.E.Mode, mdDragLinePoint);
    EXPECT_EQ(page.E.LinePointIndex, 1);
    EXPECT_EQ(page.E.InfoText, "Drag the line point to appropriate place");
    page.MoveMm(50, 45);
    page.MoveMm(210, 45); // off the printable area: the point stays
    EXPECT_EQ(line.ToArray(), (std::vector<TPoint>{{20, 20}, {50, 45}}));
    page.Release(page.At(210, 45));

    page.Press(page.Pixel(70, 80));
    EXPECT_EQ(page.E.Mode, mdDragPolygonPoint);
    EXPECT_EQ(page.E.PolygonPointIndex, 2);
    EXPECT_EQ(page.E.InfoText, "Drag the polygon point to the appropriate place");
    EXPECT_EQ(page.E.DragAnchor, (TPoint{-7, -7})); // point drags need no anchor
    page.MoveMm(70, 90);
    EXPECT_EQ(polygon.PointAt(2), (TPoint{70, 90}));
}

TEST(MouseTools, TheIdlePointerShowsItsMillimetresAndWhatAPressWouldDo) {
    TMousePage page;
    page.AddLine({{20, 20}, {40, 20}});
    page.AddFrame({50, 50, 100, 100});
    page.MoveMm(100, 296);
    EXPECT_EQ(page.E.PointerXText, "100");
    EXPECT_EQ(page.E.PointerYText, "296");
    EXPECT_EQ(page.Screen.Current, crArrow);
    page.MoveMm(100, 297); // below the sheet's 296.96 mm
    EXPECT_EQ(page.E.PointerXText, "");
    EXPECT_EQ(page.E.PointerYText, "");
    page.Move(page.Pixel(40, 20));
    EXPECT_EQ(page.Screen.Current, crCross);
    page.Move(page.Pixel(100, 70));
    EXPECT_EQ(page.Screen.Current, crSizeWE);
    EXPECT_EQ(page.E.Mode, mdHoverRight);
    page.MoveMm(102, 70); // off the edge
    EXPECT_EQ(page.E.Mode, mdIdle);
    EXPECT_EQ(page.Screen.Current, crArrow);

    // Without a printer the read-out covers the editor's fallback page.
    TPageEditor bare;
    TNoPrinter none;
    bare.ResetPage(none);
    MouseMove(bare, page.Core, 200, 300);
    EXPECT_EQ(bare.PointerXText, std::to_string(ViewToMmX(bare, 200)));
    EXPECT_EQ(bare.PointerYText, std::to_string(ViewToMmY(bare, 300)));
    EXPECT_GT(ViewToMmY(bare, 300), 3000);
}

TEST(MouseTools, AnOfferedEdgeIsResizedInsteadOfPickingTheItemUnderIt) {
    TMousePage page;
    page.AddImage({60, 70, 90, 90});
    page.Move(page.Pixel(70, 70));
    ASSERT_EQ(page.E.Mode, mdHoverTop);
    page.Press(page.Pixel(70, 70));
    EXPECT_EQ(page.E.Mode, mdResizeTop);
}

TEST(MouseTools, TheRightButtonEndsToolsAndReleasesKeepPointEntryGoing) {
    TMousePage page;
    StartTool(page.E, page.Core, mdNewLine);
    page.E.LinePoints = std::make_unique<TPointList>();
    for (TEditorMode mode : {mdNewLine, mdNewPolygon, mdNewFrame}) {
        page.E.Mode = mode;
        page.Release(page.At(10, 10));
        EXPECT_EQ(page.E.Mode, mode);
        EXPECT_EQ(page.E.InfoText, "Jelölje ki a vonal pontjait.");
    }
    page.E.Mode = mdNewLine;
    page.Press(page.At(10, 10), TMouseButton::Right);
    EXPECT_EQ(page.E.Mode, mdIdle);
    EXPECT_EQ(page.E.LinePoints, nullptr);
    EXPECT_EQ(page.E.InfoText, "");
    EXPECT_TRUE(page.E.RepeatTimerEnabled);
    EXPECT_EQ(page.Screen.Current, crArrow);

    // Idle, the right button leaves everything to the repeat menu.
    page.E.RepeatTimerEnabled = false;
    page.Press(page.At(10, 10), TMouseButton::Right);
    EXPECT_FALSE(page.E.RepeatTimerEnabled);

    // Presses in the Delete and Modify tools never start a drag.
    page.AddCaption({20, 20, 40, 30});
    for (TEditorMode mode : {mdDeleteTool, mdModifyTool}) {
        page.E.Mode = mode;
        page.PressMm(25, 25);
        EXPECT_NE(page.E.Mode, mdDragCaption);
    }
}

TEST(MouseTools, EscapeLeavesTheInfoLineAndTheDetachedRepeatMenu) {
    TMousePage page;
    StartTool(page.E, page.Core, mdNewPolygon);
    page.E.PolygonPoints = std::make_unique<TPointList>();
    page.E.PolygonPoints->AddPoint(5, 5);
    page.E.ForgetPictureCursor = false;
    KeyDown(page.E, page.Core, 13); // only Escape acts
    EXPECT_EQ(page.E.Mode, mdNewPolygon);

    KeyDown(page.E, page.Core, VK_ESCAPE);
    EXPECT_EQ(page.E.Mode, mdIdle);
    EXPECT_EQ(page.E.PolygonPoints, nullptr);
    EXPECT_EQ(page.E.Items.Polygons.Count(), 0);
    EXPECT_TRUE(page.E.RepaintRequested);
    EXPECT_TRUE(page.E.ForgetPictureCursor);
    EXPECT_EQ(page.Screen.Current, crArrow);
    EXPECT_EQ(page.E.InfoText, "Jelölje ki a poligon pontjait.");
    EXPECT_FALSE(page.E.RepeatMenuAttached);
}

TEST(MouseTools, StaleIndicesAndFarOffCoordinatesAreHandledSafely) {
    TMousePage page;
    // Index fields that name no item: the steps do nothing.
    page.AddLine({{20, 20}, {40, 40}});
    const std::vector<std::tuple<TEditorMode, int32_t*>> stale = {
        {mdDragCaption, &page.E.CaptionOrTextIndex},
        {mdDragFrame, &page.E.FrameIndex},
        {mdDragLinePoint, &page.E.LinePointIndex},
        {mdDragPolygon, &page.E.PolygonIndex},
        {mdResizeTop, &page.E.FrameIndex}};
    page.E.LineIndex = 0;
    page.E.ResizeKind = rkFrame;
    for (auto [mode, field] : stale) {
        page.E.Mode = mode;
        *field = 7;
        page.MoveMm(30, 30);
    }
    EXPECT_EQ(page.E.Items.Lines[0].ToArray(), (std::vector<TPoint>{{20, 20}, {40, 40}}));
    page.E.Mode = mdHoverLeft;
    page.E.InfoText = "kept";
    page.PressMm(30, 30);
    EXPECT_EQ(page.E.InfoText, "kept");

    // A frame whose members lie at the ends of the int32 range: they stop there.
    page.E.Mode = mdIdle;
    TNyomtatoKeret& frame = page.AddFrame({50, INT32_MIN, 100, 60});
    TNyomtatoSzoveg& caption = page.AddCaption({INT32_MIN + 3, 0, INT32_MIN + 10, 5});
    TNyomtatoPoligon& polygon = page.AddPolygon({{INT32_MAX - 1, INT32_MAX}});
    frame.Members.AddReference(ikCaption, 0);
    frame.Members.AddReference(ikPolygon, 0);
    page.Move(page.Pixel(50, 30));
    page.Press(page.Pixel(50, 30));
    ASSERT_EQ(page.E.Mode, mdResizeLeft);
    page.MoveMm(40, 30);
    EXPECT_EQ(frame.Rect.Left, 40);
    EXPECT_EQ(caption.Rect.Left, INT32_MIN);
    EXPECT_EQ(caption.Rect.Right, INT32_MIN);
    page.Release(page.At(40, 30));
    page.PressMm(45, 30);
    ASSERT_EQ(page.E.Mode, mdDragFrame);
    page.MoveMm(65, 30);
    EXPECT_EQ(frame.Rect.Left, 60);
    EXPECT_EQ(polygon.PointAt(0), (TPoint{INT32_MAX, INT32_MAX}));
}
