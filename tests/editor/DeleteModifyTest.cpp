#include <gtest/gtest.h>

#include "editor/CommandTargets.h"
#include "editor/CommandsFixture.h"

namespace {

class DeleteModifyTest : public CommandsTest {
protected:
    void DeleteAt(int32_t x, int32_t y) {
        StartDeleteTool(E, Core);
        EXPECT_TRUE(Press(x, y));
    }
    void ModifyAt(int32_t x, int32_t y) {
        StartModifyTool(E, Core);
        EXPECT_TRUE(Press(x, y));
    }
    std::unique_ptr<TNyomtatoSzoveg> Caption(const char* text, TRect r) {
        auto c = Box<TNyomtatoSzoveg>(r);
        c->Text = text;
        return c;
    }
    std::unique_ptr<TNyomtatoSorok> Text(const char* text, TRect r) {
        auto t = Box<TNyomtatoSorok>(r);
        t->Text = text;
        return t;
    }
    std::unique_ptr<TNyomtatoNegyszog> Rectangle(TRect r, TColor color) {
        auto item = Box<TNyomtatoNegyszog>(r);
        item->Color = color;
        return item;
    }
    std::unique_ptr<TNyomtatoPoligon> Polygon(TColor color) {
        // A square around (50, 50).
        auto p = Points<TNyomtatoPoligon>({{40, 40}, {60, 40}, {60, 60}, {40, 60}});
        p->Color = color;
        return p;
    }

    // Items of every kind that all lie under the point (50, 50), two of some kinds.
    void StackUnderOnePoint() {
        TPageItems& items = E.Items;
        items.Frames.Add(Frame({30, 30, 70, 70}));
        items.Rectangles.Add(Rectangle({45, 45, 55, 55}, clRed));
        items.Rectangles.Add(Rectangle({45, 45, 55, 55}, clBlue));
        items.Polygons.Add(Polygon(clRed));
        items.Polygons.Add(Polygon(clBlue));
        items.Images.Add(Box<TNyomtatoKep>({48, 48, 52, 52}));
        items.Captions.Add(Caption("caption", {48, 48, 52, 52}));
        items.Texts.Add(Text("first", {48, 48, 52, 52}));
        items.Texts.Add(Text("second", {48, 48, 52, 52}));
        items.Lines.Add(Points<TNyomtatoVonal>({{40, 50}, {60, 50}}));
    }

    // Which item a Delete press at (50, 50) takes away next, as "kind: what is left".
    std::string NextDeleted() {
        const TPageItems& items = E.Items;
        const int before[] = {items.Lines.Count(),    items.Texts.Count(),    items.Captions.Count(),
                              items.Images.Count(),   items.Polygons.Count(), items.Rectangles.Count(),
                              items.Frames.Count()};
        DeleteAt(50, 50);
        if (items.Lines.Count() < before[0]) return "line";
        if (items.Texts.Count() < before[1])
            return "text, left " + (items.Texts.Count() ? items.Texts[0].Text : std::string("none"));
        if (items.Captions.Count() < before[2]) return "caption";
        if (items.Images.Count() < before[3]) return "image";
        if (items.Polygons.Count() < before[4])
            return "polygon, left " + (items.Polygons.Count() ? std::to_string(items.Polygons[0].Color) : "none");
        if (items.Rectangles.Count() < before[5])
            return "rectangle, left " + (items.Rectangles.Count() ? std::to_string(items.Rectangles[0].Color) : "none");
        if (items.Frames.Count() < before[6]) return "frame";
        return "nothing";
    }
};

const std::string kRed = std::to_string(clRed);
const std::string kBlue = std::to_string(clBlue);

} // namespace

