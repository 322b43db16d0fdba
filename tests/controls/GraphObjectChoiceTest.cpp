#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <vector>

#include "controls/GraphObjectChoice.h"
#include "controls/GraphObjectItemPainter.h"
#include "platform/Cp1250.h"
#include "platform/PickerDialogs.h"
#include "platform/RecordingCanvas.h"

namespace {

// Answers from a queue and remembers the colour each run started with.
class TColorAnswers : public TColorDialogs {
public:
    std::optional<TColor> PickColor(TColor initial) override {
        Started.push_back(initial);
        if (Answers.empty()) return std::nullopt;
        const auto a = Answers.front();
        Answers.pop_front();
        return a;
    }
    std::deque<std::optional<TColor>> Answers;
    std::vector<TColor> Started;
};

using enum TGraphObjectComboStyle;
using enum TGraphObjectComboLanguage;

} // namespace

TEST(GraphObjectChoice, ColourOutsideTheTableBecomesTheCustomEntry) {
    TColorAnswers dialogs;
    TGraphObjectChoice choice(dialogs);
    choice.SetColor(0x123456);
    EXPECT_EQ(choice.ItemIndex(), kCustomColorIndex);
    EXPECT_EQ(choice.Color(), 0x123456);
    EXPECT_EQ(choice.CustomColor(), 0x123456);

    // A table colour selects its entry and leaves the custom colour alone.
    choice.SetColor(clSilver);
    EXPECT_EQ(choice.ItemIndex(), 8);
    EXPECT_EQ(choice.Color(), clSilver);
    EXPECT_EQ(choice.CustomColor(), 0x123456);
    EXPECT_EQ(GraphObjectItemName(gocsColor, goclEnglish, 8), "Silver");
    EXPECT_EQ(GraphObjectItemName(gocsColor, goclHungarian, 8), "Ezüst");
    EXPECT_EQ(GraphObjectItemName(gocsColor, goclHungarian, kCustomColorIndex), "Egyéni szín");
}

TEST(GraphObjectChoice, CustomEntryAsksTheColourDialogAndCancelChangesNothing) {
    TColorAnswers dialogs;
    TGraphObjectChoice choice(dialogs);
    choice.SetColor(0x0A0B0C);
    choice.Select(9); // red
    ASSERT_EQ(choice.Color(), clRed);

    dialogs.Answers = {std::nullopt, 0x00FF8040};
    choice.Select(kCustomColorIndex);
    EXPECT_EQ(choice.Color(), clRed);
    EXPECT_EQ(choice.ItemIndex(), 9) << "the entry of the unchanged colour stays selected";
    EXPECT_EQ(choice.CustomColor(), 0x0A0B0C);

    choice.Select(kCustomColorIndex);
    EXPECT_EQ(choice.Color(), 0x00FF8040);
    EXPECT_EQ(choice.CustomColor(), 0x00FF8040);
    EXPECT_EQ(choice.ItemIndex(), kCustomColorIndex);
    // The dialog opens on the custom colour each time.
    EXPECT_EQ(dialogs.Started, (std::vector<TColor>{0x0A0B0C, 0x0A0B0C}));
}

TEST(GraphObjectChoice, SettersOfAnotherStyleAreIgnored) {
    TColorAnswers dialogs;
    TGraphObjectChoice colours(dialogs);
    colours.SetColor(clBlue);
    colours.SetPenStyle(TPenStyle::psDot);
    colours.SetBrushStyle(TBrushStyle::bsCross);
    EXPECT_EQ(colours.PenStyle(), TPenStyle::psSolid);
    EXPECT_EQ(colours.BrushStyle(), TBrushStyle::bsSolid);
    EXPECT_EQ(colours.ItemIndex(), 12);

    TGraphObjectChoice pens(dialogs);
    pens.SetStyle(gocsPenStyle);
    pens.SetColor(clRed);
    EXPECT_EQ(pens.Color(), clBlack);
    pens.SetPenStyle(TPenStyle::psDashDot);
    EXPECT_EQ(pens.ItemIndex(), 3);
    // A style the list does not offer is kept but selects nothing else.
    pens.SetPenStyle(TPenStyle::psClear);
    EXPECT_EQ(pens.PenStyle(), TPenStyle::psClear);
    EXPECT_EQ(pens.ItemIndex(), 3);
}

