#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "editor/CommandsFixture.h"
#include "support/BmpFixtures.h"
#include "support/TempDir.h"

namespace {

TTextDialogData TextAt(std::string text, std::string x, std::string y, int32_t fontMm = -4) {
    TTextDialogData d;
    d.Text = std::move(text);
    d.X = std::move(x);
    d.Y = std::move(y);
    d.ByMouse = false;
    d.Font.Height = fontMm;
    return d;
}

TImageDialogData ImageAt(std::string file, std::string left, std::string top, std::string width,
                         std::string height, bool byMouse = false) {
    return TImageDialogData{std::move(left),   std::move(top), std::move(width),
                            std::move(height), byMouse,        std::move(file)};
}

// A 3 x 2 pixel bitmap file in a folder of its own.
struct TPictureFile {
    TTempDir Dir{"commands"};
    std::string Path = Dir.File("kép.bmp");
    TPictureFile() {
        const auto bytes = MakeBmp(TBmpShape{});
        std::ofstream(Path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
};

using NewItemTest = CommandsTest;

} // namespace

TEST_F(NewItemTest, CaptionsAndTextsTakeTheirPrinterFontSizeAndFrameTypedOrPlaced) {
    AddFrame({10, 10, 100, 100});
    Dialogs.NewCaptionScript.Ok(TextAt("Hello", "20", "30"));
    New(neCaption);
    const TNyomtatoSzoveg& typed = E.Items.Captions[0];
    EXPECT_EQ(typed.FontHeightMm, -4);
    EXPECT_EQ(typed.Font.Height, -16);              // 4 mm in printer pixels of 0.25 mm
    EXPECT_EQ(typed.Rect, (TRect{20, 30, 30, 34})); // 5 characters of 8 by 16 pixels
    EXPECT_EQ(E.RepeatMenu.Entries[0].Caption, "Új felirat");

    TTextDialogData byMouse = TextAt("ab\r\nlonger", "bad", "", -2);
    byMouse.ByMouse = true; // the position fields are neither read nor checked
    byMouse.LineCount = 2;
    Dialogs.NewTextScript.Ok(byMouse);
    New(neText);
    EXPECT_EQ(E.Mode, mdPlaceText);
    EXPECT_EQ(E.Items.Texts.Count(), 0);
    Press(60, 70);
    EXPECT_EQ(E.Mode, mdIdle);
    ASSERT_EQ(E.Items.Texts.Count(), 1);
    EXPECT_EQ(E.Items.Texts[0].LineCount, 2);
    EXPECT_EQ(E.Items.Texts[0].Rect, (TRect{60, 70, 66, 74})); // longest line by both lines
    EXPECT_EQ(E.PendingText, nullptr);
    EXPECT_EQ(MembersOf(0), (std::vector<TKKItem>{{ikCaption, 0}, {ikText, 0}}));
    EXPECT_EQ(E.RepeatMenu.Entries[1].Caption, "Új szöveg");
    EXPECT_TRUE(S.Messages.Shown.empty());
}

TEST_F(NewItemTest, TypedTextCoordinatesMustBeWholeNumbersInsideThePrintableArea) {
    const std::pair<const char*, const char*> accepted[] = {{"5", "6"}, {"200", "287"}};
    const std::pair<const char*, const char*> refused[] = {
        {"4", "100"},   {"201", "100"}, {"100", "5"},   {"100", "288"},
        {"12a", "100"}, {"", "100"},    {"100", "1.5"}, {"99999999999", "100"}};
    for (auto [x, y] : accepted) {
        Dialogs.NewTextScript.Ok(TextAt("t", x, y));
        New(neText);
    }
    EXPECT_EQ(E.Items.Texts.Count(), 2);
    EXPECT_TRUE(S.Messages.Shown.empty());
    for (auto [x, y] : refused) {
        Dialogs.NewCaptionScript.Ok(TextAt("c", x, y));
        New(neCaption);
    }
    EXPECT_EQ(E.Items.Captions.Count(), 0);
    EXPECT_EQ(S.Messages.Shown,
              std::vector<std::string>(std::size(refused), "Új szöveg: Hibás szövegkoordináták !"));

    // An empty text makes nothing, without a message.
    Dialogs.NewTextScript.Ok(TextAt("", "10", "10"));
    New(neText);
    EXPECT_EQ(E.Items.Texts.Count(), 2);
    EXPECT_EQ(S.Messages.Shown.size(), std::size(refused));
}

TEST_F(NewItemTest, ImagesAreMadeOnlyWithTheirPictureAndUsableFields) {
    TPictureFile file;
    AddFrame({0, 0, 50, 50});
    Dialogs.NewImageScript.Ok(ImageAt(file.Path, "10", "20", "80", "53"));
    New(neImage);
    ASSERT_EQ(E.Items.Images.Count(), 1);
    EXPECT_EQ(E.Items.Images[0].Rect, (TRect{10, 20, 90, 73}));
    EXPECT_EQ(E.Items.Images[0].FileName,
              (file.Dir.Path / "").string() + "k\xe9p.bmp"); // code page 1250
    EXPECT_EQ(E.Items.Images[0].Picture->Width, 3);
    EXPECT_EQ(S.Screen.History, (std::vector<TCursor>{crHourGlass, crArrow}));

    Dialogs.NewImageScript.Ok(ImageAt(file.Path, "", "x", "30", "20", true));
    New(neImage);
    Press(40, 45);
    ASSERT_EQ(E.Items.Images.Count(), 2);
    EXPECT_EQ(E.Items.Images[1].Rect, (TRect{40, 45, 70, 65}));
    EXPECT_EQ(MembersOf(0), (std::vector<TKKItem>{{ikImage, 0}, {ikImage, 1}}));
    EXPECT_TRUE(S.Messages.Shown.empty());

    const TImageDialogData refused[] = {
        ImageAt(file.Path + "-gone", "10", "20", "80", "40"),
        ImageAt(file.Path, "1O", "20", "80", "40"),
        ImageAt(file.Path, "10", "20", "0", "40"),
        ImageAt(file.Path, "10", "20", "80", "4.5", true),
        ImageAt(file.Path, "10", "20", "2147483640", "40"), // the right edge overflows
    };
    for (const TImageDialogData& d : refused) {
        Dialogs.NewImageScript.Ok(d);
        New(neImage);
    }
    EXPECT_EQ(E.Items.Images.Count(), 2);
    EXPECT_EQ(E.Mode, mdIdle);
    EXPECT_EQ(
        S.Messages.Shown,
        (std::vector<std::string>{
            "Kép betöltése: Hibás fájl.\ncannot open the file: No such file or directory",
            "Új kép: Hibás képkoordináták ! (Left)", "Új kép: Hibás képkoordináták ! (Width)",
            "Új kép: Hibás képkoordináták ! (Height)", "Új kép: Hibás képkoordináták ! (Width)"}));
}

TEST_F(NewItemTest, EachPressAddsAFrameAndANewFrameJoinsTheFrameItLiesIn) {
    New(neFrame);
    Press(10, 20);
    Press(150, 250); // clamped to the printable edges
    Press(30, 40);   // inside the first
    Press(200, 100); // no width left before the edge: no frame
    EXPECT_EQ(E.Mode, mdNewFrame);
    RightPress();
    ASSERT_EQ(E.Items.Frames.Count(), 3);
    EXPECT_EQ(E.Items.Frames[0].Rect, (TRect{10, 20, 110, 80}));
    EXPECT_EQ(E.Items.Frames[1].Rect, (TRect{150, 250, 200, 287}));
    EXPECT_EQ(MembersOf(0), (std::vector<TKKItem>{{ikFrame, 2}}));
    EXPECT_EQ(E.Items.Frames[2].Members.Count(), 0); // never its own member
    EXPECT_EQ(E.RepeatMenu.VisibleCount(), 1);
}

TEST_F(NewItemTest, ARectangleNeedsAPressInThePrintableAreaAndAColourAndTheToolEndsEitherWay) {
    S.Colors.Answers = {clRed, std::nullopt};
    New(neRectangle);
    Press(200, 287);
    ASSERT_EQ(E.Items.Rectangles.Count(), 1);
    EXPECT_EQ(E.Items.Rectangles[0].Rect, (TRect{200, 287, 210, 297}));
    EXPECT_EQ(E.Items.Rectangles[0].Color, clRed);
    for (TPoint p : {TPoint{4, 100}, TPoint{100, 288}, TPoint{50, 50}}) {
        New(neRectangle);
        Press(p.X, p.Y);
        EXPECT_EQ(E.Mode, mdIdle);
    }
    EXPECT_EQ(E.Items.Rectangles.Count(), 1);
    // Asked only inside the area, the second time starting from the colour chosen before.
    EXPECT_EQ(S.Colors.Opened, (std::vector<TColor>{clBlack, clRed}));
}

TEST_F(NewItemTest, LinesAndPolygonsAreEnteredPointByPointAndMadeOnlyWhenConfirmed) {
    AddFrame({100, 100, 200, 200});
    New(neLine);
    RightPress(); // no point: no dialog
    New(neLine);
    Press(10, 10);
    RightPress(); // dialog cancelled
    EXPECT_TRUE(Dialogs.LineScript.Shown.size() == 1 && E.Items.Lines.Count() == 0);

    New(neLine);
    Press(150, 150);
    Press(300, 5); // points are not limited to the printable area
    Dialogs.LineScript.Ok(TLineDialogData{clGreen, 7, 2});
    RightPress();
    EXPECT_EQ(E.LinePoints, nullptr);
    ASSERT_EQ(E.Items.Lines.Count(), 1);
    const TNyomtatoVonal& line = E.Items.Lines[0];
    EXPECT_EQ(line.ToArray(), (std::vector<TPoint>{{150, 150}, {300, 5}}));
    EXPECT_TRUE(line.Color == clGreen && line.Width == 7 && line.PenStyle == 2);

    New(nePolygon);
    Press(120, 110);
    Press(10, 10);
    RightPress(); // colour cancelled
    New(nePolygon);
    Press(120, 110);
    Press(10, 10);
    Press(10, 110);
    S.Colors.Answers = {clYellow};
    RightPress();
    ASSERT_EQ(E.Items.Polygons.Count(), 1);
    EXPECT_EQ(E.Items.Polygons[0].Count(), 3);
    EXPECT_EQ(E.Items.Polygons[0].Color, clYellow);
    // The first point decides the frame.
    EXPECT_EQ(MembersOf(0), (std::vector<TKKItem>{{ikLine, 0}, {ikPolygon, 0}}));
}

TEST_F(NewItemTest, TheHeightsLegendAndDistanceIndicatorArePlacedByAPress) {
    StartTool(E, Core, mdPlaceHeightsLegend);
    Press(30, 40);
    StartTool(E, Core, mdPlaceDistanceIndicator);
    Press(60, 70);
    EXPECT_EQ(E.Mode, mdIdle);
    EXPECT_TRUE(E.Settings.HeightsLegendVisible && E.Settings.ScaleBarVisible);
    EXPECT_EQ(E.Settings.HeightsLegendRect, (TRect{30, 40, 40, 120}));
    EXPECT_EQ(E.Settings.ScaleBarPos, (std::array<int32_t, 6>{60, 70, 5, 5, 0, 5}));
    EXPECT_EQ(E.RepeatMenu.Entries[1].Caption, "Új lépték");
}
