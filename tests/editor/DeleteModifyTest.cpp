#include <gtest/gtest.h>

#include "editor/commands/CommandTargets.h"
#include "editor/commands/ItemOperations.h"
#include "editor/CommandsFixture.h"

namespace {

class DeleteModifyTest : public CommandsTest {
protected:
    void DeleteAt(int32_t x, int32_t y) {
        StartDeleteTool(E, Core);
        Press(x, y);
    }
    void ModifyAt(int32_t x, int32_t y) {
        StartModifyTool(E, Core);
        Press(x, y);
    }
    template <class Item>
    Item& Add(TOwningList<Item>& list, TRect r) {
        Item& item = list.Add(std::make_unique<Item>());
        item.Rect = r;
        return item;
    }
    template <class Item, class List>
    Item& AddSquare(List& list) { // a square around (50, 50)
        Item& item = list.Add(std::make_unique<Item>());
        for (TPoint p : {TPoint{40, 40}, TPoint{60, 40}, TPoint{60, 60}, TPoint{40, 60}})
            item.AddPoint(p.X, p.Y);
        return item;
    }

    // Items of every kind under the point (50, 50), two of most kinds.
    void StackUnderOnePoint() {
        AddFrame({30, 30, 70, 70});
        for (int i = 0; i < 2; ++i) {
            Add(E.Items.Rectangles, {45, 45, 55, 55});
            AddSquare<TNyomtatoPoligon>(E.Items.Polygons);
            Add(E.Items.Texts, {48, 48, 52, 52});
        }
        Add(E.Items.Images, {48, 48, 52, 52});
        Add(E.Items.Captions, {48, 48, 52, 52});
        E.Items.Lines.Add(std::make_unique<TNyomtatoVonal>());
        E.Items.Lines[0].AddPoint(40, 50);
        E.Items.Lines[0].AddPoint(60, 50);
    }

    // What a search finds at (50, 50) time after time, each found item removed in turn.
    using TFind = std::optional<TKKItem> (*)(const TPageEditor&, int32_t, int32_t);
    std::vector<TKKItem> FoundInTurn(TFind find) {
        std::vector<TKKItem> found;
        while (const auto target = find(E, 100, 100)) {
            found.push_back(*target);
            RemoveItem(E, target->Kind, target->Index);
        }
        return found;
    }
};

} // namespace

TEST_F(DeleteModifyTest, DeleteAndModifySearchOverlappingItemsInTheirOrders) {
    StackUnderOnePoint();
    EXPECT_EQ(FoundInTurn(FindDeleteTarget), (std::vector<TKKItem>{{ikLine, 0},
                                                                   {ikText, 1},
                                                                   {ikText, 0},
                                                                   {ikCaption, 0},
                                                                   {ikImage, 0},
                                                                   {ikPolygon, 0},
                                                                   {ikPolygon, 0},
                                                                   {ikRectangle, 1},
                                                                   {ikRectangle, 0},
                                                                   {ikFrame, 0}}));
    StackUnderOnePoint();
    EXPECT_EQ(FoundInTurn(FindModifyTarget), (std::vector<TKKItem>{{ikLine, 0},
                                                                   {ikText, 1},
                                                                   {ikText, 0},
                                                                   {ikCaption, 0},
                                                                   {ikImage, 0},
                                                                   {ikPolygon, 1},
                                                                   {ikPolygon, 0},
                                                                   {ikRectangle, 1},
                                                                   {ikRectangle, 0},
                                                                   {ikFrame, 0}}));
}

TEST_F(DeleteModifyTest, BoxesAreHitByTheirMmRectAndLinesInANarrowBandAroundThem) {
    Add(E.Items.Rectangles, {10, 10, 20, 20});
    DeleteAt(20, 15); // right edge excluded
    EXPECT_EQ(E.Items.Rectangles.Count(), 1);
    E.Items.Lines.Add(std::make_unique<TNyomtatoVonal>());
    E.Items.Lines[0].AddPoint(40, 100); // y = 200 px
    E.Items.Lines[0].AddPoint(60, 100);
    StartDeleteTool(E, Core);
    PressInTool(E, Core, 100, 203);
    EXPECT_EQ(E.Items.Lines.Count(), 1);
    StartDeleteTool(E, Core);
    PressInTool(E, Core, 100, 198);
    EXPECT_EQ(E.Items.Lines.Count(), 0);
}

