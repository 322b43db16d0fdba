// The selection driven by pointer and key events: picking, Shift, the rubber band, and what
// Delete, the arrows, Enter and Ctrl+A do to the selected items.
#include <gtest/gtest.h>

#include "editor/commands/SelectionCommands.h"
#include "editor/Selection.h"
#include "editor/Tools.h"
#include "MousePage.h"
#include "PageDescription.h"

namespace {

std::vector<TKKItem> Members(const TNyomtatoKeret& frame) {
    std::vector<TKKItem> out;
    for (int i = 0; i < frame.Members.Count(); ++i) out.push_back(frame.Members[i]);
    return out;
}

// Printable from (4, 4) to (206, 293) mm.
struct SelectionTest : ::testing::Test {
    TMousePage Page;
    TPageEditor& E = Page.E;
};

} // namespace

TEST_F(SelectionTest, APickSelectsShiftTogglesAndTheEmptySheetClears) {
    Page.AddCaption({20, 20, 40, 30});
    Page.AddRectangle({60, 20, 80, 40});
    // The press still starts the drag the pick order decides.
    Page.PressMm(25, 25);
    EXPECT_EQ(E.Mode, mdDragCaption);
    Page.Release(Page.At(25, 25));
    EXPECT_EQ(E.Selection, (std::vector<TKKItem>{{ikCaption, 0}}));

    Page.ClickMm(70, 30, ssShift);
    EXPECT_EQ(E.Selection, (std::vector<TKKItem>{{ikCaption, 0}, {ikRectangle, 0}}));
    // A press on an item already selected keeps the group (to drag it or open its menu).
    Page.ClickMm(70, 30);
    EXPECT_EQ(E.Selection.size(), 2u);
    Page.ClickMm(25, 25, ssShift);
    EXPECT_EQ(E.Selection, (std::vector<TKKItem>{{ikRectangle, 0}}));

    Page.ClickMm(150, 150);
    EXPECT_TRUE(E.Selection.empty());
    EXPECT_EQ(E.Mode, mdIdle);
    EXPECT_EQ(E.History.UndoCount(), 0);
}

TEST_F(SelectionTest, TheRubberBandSelectsWhatItEnclosesWholly) {
    Page.AddCaption({20, 20, 40, 30});
    Page.AddRectangle({50, 20, 90, 40});
    Page.AddLine({{22, 50}, {38, 60}});
    Page.ClickMm(70, 30); // selected before, dropped by a band without Shift
    Page.PressMm(10, 10);
    EXPECT_EQ(E.Mode, mdRubberBand);
    Page.MoveMm(60, 70);
    Page.Release(Page.At(60, 70));
    EXPECT_EQ(E.Selection, (std::vector<TKKItem>{{ikCaption, 0}, {ikLine, 0}}));
    // With Shift the band adds to the selection.
    const TPoint a = Page.At(45, 15), b = Page.At(95, 45);
    MouseDown(E, Page.Core, TMouseButton::Left, a.X, a.Y, ssShift);
    MouseUp(E, Page.Core, TMouseButton::Left, b.X, b.Y, ssShift);
    EXPECT_EQ(E.Selection.size(), 3u);
    EXPECT_EQ(E.Mode, mdIdle);
    // Shift let go before the release: the band still adds, and names each item once.
    const TPoint c = Page.At(10, 10);
    MouseDown(E, Page.Core, TMouseButton::Left, c.X, c.Y, ssShift);
    MouseUp(E, Page.Core, TMouseButton::Left, b.X, b.Y, 0);
    EXPECT_EQ(E.Selection, (std::vector<TKKItem>{{ikCaption, 0}, {ikLine, 0}, {ikRectangle, 0}}));
}

