#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "editor/CommandsFixture.h"
#include "support/BmpFixtures.h"

namespace {

TTextDialogData Typed(std::string text, std::string x, std::string y, int32_t fontMm = -4) {
    TTextDialogData d;
    d.Text = std::move(text);
    d.X = std::move(x);
    d.Y = std::move(y);
    d.ByMouse = false;
    d.Font.Name = "Arial";
    d.Font.Height = fontMm;
    return d;
}

TTextDialogData ByMouse(std::string text, int32_t fontMm = -4) {
    TTextDialogData d = Typed(std::move(text), "20", "120", fontMm);
    d.ByMouse = true;
    return d;
}

// A 3 x 2 pixel bitmap file in a folder of its own, removed afterwards.
struct TPictureFile {
    std::filesystem::path Dir;
    std::string Path;
    TPictureFile() {
        std::string t = (std::filesystem::temp_directory_path() / "fs-commands-XXXXXX").string();
        Dir = mkdtemp(t.data());
        Path = (Dir / "kép.bmp").string();
        const auto bytes = MakeBmp(TBmpShape{});
        std::ofstream(Path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ~TPictureFile() { std::filesystem::remove_all(Dir); }
};

TImageDialogData Image(const std::string& file, std::string left, std::string top,
                       std::string width, std::string height, bool byMouse = false) {
    TImageDialogData d;
    d.FileName = file;
    d.Left = std::move(left);
    d.Top = std::move(top);
    d.Width = std::move(width);
    d.Height = std::move(height);
    d.ByMouse = byMouse;
    return d;
}

using NewItemTest = CommandsTest;

} // namespace

TEST_F(NewItemTest, ACaptionAtTypedCoordinatesIsMeasuredWithItsPrinterFontAndJoinsItsFrame) {
    E.Items.Frames.Add(Frame({10, 10, 100, 100}));
    TTextDialogData d = Typed("Hello", "20", "30");
    d.FillBackground = true;
    Dialogs.NewCaptionScript.Ok(d);
    New(neCaption);

    ASSERT_EQ(E.Items.Captions.Count(), 1);
    const TNyomtatoSzoveg& c = E.Items.Captions[0];
    EXPECT_EQ(c.Text, "Hello");
    EXPECT_EQ(c.FontHeightMm, -4);
    EXPECT_EQ(c.Font.Height, -16); // 4 mm in printer pixels of 0.25 mm
    EXPECT_EQ(c.Font.Name, "Arial");
    EXPECT_TRUE(c.FillBackground);
    // Five characters of 8 pixels by 16 pixels: 10 x 4 mm.
    EXPECT_EQ(c.Rect, (TRect{20, 30, 30, 34}));
    EXPECT_EQ(E.Items.Frames[0].Members[0], (TKKItem{ikCaption, 0}));
    EXPECT_EQ(E.Mode, mdIdle);
    EXPECT_TRUE(E.RepaintRequested);
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Új felirat");
    EXPECT_TRUE(S.Messages.Shown.empty());
}

TEST_F(NewItemTest, ACaptionPlacedWithTheMouseWaitsForThePressThatPlacesIt) {
    E.Items.Frames.Add(Frame({50, 60, 150, 160}));
    Dialogs.NewCaptionScript.Ok(ByMouse("Hi", -6));
    New(neCaption);

    EXPECT_EQ(E.Mode, mdPlaceCaption);
    EXPECT_EQ(E.InfoText, "Jelölje ki a felirat bal felső sarkát.");
    EXPECT_FALSE(E.RepeatMenuAttached);
    EXPECT_EQ(E.Items.Captions.Count(), 0);
    ASSERT_NE(E.PendingCaption, nullptr);
    EXPECT_FALSE(E.RepeatMenu.Entries[0].Visible);

    EXPECT_TRUE(Press(70, 80));
    EXPECT_EQ(E.Mode, mdIdle);
    EXPECT_EQ(E.PendingCaption, nullptr);
    ASSERT_EQ(E.Items.Captions.Count(), 1);
    // 2 characters of 12 pixels by 24 pixels: 6 x 6 mm.
    EXPECT_EQ(E.Items.Captions[0].Rect, (TRect{70, 80, 76, 86}));
    EXPECT_EQ(E.Items.Captions[0].Font.Height, -24);
    EXPECT_EQ(E.Items.Frames[0].Members[0], (TKKItem{ikCaption, 0}));
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Új felirat");
    EXPECT_TRUE(E.RepeatTimerEnabled);
}

TEST_F(NewItemTest, TypedTextCoordinatesMustLieInThePrintableAreaEdgesIncluded) {
    struct TCase {
        const char* X;
        const char* Y;
        bool Accepted;
    };
    const TCase cases[] = {
        {"5", "6", true},     {"200", "287", true}, // the corners of the printable area
        {"4", "100", false},  {"201", "100", false}, {"100", "5", false}, {"100", "288", false},
        // Not whole decimal numbers.
        {"12a", "100", false}, {"", "100", false},   {"100", "1.5", false},
        {"100", " 7", false},  {"99999999999", "100", false},
    };
    for (const TCase& c : cases) {
        TPageEditor fresh;
        fresh.Metrics = E.Metrics;
        S.Messages.Shown.clear();
        Dialogs.NewCaptionScript.Ok(Typed("x", c.X, c.Y));
        Dialogs.NewTextScript.Ok(Typed("y", c.X, c.Y));
        fresh.NewItemKind = neCaption;
        NewItem(fresh, Core);
        fresh.NewItemKind = neText;
        NewItem(fresh, Core);

        const std::string where = std::string(c.X) + ", " + c.Y;
        EXPECT_EQ(fresh.Items.Captions.Count(), c.Accepted ? 1 : 0) << where;
        EXPECT_EQ(fresh.Items.Texts.Count(), c.Accepted ? 1 : 0) << where;
        if (c.Accepted) {
            EXPECT_TRUE(S.Messages.Shown.empty()) << where;
            continue;
        }
        ASSERT_EQ(S.Messages.Shown.size(), 2u) << where;
        for (const TRecordedMessage& m : S.Messages.Shown) {
            EXPECT_EQ(m.Text, "Hibás szövegkoordináták !");
            EXPECT_EQ(m.Caption, "Új szöveg");
            EXPECT_EQ(m.Flags, MB_ICONWARNING);
        }
    }
}

TEST_F(NewItemTest, PositionsForMousePlacementAreNotChecked) {
    TTextDialogData d = ByMouse("x");
    d.X = "9999";
    d.Y = "nonsense";
    Dialogs.NewCaptionScript.Ok(d);
    New(neCaption);
    EXPECT_TRUE(S.Messages.Shown.empty());
    EXPECT_EQ(E.Mode, mdPlaceCaption);
}

TEST_F(NewItemTest, ATextTakesItsLinesAndIsMeasuredAsAWhole) {
    TTextDialogData d = Typed("ab\r\nlonger", "10", "20", -2);
    d.LineCount = 2;
    Dialogs.NewTextScript.Ok(d);
    New(neText);
    ASSERT_EQ(E.Items.Texts.Count(), 1);
    const TNyomtatoSorok& t = E.Items.Texts[0];
    EXPECT_EQ(t.LineCount, 2);
    EXPECT_EQ(t.FontHeightMm, -2);
    EXPECT_EQ(t.Font.Height, -8);
    // The longest line, 6 characters of 4 pixels, by 2 lines of 8 pixels: 6 x 4 mm.
    EXPECT_EQ(t.Rect, (TRect{10, 20, 16, 24}));
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Új szöveg");

    // Placed with the mouse.
    E.Items.Frames.Add(Frame({100, 100, 150, 150}));
    Dialogs.NewTextScript.Ok(ByMouse("one"));
    New(neText);
    EXPECT_EQ(E.Mode, mdPlaceText);
    EXPECT_EQ(E.InfoText, "Jelöje ki a szöveg bal felső sarkát.");
    Press(120, 130);
    ASSERT_EQ(E.Items.Texts.Count(), 2);
    EXPECT_EQ(E.Items.Texts[1].Rect, (TRect{120, 130, 126, 134}));
    EXPECT_EQ(E.Items.Frames[0].Members[0], (TKKItem{ikText, 1}));
}

TEST_F(NewItemTest, AnEmptyTextOrACancelledDialogMakesNothing) {
    Dialogs.NewTextScript.Ok(Typed("", "10", "20"));
    New(neText);
    Dialogs.NewCaptionScript.Cancel();
    New(neCaption);
    Dialogs.NewTextScript.Cancel();
    New(neText);
    Dialogs.NewImageScript.Cancel();
    New(neImage);
    EXPECT_EQ(Dialogs.Runs(), 4u);
    EXPECT_TRUE(S.Messages.Shown.empty());
    EXPECT_EQ(E.Items.Captions.Count() + E.Items.Texts.Count() + E.Items.Images.Count(), 0);
    EXPECT_EQ(E.Mode, mdIdle);
    EXPECT_FALSE(E.RepeatMenu.Entries[0].Visible);
}

TEST_F(NewItemTest, AnImageTakesItsTypedRectangleAndItsPicture) {
    TPictureFile file;
    E.Items.Frames.Add(Frame({0, 0, 50, 50}));
    Dialogs.NewImageScript.Ok(Image(file.Path, "10", "20", "80", "53"));
    New(neImage);

    ASSERT_EQ(E.Items.Images.Count(), 1);
    const TNyomtatoKep& image = E.Items.Images[0];
    EXPECT_EQ(image.Rect, (TRect{10, 20, 90, 73}));
    EXPECT_EQ(image.FileName, (file.Dir / "").string() + "k\xe9p.bmp"); // in code page 1250
    EXPECT_TRUE(image.Picture->HasImage);
    EXPECT_EQ(image.Picture->Width, 3);
    EXPECT_EQ(E.Items.Frames[0].Members[0], (TKKItem{ikImage, 0}));
    EXPECT_EQ(S.Screen.History, (std::vector<TCursor>{crHourGlass, crArrow}));
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Új kép");
}

TEST_F(NewItemTest, AnImagePlacedWithTheMouseKeepsItsSize) {
    TPictureFile file;
    Dialogs.NewImageScript.Ok(Image(file.Path, "bad", "", "30", "20", true));
    New(neImage);
    EXPECT_TRUE(S.Messages.Shown.empty()); // the position fields are not used
    EXPECT_EQ(E.Mode, mdPlaceImage);
    EXPECT_EQ(E.PendingImageSize, (TSize{30, 20}));
    Press(40, 50);
    ASSERT_EQ(E.Items.Images.Count(), 1);
    EXPECT_EQ(E.Items.Images[0].Rect, (TRect{40, 50, 70, 70}));
    EXPECT_EQ(E.PendingImage, nullptr);
}

TEST_F(NewItemTest, AnImageWithoutALoadablePictureOrWithBadFieldsIsNotMade) {
    TPictureFile file;
    Dialogs.NewImageScript.Ok(Image(file.Path + ".missing", "10", "20", "80", "40"));
    New(neImage);
    ASSERT_EQ(S.Messages.Shown.size(), 1u);
    EXPECT_EQ(S.Messages.Shown[0].Text, "Hibás fájl.");
    EXPECT_EQ(S.Messages.Shown[0].Caption, "Kép betöltése");
    EXPECT_EQ(S.Messages.Shown[0].Flags, MB_ICONERROR);

    struct TCase {
        TImageDialogData Data;
        const char* Field;
    };
    const TCase cases[] = {
        {Image(file.Path, "1O", "20", "80", "40"), "Left"},
        {Image(file.Path, "10", "-", "80", "40"), "Top"},
        {Image(file.Path, "10", "20", "8.5", "40"), "Width"},
        {Image(file.Path, "10", "20", "0", "40"), "Width"},
        {Image(file.Path, "10", "20", "80", "0", true), "Height"},
        {Image(file.Path, "10", "20", "80", "", true), "Height"},
        // The right or bottom edge would not fit in 32 bits.
        {Image(file.Path, "10", "20", "2147483640", "40"), "Width"},
        {Image(file.Path, "10", "20", "80", "2147483647"), "Height"},
    };
    for (const TCase& c : cases) {
        S.Messages.Shown.clear();
        Dialogs.NewImageScript.Ok(c.Data);
        New(neImage);
        ASSERT_EQ(S.Messages.Shown.size(), 1u) << c.Field;
        EXPECT_EQ(S.Messages.Shown[0].Text, std::string("Hibás képkoordináták ! (") + c.Field + ")");
        EXPECT_EQ(S.Messages.Shown[0].Caption, "Új kép");
    }
    EXPECT_EQ(E.Items.Images.Count(), 0);
    EXPECT_EQ(E.PendingImage, nullptr);
    EXPECT_EQ(E.Mode, mdIdle);
}

TEST_F(NewItemTest, EachPressAddsAFrameUntilARightPress) {
    New(neFrame);
    EXPECT_EQ(E.Mode, mdNewFrame);
    EXPECT_EQ(E.InfoText, "Jelölje ki a keret bal felső sarkát");
    Press(10, 20);
    Press(150, 250); // reaches past the printable edges: clamped to them
    Press(30, 40);   // inside the first frame
    EXPECT_EQ(E.Mode, mdNewFrame);
    RightPress();
    EXPECT_EQ(E.Mode, mdIdle);

    ASSERT_EQ(E.Items.Frames.Count(), 3);
    const TNyomtatoKeret& first = E.Items.Frames[0];
    EXPECT_EQ(first.Rect, (TRect{10, 20, 110, 80}));
    EXPECT_TRUE(first.Shadow);
    EXPECT_EQ(first.FillColor, clWhite);
    EXPECT_EQ(first.TitleFont.Height, 8);
    EXPECT_EQ(E.Items.Frames[1].Rect, (TRect{150, 250, 200, 287}));
    // The third lies in the first and in nothing else; no frame is its own member.
    EXPECT_EQ(first.Members.Count(), 1);
    EXPECT_EQ(first.Members[0], (TKKItem{ikFrame, 2}));
    EXPECT_EQ(E.Items.Frames[1].Members.Count(), 0);
    EXPECT_EQ(E.Items.Frames[2].Members.Count(), 0);
    EXPECT_EQ(E.RepeatMenu.VisibleCount(), 1);
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Új keret");
}

TEST_F(NewItemTest, AFrameIsNotMadeWhereItWouldBeEmpty) {
    New(neFrame);
    Press(200, 100); // on the printable right edge: no width left
    Press(100, 290); // below the printable bottom
    EXPECT_EQ(E.Items.Frames.Count(), 0);
    EXPECT_EQ(E.Mode, mdNewFrame);
}

TEST_F(NewItemTest, ARectangleIsMadeInThePrintableAreaWithTheChosenColourAndTheToolEnds) {
    E.Items.Frames.Add(Frame({0, 0, 300, 300}));
    S.Colors.Answers = {clRed, clBlue};
    New(neRectangle);
    EXPECT_EQ(E.InfoText, "Jelölje ki a négszög bal felső sarkát.");
    Press(200, 287);
    EXPECT_EQ(E.Mode, mdIdle);
    ASSERT_EQ(E.Items.Rectangles.Count(), 1);
    EXPECT_EQ(E.Items.Rectangles[0].Rect, (TRect{200, 287, 210, 297}));
    EXPECT_EQ(E.Items.Rectangles[0].Color, clRed);
    EXPECT_EQ(E.Items.Frames[0].Members[0], (TKKItem{ikRectangle, 0}));
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Új négyszög");

    // Outside the printable area: no colour is asked, nothing is made, the tool ends.
    New(neRectangle);
    Press(4, 100);
    EXPECT_EQ(E.Mode, mdIdle);
    New(neRectangle);
    Press(100, 288);
    EXPECT_EQ(E.Items.Rectangles.Count(), 1);
    EXPECT_EQ(S.Colors.Opened.size(), 1u);

    // The colour dialog opens with the last colour chosen; cancelled, it makes nothing.
    S.Colors.Answers = {std::nullopt};
    New(neRectangle);
    Press(50, 50);
    EXPECT_EQ(S.Colors.Opened.back(), clRed);
    EXPECT_EQ(E.Items.Rectangles.Count(), 1);
    EXPECT_EQ(E.Mode, mdIdle);
}

TEST_F(NewItemTest, ALineIsEnteredPointByPointAndFinishedByItsDialog) {
    E.Items.Frames.Add(Frame({0, 0, 20, 20}));
    E.Items.Frames.Add(Frame({100, 100, 200, 200}));
    New(neLine);
    EXPECT_EQ(E.InfoText, "Jelölje ki a vonal pontjait.");
    Press(150, 150);
    Press(300, 5); // points are not limited to the printable area
    Press(10, 10);
    EXPECT_EQ(E.LinePoints->Count(), 3);
    EXPECT_EQ(E.Items.Lines.Count(), 0);

    Dialogs.LineScript.Ok(TLineDialogData{clGreen, 7, 2});
    RightPress();
    EXPECT_EQ(Dialogs.LineFilled, (std::vector<bool>{false}));
    EXPECT_EQ(E.LinePoints, nullptr);
    EXPECT_EQ(E.Mode, mdIdle);
    ASSERT_EQ(E.Items.Lines.Count(), 1);
    const TNyomtatoVonal& line = E.Items.Lines[0];
    EXPECT_EQ(line.ToArray(), (std::vector<TPoint>{{150, 150}, {300, 5}, {10, 10}}));
    EXPECT_EQ(line.Color, clGreen);
    EXPECT_EQ(line.Width, 7);
    EXPECT_EQ(line.PenStyle, 2);
    // The first point decides the frame.
    EXPECT_EQ(E.Items.Frames[0].Members.Count(), 0);
    EXPECT_EQ(E.Items.Frames[1].Members[0], (TKKItem{ikLine, 0}));
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Új vonal");

    // A single point is a line.
    New(neLine);
    Press(30, 30);
    Dialogs.LineScript.Ok(TLineDialogData{});
    RightPress();
    EXPECT_EQ(E.Items.Lines.Count(), 2);
}

TEST_F(NewItemTest, ALineWithoutPointsOrWithItsDialogCancelledAddsNothing) {
    New(neLine);
    RightPress();
    EXPECT_TRUE(Dialogs.LineScript.Shown.empty()); // no point: no dialog
    New(neLine);
    Press(10, 10);
    Dialogs.LineScript.Cancel();
    RightPress();
    EXPECT_EQ(Dialogs.LineScript.Shown.size(), 1u);
    EXPECT_EQ(E.Items.Lines.Count(), 0);
    EXPECT_EQ(E.LinePoints, nullptr);
    EXPECT_FALSE(E.RepeatMenu.Entries[0].Visible);
}

TEST_F(NewItemTest, APolygonTakesTheColourChosenWhenItIsFinished) {
    E.Items.Frames.Add(Frame({0, 0, 50, 50}));
    New(nePolygon);
    EXPECT_EQ(E.InfoText, "Jelölje ki a poligon pontjait.");
    Press(10, 10);
    Press(40, 10);
    Press(40, 40);
    S.Colors.Answers = {clYellow};
    RightPress();
    ASSERT_EQ(E.Items.Polygons.Count(), 1);
    EXPECT_EQ(E.Items.Polygons[0].Color, clYellow);
    EXPECT_EQ(E.Items.Polygons[0].Count(), 3);
    EXPECT_EQ(E.Items.Frames[0].Members[0], (TKKItem{ikPolygon, 0}));
    EXPECT_EQ(E.PolygonPoints, nullptr);
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Új poligon");

    // Cancelled colour, or no points: nothing.
    New(nePolygon);
    Press(1, 1);
    RightPress();
    New(nePolygon);
    RightPress();
    EXPECT_EQ(E.Items.Polygons.Count(), 1);
    EXPECT_EQ(S.Colors.Opened.size(), 2u);
}

TEST_F(NewItemTest, TheHeightsLegendAndDistanceIndicatorArePlacedByAPress) {
    StartTool(E, Core, mdPlaceHeightsLegend);
    Press(30, 40);
    EXPECT_TRUE(E.Settings.HeightsLegendVisible);
    EXPECT_EQ(E.Settings.HeightsLegendRect, (TRect{30, 40, 40, 120}));
    EXPECT_EQ(E.Mode, mdIdle);
    StartTool(E, Core, mdPlaceDistanceIndicator);
    Press(60, 70);
    EXPECT_TRUE(E.Settings.ScaleBarVisible);
    EXPECT_EQ(E.Settings.ScaleBarPos, (std::array<int32_t, 6>{60, 70, 5, 5, 0, 5}));
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Új magasságok");
    EXPECT_EQ(E.RepeatMenu.Entries[1].Caption, "Új lépték");

    // Repeating them arms their tools again.
    RunRepeatCommand(E, Core, E.RepeatMenu.Entries[0].Command);
    EXPECT_EQ(E.Mode, mdPlaceHeightsLegend);
}

TEST_F(NewItemTest, PressesOutsideToolModesAreNotUsed) {
    for (int32_t mode : {mdIdle, mdDragFrame, mdHoverTop, mdScrollTrack, mdDragLinePoint}) {
        E.Mode = mode;
        EXPECT_FALSE(Press(10, 10)) << mode;
    }
}
