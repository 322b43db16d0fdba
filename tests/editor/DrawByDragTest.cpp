// Drawing new boxes by dragging in their tools, and resizing by the corner handles of a
// selected box.
#include <gtest/gtest.h>

#include "editor/Tools.h"
#include "MousePage.h"
#include "support/BmpFixtures.h"

namespace {

// Printable from (4, 4) to (206, 293) mm.
struct DrawByDragTest : ::testing::Test {
    TMousePage Page;
    TPageEditor& E = Page.E;
};

} // namespace

TEST_F(DrawByDragTest, ARectangleIsSpannedByTheDragAndAClickKeepsTheDefaultSize) {
    Page.Colors.Answers = {clRed, clBlue, clGreen};
    StartTool(E, Page.Core, mdNewRectangle);
    Page.DragMm(50, 60, 80, 75);
    ASSERT_EQ(E.Items.Rectangles.Count(), 1);
    EXPECT_EQ(E.Items.Rectangles[0].Rect, (TRect{50, 60, 80, 75}));
    EXPECT_EQ(E.Mode, mdIdle);
    EXPECT_EQ(E.History.UndoCount(), 1); // placed and spanned: one step
    EXPECT_EQ(E.Selection, (std::vector<TKKItem>{{ikRectangle, 0}}));

    StartTool(E, Page.Core, mdNewRectangle);
    Page.ClickMm(100, 100);
    EXPECT_EQ(E.Items.Rectangles[1].Rect, (TRect{100, 100, 110, 110}));

    // Up and to the left of the press, held to the printable area, never under 2 mm. The
    // colour dialog comes at the release, so it cannot take the drag away.
    StartTool(E, Page.Core, mdNewRectangle);
    const TPoint a = Page.At(20, 20);
    MouseDown(E, Page.Core, TMouseButton::Left, a.X, a.Y);
    Page.MoveMm(1, 1);
    EXPECT_EQ(E.Items.Rectangles.Count(), 2);
    EXPECT_EQ(Page.Colors.Answers.size(), 1u);
    Page.Release(Page.At(1, 1));
    EXPECT_EQ(E.Items.Rectangles[2].Rect, (TRect{4, 4, 20, 20}));
    EXPECT_EQ(E.Items.Rectangles[2].Color, clGreen);
    Page.Key(VK_Z, ssCtrl);
    Page.Colors.Answers = {clGreen};
    StartTool(E, Page.Core, mdNewRectangle);
    Page.DragMm(20, 20, 21, 19);
    EXPECT_EQ(E.Items.Rectangles[2].Rect, (TRect{20, 18, 22, 20}));
    // A right press before the release makes nothing.
    StartTool(E, Page.Core, mdNewRectangle);
    Page.PressMm(50, 50);
    Page.MoveMm(70, 70);
    Page.Press(Page.At(70, 70), TMouseButton::Right);
    Page.Release(Page.At(70, 70));
    EXPECT_EQ(E.Items.Rectangles.Count(), 3);
    EXPECT_EQ(E.Mode, mdIdle);
    Page.Key(VK_Z, ssCtrl);
    EXPECT_EQ(E.Items.Rectangles.Count(), 2);
    EXPECT_EQ(E.History.UndoCount(), 2);
}

TEST_F(DrawByDragTest, TheFrameToolStaysArmedAndTheFrameTakesNothingItSpans) {
    StartTool(E, Page.Core, mdNewFrame);
    Page.DragMm(30, 30, 60, 50);
    EXPECT_EQ(E.Mode, mdNewFrame);
    EXPECT_EQ(E.Items.Frames[0].Rect, (TRect{30, 30, 60, 50}));
    Page.ClickMm(100, 100);
    EXPECT_EQ(E.Items.Frames[1].Rect, (TRect{100, 100, 200, 160}));
    EXPECT_EQ(E.History.UndoCount(), 2);
}