TEST_F(DeleteModifyTest, DeletingRenumbersTheReferencesOfEveryFrameAndKeepsAFramesMembers) {
    for (int i = 0; i < 3; ++i) Add(E.Items.Captions, {10 + 20 * i, 10, 15 + 20 * i, 15});
    AddFrame({100, 100, 150, 150});
    AddFrame({160, 100, 190, 150});
    AddFrame({170, 120, 180, 130});
    E.Items.Frames[0].Members.AddReference(ikCaption, 2);
    E.Items.Frames[0].Members.AddReference(ikFrame, 2);
    E.Items.Frames[1].Members.AddReference(ikCaption, 1);
    E.Items.Frames[2].Members.AddReference(ikFrame, 1);

    DeleteAt(12, 12); // caption 0 is in no frame
    EXPECT_EQ(E.Mode, mdIdle);
    EXPECT_EQ(E.InfoText, "Jelölje ki a törlendő elemet."); // the prompt stays
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Törlés");
    EXPECT_EQ(MembersOf(0), (std::vector<TKKItem>{{ikCaption, 1}, {ikFrame, 2}}));
    EXPECT_EQ(MembersOf(1), (std::vector<TKKItem>{{ikCaption, 0}}));

    DeleteAt(165, 105); // frame 1
    ASSERT_EQ(E.Items.Frames.Count(), 2);
    EXPECT_EQ(E.Items.Captions.Count(), 2); // its member stays
    EXPECT_EQ(MembersOf(0), (std::vector<TKKItem>{{ikCaption, 1}, {ikFrame, 1}}));
    EXPECT_EQ(MembersOf(1), std::vector<TKKItem>{});
}

TEST_F(DeleteModifyTest, TheCompassIsHitInsideItsSimpleOrFullOutline) {
    // Centre (100, 100) mm = (200, 200) px; half-height 15 mm = 30 px. The simple mark is a
    // diamond 7 px wide each way; the full star reaches 30 px to each side.
    E.Compass = TCompass{true, {100, 100}, 15, true};
    Add(E.Items.Rectangles, {100, 95, 120, 105});
    Add(E.Items.Rectangles, {100, 95, 120, 105});
    StartDeleteTool(E, Core);
    PressInTool(E, Core, 220, 200);
    EXPECT_TRUE(E.Compass->Visible);
    EXPECT_EQ(E.Items.Rectangles.Count(), 1); // the press went past it

    E.Compass->Simple = false;
    StartDeleteTool(E, Core);
    PressInTool(E, Core, 220, 200);
    EXPECT_FALSE(E.Compass->Visible);
    EXPECT_EQ(E.Items.Rectangles.Count(), 1);
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Törlés");

    StartDeleteTool(E, Core); // a hidden compass is not hit
    PressInTool(E, Core, 220, 200);
    EXPECT_EQ(E.Items.Rectangles.Count(), 0);
}

TEST_F(DeleteModifyTest, LinesGetTheirFilledPenDialogAndFilledItemsTheColourDialog) {
    E.Items.Lines.Add(std::make_unique<TNyomtatoVonal>());
    E.Items.Lines[0].AddPoint(10, 10);
    E.Items.Lines[0].AddPoint(30, 10);
    E.Items.Lines[0].Width = 4;
    Dialogs.LineScript.Ok(TLineDialogData{clGreen, 3, 1});
    ModifyAt(20, 10);
    EXPECT_EQ(Dialogs.LineScript.Shown.at(0).Width, 4);
    EXPECT_TRUE(E.Items.Lines[0].Color == clGreen && E.Items.Lines[0].Width == 3);

    Add(E.Items.Rectangles, {50, 50, 60, 60}).Color = clBlue;
    ModifyAt(55, 55); // cancelled
    S.Colors.Answers = {clWhite};
    ModifyAt(55, 55);
    EXPECT_EQ(S.Colors.Opened, (std::vector<TColor>{clBlue, clBlue})); // the item's colour
    EXPECT_EQ(E.Items.Rectangles[0].Color, clWhite);
    EXPECT_EQ(E.RepeatMenu.VisibleCount(), 1);
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Módosítás");
}