TEST_F(DeleteModifyTest, DeleteTakesLinesFirstThenBoxesPolygonsFirstToLastThenRectanglesAndFrames) {
    StackUnderOnePoint();
    EXPECT_EQ(NextDeleted(), "line");
    EXPECT_EQ(NextDeleted(), "text, left first");
    EXPECT_EQ(NextDeleted(), "text, left none");
    EXPECT_EQ(NextDeleted(), "caption");
    EXPECT_EQ(NextDeleted(), "image");
    EXPECT_EQ(NextDeleted(), "polygon, left " + kBlue); // the first polygon goes first
    EXPECT_EQ(NextDeleted(), "polygon, left none");
    EXPECT_EQ(NextDeleted(), "rectangle, left " + kRed); // the last rectangle goes first
    EXPECT_EQ(NextDeleted(), "rectangle, left none");
    EXPECT_EQ(NextDeleted(), "frame");
    EXPECT_EQ(NextDeleted(), "nothing");
}

TEST_F(DeleteModifyTest, APressEndsTheDeleteToolAndKeepsItsPrompt) {
    E.Items.Rectangles.Add(Rectangle({10, 10, 20, 20}, clRed));
    DeleteAt(100, 100); // nothing there
    EXPECT_EQ(E.Mode, mdIdle);
    EXPECT_EQ(E.InfoText, "Jelölje ki a törlendő elemet.");
    EXPECT_EQ(S.Screen.Current, crArrow);
    EXPECT_TRUE(E.ForgetPictureCursor);
    EXPECT_TRUE(E.RepeatTimerEnabled);
    EXPECT_FALSE(E.RepaintRequested);
    EXPECT_FALSE(E.RepeatMenu.Entries[0].Visible);

    // Boxes are hit by their mm rectangle, right and bottom excluded.
    DeleteAt(20, 15);
    EXPECT_EQ(E.Items.Rectangles.Count(), 1);
    DeleteAt(19, 19);
    EXPECT_EQ(E.Items.Rectangles.Count(), 0);
    EXPECT_TRUE(E.RepaintRequested);
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Törlés");
}

TEST_F(DeleteModifyTest, ALineIsHitInABandOfAFewPicturePixelsAroundItsPath) {
    E.Items.Lines.Add(Points<TNyomtatoVonal>({{40, 100}, {60, 100}})); // y = 200 px
    StartDeleteTool(E, Core);
    PressInTool(E, Core, 100, 203);
    EXPECT_EQ(E.Items.Lines.Count(), 1);
    StartDeleteTool(E, Core);
    PressInTool(E, Core, 100, 198);
    EXPECT_EQ(E.Items.Lines.Count(), 0);
}

TEST_F(DeleteModifyTest, DeletingACaptionInNoFrameRenumbersTheCaptionReferencesOfEveryFrame) {
    for (int i = 0; i < 3; ++i) E.Items.Captions.Add(Caption("c", {10 + 20 * i, 10, 15 + 20 * i, 15}));
    E.Items.Frames.Add(Frame({100, 100, 150, 150}));
    E.Items.Frames.Add(Frame({160, 100, 190, 150}));
    E.Items.Frames[0].Members.AddReference(ikCaption, 2);
    E.Items.Frames[1].Members.AddReference(ikText, 0);
    E.Items.Frames[1].Members.AddReference(ikCaption, 1);

    DeleteAt(12, 12); // caption 0, a member of no frame
    ASSERT_EQ(E.Items.Captions.Count(), 2);
    EXPECT_EQ(E.Items.Frames[0].Members[0], (TKKItem{ikCaption, 1}));
    EXPECT_EQ(E.Items.Frames[1].Members[0], (TKKItem{ikText, 0}));
    EXPECT_EQ(E.Items.Frames[1].Members[1], (TKKItem{ikCaption, 0}));

    DeleteAt(32, 12); // caption 1 (now 0), a member of the second frame
    EXPECT_EQ(E.Items.Frames[1].Members.Count(), 1);
    EXPECT_EQ(E.Items.Frames[0].Members[0], (TKKItem{ikCaption, 0}));
}

