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

} // namespace

TEST(GraphObjectChoice, AColourOutsideTheTableBecomesTheCustomEntry) {
    TColorAnswers dialogs;
    TGraphObjectChoice choice(dialogs);
    choice.SetColor(0x123456);
    EXPECT_EQ(choice.ItemIndex(), kCustomColorIndex);
    EXPECT_EQ(choice.Color(), 0x123456);
    EXPECT_EQ(choice.CustomColor(), 0x123456);

    choice.SetColor(clSilver);
    EXPECT_EQ(choice.ItemIndex(), 8);
    EXPECT_EQ(choice.CustomColor(), 0x123456);
    EXPECT_EQ(GraphObjectItemName(gocsColor, TGraphObjectComboLanguage::goclHungarian, 8), "Ezüst");
}

TEST(GraphObjectChoice, TheCustomEntryAsksForAColourAndCancelChangesNothing) {
    TColorAnswers dialogs;
    TGraphObjectChoice choice(dialogs);
    choice.SetColor(0x0A0B0C);
    choice.Select(9);
    dialogs.Answers = {std::nullopt, 0x00FF8040};

    choice.Select(kCustomColorIndex);
    EXPECT_EQ(choice.Color(), clRed);
    EXPECT_EQ(choice.ItemIndex(), 9) << "the entry of the unchanged colour stays selected";

    choice.Select(kCustomColorIndex);
    EXPECT_EQ(choice.Color(), 0x00FF8040);
    EXPECT_EQ(choice.CustomColor(), 0x00FF8040);
    EXPECT_EQ(choice.ItemIndex(), kCustomColorIndex);
    // The dialog opens on the custom colour each time.
    EXPECT_EQ(dialogs.Started, (std::vector<TColor>{0x0A0B0C, 0x0A0B0C}));
}

TEST(GraphObjectChoice, OnlyTheSetterOfTheListsOwnStyleCounts) {
    TColorAnswers dialogs;
    TGraphObjectChoice choice(dialogs);
    choice.SetColor(0x445566);
    choice.SetPenStyle(TPenStyle::psDot);
    EXPECT_EQ(choice.PenStyle(), TPenStyle::psSolid);
    EXPECT_EQ(choice.ItemIndex(), kCustomColorIndex);

    choice.SetStyle(gocsPenStyle);
    EXPECT_EQ(choice.ItemCount(), 5);
    EXPECT_EQ(choice.ItemIndex(), 0);
    choice.SetColor(clRed);
    choice.SetPenStyle(TPenStyle::psDashDot);
    EXPECT_EQ(choice.ItemIndex(), 3);
    // A style the list does not offer is kept but selects nothing else.
    choice.SetPenStyle(TPenStyle::psClear);
    EXPECT_EQ(choice.PenStyle(), TPenStyle::psClear);
    EXPECT_EQ(choice.ItemIndex(), 3);

    choice.SetStyle(gocsColor);
    EXPECT_EQ(choice.Color(), 0x445566);
    EXPECT_EQ(choice.ItemIndex(), kCustomColorIndex);
}

TEST(GraphObjectItemPainter, EntriesShowTheirSampleBesideTheirName) {
    TColorAnswers dialogs;
    TGraphObjectChoice choice(dialogs);
    choice.SetLanguage(TGraphObjectComboLanguage::goclHungarian);
    choice.SetColor(0x102030);
    TRecordingCanvas canvas;
    canvas.Font.Height = -11;
    DrawGraphObjectItem(canvas, choice, kCustomColorIndex, TRect{0, 32, 145, 48}, {});
    const auto swatch = canvas.CallsOf("Rectangle").at(1);
    EXPECT_EQ(swatch.Args, (std::vector<int32_t>{3, 35, 20, 45}));
    EXPECT_EQ(swatch.Brush.Color, 0x102030);
    const auto name = canvas.CallsOf("TextOut").at(0);
    EXPECT_EQ(name.Text, Utf8ToCp1250("Egyéni szín"));
    EXPECT_EQ(name.Args, (std::vector<int32_t>{24, 34})); // centred: 32 + 8 - 5 - 1

    choice.SetStyle(gocsPenStyle);
    TGraphObjectItemLook selected;
    selected.Selected = true;
    selected.HighlightText = 0x00FFFF;
    canvas.Calls.clear();
    DrawGraphObjectItem(canvas, choice, 2, TRect{0, 0, 145, 16}, selected);
    const auto line = canvas.CallsOf("Polyline").at(0);
    EXPECT_EQ(line.Args, (std::vector<int32_t>{3, 8, 60, 8}));
    EXPECT_EQ(line.Pen, (TPen{0x00FFFF, 1, TPenStyle::psDot}));
}