TEST_F(DrawByDragTest, ACornerHandleMovesTwoEdgesAndShiftKeepsAnImagesProportions) {
    TNyomtatoKeret& frame = Page.AddFrame({40, 40, 100, 100});
    TNyomtatoSzoveg& member = Page.AddCaption({50, 50, 60, 55});
    frame.Members.AddReference(ikCaption, 0);
    Page.ClickMm(90, 90);
    // The top-left handle: both edges follow, the members move with the top and left edges.
    Page.Move(Page.Pixel(40, 40));
    EXPECT_EQ(E.Mode, mdHoverCorner);
    Page.Press(Page.Pixel(40, 40));
    EXPECT_EQ(E.Mode, mdResizeCorner);
    Page.MoveMm(30, 35);
    Page.Release(Page.At(30, 35));
    EXPECT_EQ(frame.Rect, (TRect{30, 35, 100, 100}));
    EXPECT_EQ(member.Rect, (TRect{40, 45, 50, 50}));
    EXPECT_EQ(E.History.UndoCount(), 1);

    TNyomtatoKep& image = Page.AddImage({120, 120, 140, 130});
    image.Picture->LoadFromBitmapFileData(MakeBmp(TBmpShape{4, 2, 24}));
    Page.ClickMm(130, 125);
    const TPoint corner = Page.Pixel(140, 130);
    Page.Move(corner);
    ASSERT_EQ(E.Mode, mdHoverCorner);
    MouseDown(E, Page.Core, TMouseButton::Left, corner.X, corner.Y, ssShift);
    const TPoint to = Page.At(160, 200);
    MouseMove(E, Page.Core, to.X, to.Y, ssShift);
    EXPECT_EQ(image.Rect, (TRect{120, 120, 160, 140})); // 40 wide: 20 high, as 4 x 2
}

TEST_F(DrawByDragTest, KeysActOnACornerHandleButWaitWhileItIsDragged) {
    Page.AddFrame({40, 40, 100, 100});
    Page.ClickMm(90, 90);
    const TPoint corner = Page.Pixel(100, 100);
    // Dragged: the selection's keys and the zoom keys wait, Escape keeps the resize as a step.
    Page.Move(corner);
    Page.Press(corner);
    ASSERT_EQ(E.Mode, mdResizeCorner);
    Page.MoveMm(120, 110);
    const int zoom = E.ZoomPosition;
    EXPECT_TRUE(Page.Key(VK_DELETE));
    EXPECT_TRUE(Page.Key(VK_ADD));
    EXPECT_EQ(E.Items.Frames.Count(), 1);
    EXPECT_EQ(E.ZoomPosition, zoom);
    Page.Key(VK_ESCAPE);
    Page.Release(Page.At(120, 110));
    EXPECT_EQ(E.Items.Frames[0].Rect, (TRect{40, 40, 120, 110}));
    EXPECT_EQ(E.History.UndoCount(), 1);
    // Resting on the handle holds nothing: Delete removes the frame and the handle is gone.
    const TPoint moved = Page.Pixel(120, 110);
    Page.Move(moved);
    ASSERT_EQ(E.Mode, mdHoverCorner);
    EXPECT_TRUE(Page.Key(VK_DELETE));
    EXPECT_EQ(E.Items.Frames.Count(), 0);
    EXPECT_EQ(E.Mode, mdIdle);
    Page.Press(moved);
    EXPECT_NE(E.Mode, mdResizeCorner);
}

TEST_F(DrawByDragTest, UndoWhileANewImageIsSpannedTakesThePlacedImageBackWhole) {
    // The placing tool has ended at the press; the button is still down, spanning the image.
    E.PendingImage = std::make_unique<TNyomtatoKep>();
    E.PendingImageSize = TSize{20, 10};
    E.Mode = mdPlaceImage;
    Page.PressMm(50, 50);
    Page.MoveMm(80, 70);
    ASSERT_EQ(E.Items.Images.Count(), 1);
    ASSERT_TRUE(E.Spanning);
    const TRect spanned = E.Items.Images[0].Rect;

    Page.Key(VK_Z, ssCtrl);
    EXPECT_EQ(E.Items.Images.Count(), 0);
    EXPECT_FALSE(E.History.IsOpen());
    EXPECT_FALSE(E.GestureOpen);
    EXPECT_EQ(E.History.RedoCount(), 1);
    // The pointer lets go: the rest of the drag and the release change nothing.
    Page.MoveMm(90, 90);
    Page.Release(Page.At(90, 90));
    EXPECT_EQ(E.Items.Images.Count(), 0);
    Page.Key(VK_Z, ssCtrl | ssShift);
    ASSERT_EQ(E.Items.Images.Count(), 1);
    EXPECT_EQ(E.Items.Images[0].Rect, spanned);
    EXPECT_TRUE(E.History.Matches(E));
}