TEST_F(DeleteModifyTest, DeletingAFrameKeepsItsMembersAndRenumbersLaterFrames) {
    E.Items.Captions.Add(Caption("member", {50, 50, 60, 55}));
    E.Items.Frames.Add(Frame({10, 10, 100, 100}));
    E.Items.Frames.Add(Frame({120, 10, 190, 100}));
    E.Items.Frames.Add(Frame({130, 20, 150, 40}));
    E.Items.Frames[0].Members.AddReference(ikCaption, 0);
    E.Items.Frames[1].Members.AddReference(ikFrame, 2);
    E.Items.Frames[2].Members.AddReference(ikFrame, 0); // a loaded document may hold this

    DeleteAt(15, 15);
    ASSERT_EQ(E.Items.Frames.Count(), 2);
    EXPECT_EQ(E.Items.Captions.Count(), 1);
    EXPECT_EQ(E.Items.Frames[0].Members[0], (TKKItem{ikFrame, 1}));
    EXPECT_EQ(E.Items.Frames[1].Members.Count(), 0);
}

TEST_F(DeleteModifyTest, TheCompassIsDeletedWhenThePressLiesInsideItsOutline) {
    // At (100, 100) mm with a half-height of 15 mm: centre (200, 200) px, arms of 30 px.
    E.Compass = TCompass{true, {100, 100}, 15, true};
    EXPECT_EQ(CompassOutline(E), (std::vector<TPoint>{{200, 170}, {207, 200}, {200, 230}, {193, 200}}));
    EXPECT_EQ(CompassOutline(TPageEditor{}), std::vector<TPoint>{});

    E.Items.Rectangles.Add(Rectangle({100, 95, 120, 105}, clRed));
    // The simple mark is a narrow diamond: 20 px right of the centre is outside it.
    StartDeleteTool(E, Core);
    PressInTool(E, Core, 220, 200);
    EXPECT_TRUE(E.Compass->Visible);
    EXPECT_EQ(E.Items.Rectangles.Count(), 0); // the press went to the rectangle below

    // The full star reaches 30 px to each side.
    E.Compass->Simple = false;
    EXPECT_EQ(CompassOutline(E).size(), 8u);
    E.Items.Rectangles.Add(Rectangle({100, 95, 120, 105}, clRed));
    StartDeleteTool(E, Core);
    PressInTool(E, Core, 220, 200);
    EXPECT_FALSE(E.Compass->Visible);
    EXPECT_EQ(E.Items.Rectangles.Count(), 1); // the compass took the press
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Törlés");

    // A hidden compass is not hit.
    StartDeleteTool(E, Core);
    PressInTool(E, Core, 220, 200);
    EXPECT_EQ(E.Items.Rectangles.Count(), 0);
}

TEST_F(DeleteModifyTest, ModifyPicksLinesFirstAndEveryListFromTheLast) {
    StackUnderOnePoint();
    Dialogs.LineScript.Ok(TLineDialogData{clGreen, 3, 1});
    ModifyAt(50, 50);
    EXPECT_EQ(E.Items.Lines[0].Color, clGreen);
    EXPECT_EQ(Dialogs.LineFilled, (std::vector<bool>{true}));

    E.Items.Lines.Delete(0);
    Dialogs.ModifyTextScript.Cancel();
    ModifyAt(50, 50);
    EXPECT_EQ(Dialogs.ModifyTextScript.Shown.at(0).Text, "second");

    E.Items.Texts.Delete(1);
    E.Items.Texts.Delete(0);
    Dialogs.ModifyCaptionScript.Cancel();
    ModifyAt(50, 50);
    EXPECT_EQ(Dialogs.ModifyCaptionScript.Shown.size(), 1u);

    E.Items.Captions.Delete(0);
    Dialogs.ModifyImageScript.Cancel();
    ModifyAt(50, 50);
    EXPECT_EQ(Dialogs.ModifyImageScript.Shown.size(), 1u);

    // Polygons from the last, unlike Delete; then rectangles from the last; then frames.
    E.Items.Images.Delete(0);
    S.Colors.Answers = {clWhite, clWhite, clWhite};
    ModifyAt(50, 50);
    EXPECT_EQ(E.Items.Polygons[1].Color, clWhite);
    EXPECT_EQ(S.Colors.Opened.back(), clBlue); // it opens with the item's colour
    E.Items.Polygons.Clear();
    ModifyAt(50, 50);
    EXPECT_EQ(E.Items.Rectangles[1].Color, clWhite);
    EXPECT_EQ(E.Items.Rectangles[0].Color, clRed);
    E.Items.Rectangles.Clear();
    Dialogs.ModifyFrameScript.Cancel();
    ModifyAt(50, 50);
    EXPECT_EQ(Dialogs.ModifyFrameScript.Shown.size(), 1u);
    EXPECT_EQ(E.RepeatMenu.VisibleCount(), 1);
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Módosítás");
}