TEST_F(SelectionTest, DeletingAFrameMemberOrAFrameKeepsEveryReferenceValid) {
    TNyomtatoKeret& frame = Page.AddFrame({10, 10, 120, 120});
    Page.AddCaption({20, 20, 40, 30});
    Page.AddCaption({20, 40, 40, 50});
    Page.AddRectangle({60, 60, 80, 80});
    frame.Members.AddReference(ikCaption, 0);
    frame.Members.AddReference(ikCaption, 1);
    frame.Members.AddReference(ikRectangle, 0);
    const std::string before = DescribePage(E);

    Page.ClickMm(25, 25);
    EXPECT_TRUE(Page.Key(VK_DELETE));
    ASSERT_EQ(E.Items.Captions.Count(), 1);
    EXPECT_EQ(E.Items.Captions[0].Rect.Top, 40);
    EXPECT_EQ(Members(E.Items.Frames[0]), (std::vector<TKKItem>{{ikCaption, 0}, {ikRectangle, 0}}));
    EXPECT_TRUE(E.Selection.empty());

    // The frame goes, its members stay on the page.
    Page.ClickMm(100, 100);
    EXPECT_EQ(E.Selection, (std::vector<TKKItem>{{ikFrame, 0}}));
    Page.Key(VK_DELETE);
    EXPECT_EQ(E.Items.Frames.Count(), 0);
    EXPECT_EQ(E.Items.Captions.Count(), 1);
    EXPECT_EQ(E.Items.Rectangles.Count(), 1);

    Page.Key(VK_Z, ssCtrl);
    Page.Key(VK_Z, ssCtrl);
    EXPECT_EQ(DescribePage(E), before);
}

TEST_F(SelectionTest, ArrowsMoveBoxesWithinTheDragLimitsOneStepAKey) {
    TNyomtatoNegyszog& rect = Page.AddRectangle({195, 100, 205, 110});
    TNyomtatoKeret& frame = Page.AddFrame({150, 150, 205, 200});
    TNyomtatoSzoveg& member = Page.AddCaption({160, 160, 170, 165});
    frame.Members.AddReference(ikCaption, 0);

    Page.ClickMm(200, 105);
    // A rectangle must stay 1 mm inside the right edge (206): one more millimetre is refused.
    EXPECT_TRUE(Page.Key(VK_RIGHT));
    EXPECT_EQ(rect.Rect, (TRect{195, 100, 205, 110}));
    EXPECT_EQ(E.History.UndoCount(), 0);
    Page.Key(VK_DOWN, ssShift);
    EXPECT_EQ(rect.Rect, (TRect{195, 110, 205, 120}));
    Page.Key(VK_LEFT);
    EXPECT_EQ(rect.Rect, (TRect{194, 110, 204, 120}));
    EXPECT_EQ(E.History.UndoCount(), 2);

    // A frame may touch the edge and takes its members along.
    Page.ClickMm(190, 190);
    ASSERT_EQ(E.Selection, (std::vector<TKKItem>{{ikFrame, 0}}));
    Page.Key(VK_RIGHT);
    EXPECT_EQ(frame.Rect, (TRect{151, 150, 206, 200}));
    EXPECT_EQ(member.Rect, (TRect{161, 160, 171, 165}));
    Page.Key(VK_RIGHT);
    EXPECT_EQ(frame.Rect.Right, 206);
    Page.Key(VK_Z, ssCtrl);
    EXPECT_EQ(frame.Rect.Left, 150);
    EXPECT_EQ(member.Rect.Left, 160);
}

TEST_F(SelectionTest, AMemberSelectedWithItsFrameMovesOnce) {
    TNyomtatoKeret& frame = Page.AddFrame({50, 50, 150, 150});
    TNyomtatoSzoveg& member = Page.AddCaption({60, 60, 70, 65});
    frame.Members.AddReference(ikCaption, 0);
    Page.Key(VK_A, ssCtrl);
    ASSERT_EQ(E.Selection.size(), 2u);
    Page.Key(VK_UP);
    EXPECT_EQ(frame.Rect.Top, 49);
    EXPECT_EQ(member.Rect.Top, 59);
}

TEST_F(SelectionTest, SelectAllDeleteAndUndoGiveThePageBackFieldByField) {
    TNyomtatoKeret& frame = Page.AddFrame({10, 10, 120, 120});
    Page.AddCaption({20, 20, 40, 30}).Text = "Hello";
    Page.AddText({20, 40, 40, 50});
    Page.AddImage({60, 20, 90, 40});
    Page.AddRectangle({60, 60, 80, 80});
    Page.AddLine({{130, 130}, {150, 160}});
    Page.AddPolygon({{130, 10}, {160, 10}, {150, 40}});
    frame.Members.AddReference(ikCaption, 0);
    frame.Members.AddReference(ikPolygon, 0);
    const std::string before = DescribePage(E);

    Page.Key(VK_A, ssCtrl);
    EXPECT_EQ(E.Selection.size(), 7u);
    Page.Key(VK_DELETE);
    for (int32_t kind = ikCaption; kind <= ikFrame; ++kind) EXPECT_EQ(E.Items.CountOf(kind), 0);
    EXPECT_EQ(E.History.UndoCount(), 1);
    Page.Key(VK_Z, ssCtrl);
    EXPECT_EQ(DescribePage(E), before);
    Page.Key(VK_Z, ssShift | ssCtrl);
    EXPECT_EQ(E.Items.Frames.Count(), 0);
}