TEST(GraphObjectChoice, ChangingTheStyleOffersItsEntriesWithItsValueSelected) {
    TColorAnswers dialogs;
    TGraphObjectChoice choice(dialogs);
    choice.SetColor(0x445566);
    choice.SetStyle(gocsPenStyle);
    EXPECT_EQ(choice.ItemCount(), 5);
    EXPECT_EQ(choice.ItemIndex(), 0);
    choice.Select(4);
    EXPECT_EQ(choice.PenStyle(), TPenStyle::psDashDotDot);

    choice.SetStyle(gocsBrushStyle);
    EXPECT_EQ(choice.ItemCount(), 8);
    choice.Select(7);
    EXPECT_EQ(choice.BrushStyle(), TBrushStyle::bsDiagCross);
    choice.Select(8); // past the list: nothing happens
    EXPECT_EQ(choice.ItemIndex(), 7);

    choice.SetStyle(gocsColor);
    EXPECT_EQ(choice.ItemCount(), 17);
    EXPECT_EQ(choice.ItemIndex(), kCustomColorIndex);
    EXPECT_EQ(choice.Color(), 0x445566);
}

TEST(GraphObjectChoice, ALanguageOutsideTheTwoGivesEmptyNames) {
    const auto other = static_cast<TGraphObjectComboLanguage>(2);
    EXPECT_EQ(GraphObjectItemName(gocsBrushStyle, other, 0), "");
    EXPECT_EQ(GraphObjectItemName(gocsBrushStyle, goclHungarian, 4), "Átlós bal-jobb");
    EXPECT_EQ(GraphObjectItemName(gocsPenStyle, goclEnglish, 5), "");
}

TEST(GraphObjectItemPainter, CustomEntryShowsItsSwatchBesideItsName) {
    TColorAnswers dialogs;
    TGraphObjectChoice choice(dialogs);
    choice.SetLanguage(goclHungarian);
    choice.SetColor(0x102030);
    TRecordingCanvas canvas;
    canvas.Font.Height = -11;
    DrawGraphObjectItem(canvas, choice, kCustomColorIndex, TRect{0, 32, 145, 48},
                        TGraphObjectItemLook{});

    const auto rects = canvas.CallsOf("Rectangle");
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].Args, (std::vector<int32_t>{0, 32, 145, 48}));
    EXPECT_EQ(rects[0].Brush.Color, clWhite);
    EXPECT_EQ(rects[1].Args, (std::vector<int32_t>{3, 35, 20, 45}));
    EXPECT_EQ(rects[1].Brush.Color, 0x102030);
    EXPECT_EQ(rects[1].Pen.Color, clBlack);
    const auto texts = canvas.CallsOf("TextOut");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, Utf8ToCp1250("Egyéni szín"));
    // Centred in the 16-pixel entry: 32 + 8 - 5 - 1.
    EXPECT_EQ(texts[0].Args, (std::vector<int32_t>{24, 34}));
    EXPECT_EQ(texts[0].Font.Color, clBlack);
}

TEST(GraphObjectItemPainter, SelectedSamplesTakeTheHighlightColours) {
    TColorAnswers dialogs;
    TGraphObjectChoice choice(dialogs);
    choice.SetStyle(gocsPenStyle);
    TGraphObjectItemLook look;
    look.Selected = true;
    look.Highlight = 0x800000;
    look.HighlightText = 0x00FFFF;
    TRecordingCanvas canvas;
    DrawGraphObjectItem(canvas, choice, 2, TRect{0, 0, 145, 16}, look);
    EXPECT_EQ(canvas.CallsOf("Rectangle").at(0).Brush.Color, 0x800000);
    const auto line = canvas.CallsOf("Polyline").at(0);
    EXPECT_EQ(line.Args, (std::vector<int32_t>{3, 8, 60, 8}));
    EXPECT_EQ(line.Pen.Style, TPenStyle::psDot);
    EXPECT_EQ(line.Pen.Color, 0x00FFFF);
    EXPECT_EQ(canvas.CallsOf("TextOut").at(0).Args.at(0), 64);

    choice.SetStyle(gocsBrushStyle);
    canvas.Calls.clear();
    DrawGraphObjectItem(canvas, choice, 5, TRect{0, 0, 145, 16}, look);
    const auto sample = canvas.CallsOf("Rectangle").at(1);
    EXPECT_EQ(sample.Args, (std::vector<int32_t>{3, 1, 32, 15}));
    EXPECT_EQ(sample.Brush, (TBrush{0x00FFFF, TBrushStyle::bsBDiagonal}));
    EXPECT_EQ(canvas.CallsOf("TextOut").at(0).Args.at(0), 36);
}