TEST_F(DeleteModifyTest, ModifyingACaptionShowsItsValuesAndMeasuresTheResult) {
    E.Items.Frames.Add(Frame({0, 0, 100, 100}));
    auto caption = Caption("old", {20, 30, 26, 34});
    caption->FontHeightMm = -4;
    caption->Font.Height = -16;
    caption->Font.Name = "Arial";
    caption->FillBackground = true;
    E.Items.Captions.Add(std::move(caption));
    E.Items.Frames[0].Members.AddReference(ikCaption, 0);

    Dialogs.ModifyCaptionScript.Edit([](TTextDialogData& d) {
        d.X = "150";
        d.Text = "newer";
        d.Font.Height = -2;
        d.FillBackground = false;
    });
    ModifyAt(21, 31);
    const TTextDialogData& shown = Dialogs.ModifyCaptionScript.Shown.at(0);
    EXPECT_EQ(shown.X, "20");
    EXPECT_EQ(shown.Y, "30");
    EXPECT_EQ(shown.Text, "old");
    EXPECT_TRUE(shown.FillBackground);
    EXPECT_EQ(shown.Font.Height, -4); // the dialog sees the height in mm
    EXPECT_EQ(shown.Font.Name, "Arial");
    EXPECT_TRUE(shown.TextEditable);

    const TNyomtatoSzoveg& c = E.Items.Captions[0];
    EXPECT_EQ(c.Text, "newer");
    EXPECT_EQ(c.FontHeightMm, -2);
    EXPECT_EQ(c.Font.Height, -8);
    EXPECT_FALSE(c.FillBackground);
    EXPECT_EQ(c.Rect, (TRect{150, 30, 155, 32})); // 5 characters of 4 px by 8 px
    // Memberships are made when items are created; moving out of the frame keeps it.
    EXPECT_EQ(E.Items.Frames[0].Members.Count(), 1);
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Módosítás");
}

TEST_F(DeleteModifyTest, LockedAndScaleCaptionsKeepTheirText) {
    auto caption = Caption("1 : 100", {20, 30, 26, 34});
    caption->ScaleCaption = true;
    E.Items.Captions.Add(std::move(caption));
    Dialogs.ModifyCaptionScript.Edit([](TTextDialogData& d) { d.Text = "changed"; });
    ModifyAt(21, 31);
    EXPECT_FALSE(Dialogs.ModifyCaptionScript.Shown.at(0).TextEditable);
    EXPECT_EQ(E.Items.Captions[0].Text, "1 : 100");
}

TEST_F(DeleteModifyTest, BadTextCoordinatesOrACancelledDialogChangeNothing) {
    E.Items.Texts.Add(Text("a\r\nb", {20, 30, 26, 34}));
    E.Items.Texts[0].LineCount = 2;
    Dialogs.ModifyTextScript.Edit([](TTextDialogData& d) {
        d.Y = "3O";
        d.Text = "lost";
    });
    ModifyAt(21, 31);
    ASSERT_EQ(S.Messages.Shown.size(), 1u);
    EXPECT_EQ(S.Messages.Shown[0].Text, "Hibás szövegkoordináták !");
    EXPECT_EQ(S.Messages.Shown[0].Flags, MB_ICONWARNING);
    EXPECT_EQ(Dialogs.ModifyTextScript.Shown.at(0).LineCount, 2);

    Dialogs.ModifyTextScript.Cancel();
    ModifyAt(21, 31);
    EXPECT_EQ(E.Items.Texts[0].Text, "a\r\nb");
    EXPECT_EQ(E.Items.Texts[0].Rect, (TRect{20, 30, 26, 34}));
    EXPECT_FALSE(E.RepaintRequested);
    EXPECT_FALSE(E.RepeatMenu.Entries[0].Visible);

    Dialogs.ModifyTextScript.Edit([](TTextDialogData& d) {
        d.X = "-5";
        d.Text = "one\r\ntwo\r\nthree";
        d.LineCount = 3;
    });
    ModifyAt(21, 31);
    EXPECT_EQ(E.Items.Texts[0].LineCount, 3);
    EXPECT_EQ(E.Items.Texts[0].Rect.Left, -5);
}