TEST_F(DeleteModifyTest, ACaptionIsShownWithItsFontInMmAndMeasuredAgainAfterOk) {
    AddFrame({0, 0, 100, 100});
    TNyomtatoSzoveg& caption = Add(E.Items.Captions, {20, 30, 26, 34});
    caption.Text = "old";
    caption.FontHeightMm = -4;
    caption.Font.Height = -16;
    E.Items.Frames[0].Members.AddReference(ikCaption, 0);
    Dialogs.ModifyCaptionScript.Answers.push_back([](TTextDialogData& d) {
        d.X = "150";
        d.Text = "newer";
        d.Font.Height = -2;
    });
    ModifyAt(21, 31);
    const TTextDialogData& shown = Dialogs.ModifyCaptionScript.Shown.at(0);
    EXPECT_EQ(shown.X + " " + shown.Y + " " + shown.Text, "20 30 old");
    EXPECT_EQ(shown.Font.Height, -4);
    EXPECT_TRUE(shown.TextEditable);
    EXPECT_EQ(caption.Text, "newer");
    EXPECT_EQ(caption.Font.Height, -8);
    EXPECT_EQ(caption.Rect, (TRect{150, 30, 155, 32}));
    EXPECT_EQ(E.Items.Frames[0].Members.Count(), 1); // moving out keeps the membership

    // A locked caption keeps its text; bad coordinates change nothing.
    caption.TextLocked = true;
    Dialogs.ModifyCaptionScript.Answers.push_back([](TTextDialogData& d) { d.Text = "x"; });
    Dialogs.ModifyCaptionScript.Answers.push_back([](TTextDialogData& d) { d.Y = "3O"; });
    ModifyAt(151, 31);
    ModifyAt(151, 31);
    EXPECT_FALSE(Dialogs.ModifyCaptionScript.Shown.at(1).TextEditable);
    EXPECT_EQ(caption.Text, "newer");
    EXPECT_EQ(caption.Rect, (TRect{150, 30, 155, 32}));
    EXPECT_EQ(S.Messages.Shown, (std::vector<std::string>{"Módosítás: Hibás szövegkoordináták !"}));
}

TEST_F(DeleteModifyTest, AnImageDialogWithABadFieldIsShownAgainAsTyped) {
    Add(E.Items.Images, {10, 20, 90, 60});
    Dialogs.ModifyImageScript.Answers.push_back([](TImageDialogData& d) { d.Width = "0"; });
    Dialogs.ModifyImageScript.Answers.push_back([](TImageDialogData& d) {
        d.Left = "30";
        d.Width = "40";
        d.Height = "20";
    });
    ModifyAt(11, 21);
    ASSERT_EQ(Dialogs.ModifyImageScript.Shown.size(), 2u);
    const TImageDialogData& first = Dialogs.ModifyImageScript.Shown[0];
    EXPECT_EQ(first.Left + " " + first.Top + " " + first.Width + " " + first.Height, "10 20 80 40");
    EXPECT_EQ(Dialogs.ModifyImageScript.Shown[1].Width, "0");
    EXPECT_EQ(S.Messages.Shown,
              (std::vector<std::string>{"Módosítás: Hibás képkoordináták ! (Width)"}));
    EXPECT_EQ(E.Items.Images[0].Rect, (TRect{30, 20, 70, 40}));
}

TEST_F(DeleteModifyTest, AFrameTakesItsFieldsBackButItsMembersDoNotMove) {
    Add(E.Items.Captions, {20, 20, 30, 25});
    AddFrame({10, 10, 100, 100});
    E.Items.Frames[0].Members.AddReference(ikCaption, 0);
    Dialogs.ModifyFrameScript.Answers.push_back([](TFrameDialogData& d) {
        d.Rect = {50, 50, 150, 150};
        d.Title = "New";
        d.FillStyle = 1;
    });
    ModifyAt(15, 15);
    EXPECT_EQ(Dialogs.ModifyFrameScript.Shown.at(0).Area.Right, 200);
    const TNyomtatoKeret& f = E.Items.Frames[0];
    EXPECT_EQ(f.Rect, (TRect{50, 50, 150, 150}));
    EXPECT_TRUE(f.Title == "New" && f.FillStyle == 1 && f.Members.Count() == 1);
    EXPECT_EQ(E.Items.Captions[0].Rect, (TRect{20, 20, 30, 25}));
}