TEST_F(SelectionTest, EnterF2AndADoubleClickOpenModifyOfOneSelectedItemOnly) {
    Page.AddCaption({20, 20, 40, 30});
    Page.AddFrame({60, 60, 100, 100});
    Page.ClickMm(25, 25);
    Page.Key(VK_RETURN);
    Page.Key(VK_F2);
    EXPECT_EQ(Page.Dialogs.ModifyDialogs, (std::vector<std::string>{"caption", "caption"}));
    Page.Key(VK_A, ssCtrl);
    Page.Key(VK_RETURN);
    EXPECT_EQ(Page.Dialogs.ModifyDialogs.size(), 2u);
    const TPoint p = Page.At(80, 80);
    MouseDoubleClick(E, Page.Core, p.X, p.Y);
    EXPECT_EQ(Page.Dialogs.ModifyDialogs.back(), "frame");
    EXPECT_EQ(E.Selection, (std::vector<TKKItem>{{ikFrame, 0}}));
    // While a tool runs the keys leave the selection alone.
    StartTool(E, Page.Core, mdDeleteTool);
    EXPECT_TRUE(Page.Key(VK_DELETE));
    EXPECT_EQ(E.Items.Frames.Count(), 1);
}

TEST_F(SelectionTest, TheSelectionNeverNamesAnItemThatIsGone) {
    Page.AddCaption({20, 20, 40, 30});
    Page.AddCaption({20, 40, 40, 50});
    Page.ClickMm(25, 45);
    // The Delete tool removes the first caption: the selected one is renumbered.
    StartTool(E, Page.Core, mdDeleteTool);
    Page.PressMm(25, 25);
    EXPECT_EQ(E.Selection, (std::vector<TKKItem>{{ikCaption, 0}}));
    Page.Key(VK_Z, ssCtrl); // the first caption is back; the selection still exists
    for (const TKKItem& item : E.Selection) EXPECT_TRUE(ItemExists(E.Items, item));
    Page.Key(VK_A, ssCtrl);
    Page.Key(VK_DELETE);
    Page.Key(VK_Z, ssCtrl);
    Page.Key(VK_A, ssCtrl);
    E.History.Undo(E); // back to one caption, with two selected
    Page.Key(VK_Z, ssCtrl);
    for (const TKKItem& item : E.Selection) EXPECT_TRUE(ItemExists(E.Items, item));
    E.ResetPage(Page.Printer);
    EXPECT_TRUE(E.Selection.empty());
}

TEST_F(SelectionTest, PutIntoAndTakeOutOfAFrameAreOneStepEach) {
    Page.AddFrame({10, 10, 100, 100});
    Page.AddFrame({20, 20, 60, 60});
    Page.AddRectangle({30, 30, 40, 40});
    const TKKItem rect{ikRectangle, 0};
    // The innermost (last) frame holding its corner.
    EXPECT_EQ(FrameToPutInto(E, rect), 1);
    EXPECT_TRUE(PutIntoFrame(E, rect));
    EXPECT_EQ(Members(E.Items.Frames[1]), (std::vector<TKKItem>{rect}));
    EXPECT_FALSE(PutIntoFrame(E, rect)); // already in one
    EXPECT_TRUE(TakeOutOfFrame(E, rect));
    EXPECT_TRUE(Members(E.Items.Frames[1]).empty());
    EXPECT_EQ(E.History.UndoCount(), 2);
    Page.Key(VK_Z, ssCtrl);
    EXPECT_EQ(Members(E.Items.Frames[1]), (std::vector<TKKItem>{rect}));
    // A frame never goes into itself or into a frame it holds.
    E.Items.Frames[0].Members.AddReference(ikFrame, 1);
    EXPECT_EQ(FrameToPutInto(E, {ikFrame, 0}), std::nullopt);
}