TEST_F(DeleteModifyTest, AnImageDialogWithABadFieldIsShownAgainAsTyped) {
    auto image = Box<TNyomtatoKep>({10, 20, 90, 60});
    image->Picture->HasImage = false;
    E.Items.Images.Add(std::move(image));
    Dialogs.ModifyImageScript.Edit([](TImageDialogData& d) { d.Width = "0"; });
    Dialogs.ModifyImageScript.Edit([](TImageDialogData& d) {
        d.Left = "30";
        d.Width = "40";
        d.Height = "20";
    });
    ModifyAt(11, 21);
    ASSERT_EQ(Dialogs.ModifyImageScript.Shown.size(), 2u);
    const TImageDialogData& first = Dialogs.ModifyImageScript.Shown[0];
    EXPECT_EQ(first.Left, "10");
    EXPECT_EQ(first.Top, "20");
    EXPECT_EQ(first.Width, "80");
    EXPECT_EQ(first.Height, "40");
    EXPECT_EQ(Dialogs.ModifyImageScript.Shown[1].Width, "0");
    ASSERT_EQ(S.Messages.Shown.size(), 1u);
    EXPECT_EQ(S.Messages.Shown[0].Text, "Hibás képkoordináták ! (Width)");
    EXPECT_EQ(E.Items.Images[0].Rect, (TRect{30, 20, 70, 40}));
}

TEST_F(DeleteModifyTest, AFrameTakesEveryFieldBackButItsMembersStay) {
    E.Items.Captions.Add(Caption("inside", {20, 20, 30, 25}));
    E.Items.Frames.Add(Frame({10, 10, 100, 100}));
    E.Items.Frames[0].Members.AddReference(ikCaption, 0);
    E.Items.Frames[0].Title = "Title";

    Dialogs.ModifyFrameScript.Edit([](TFrameDialogData& d) {
        d.Rect = {50, 50, 150, 150};
        d.BorderColor = clRed;
        d.FillColor = clYellow;
        d.Shadow = false;
        d.FillStyle = 1;
        d.Title = "New";
        d.TitleAlignment = 2;
        d.TitleFont.Height = 12;
    });
    ModifyAt(15, 15);
    const TFrameDialogData& shown = Dialogs.ModifyFrameScript.Shown.at(0);
    EXPECT_EQ(shown.Rect, (TRect{10, 10, 100, 100}));
    EXPECT_EQ(shown.Title, "Title");
    EXPECT_EQ(shown.Area.Left, 5);
    EXPECT_EQ(shown.Area.Bottom, 287);

    const TNyomtatoKeret& f = E.Items.Frames[0];
    EXPECT_EQ(f.Rect, (TRect{50, 50, 150, 150}));
    EXPECT_EQ(f.BorderColor, clRed);
    EXPECT_EQ(f.FillColor, clYellow);
    EXPECT_FALSE(f.Shadow);
    EXPECT_EQ(f.FillStyle, 1);
    EXPECT_EQ(f.Title, "New");
    EXPECT_EQ(f.TitleAlignment, 2);
    EXPECT_EQ(f.TitleFont.Height, 12);
    EXPECT_EQ(f.Members.Count(), 1);
    EXPECT_EQ(E.Items.Captions[0].Rect, (TRect{20, 20, 30, 25}));
}
