#include <gtest/gtest.h>

#include "editor/CommandsFixture.h"

namespace {

using RepeatCommandsTest = CommandsTest;

std::vector<std::string> Captions(const TRepeatMenu& menu) {
    std::vector<std::string> out;
    for (const TRepeatEntry& entry : menu.Entries)
        if (entry.Visible) out.push_back(entry.Caption);
    return out;
}

} // namespace

TEST_F(RepeatCommandsTest, SixDifferentCommandsPushTheFirstOutAndARepeatedOneChangesNothing) {
    TTextDialogData typed{"t", 1, "10", "10", false};
    Dialogs.NewCaptionScript.Ok(typed);
    New(neCaption);
    Dialogs.NewTextScript.Ok(typed);
    New(neText);
    New(neFrame);
    Press(100, 100);
    RightPress();
    S.Colors.Answers = {clRed, clRed};
    New(neRectangle);
    Press(150, 150);
    New(neLine);
    Press(20, 200);
    Dialogs.LineScript.Ok(TLineDialogData{});
    RightPress();
    StartDeleteTool(E, Core);
    Press(150, 150);
    const std::vector<std::string> menu{"Új szöveg", "Új keret", "Új négyszög", "Új vonal",
                                        "Törlés"};
    EXPECT_EQ(Captions(E.RepeatMenu), menu);
    New(neRectangle);
    Press(150, 150);
    EXPECT_EQ(E.Items.Rectangles.Count(), 1);
    EXPECT_EQ(Captions(E.RepeatMenu), menu);
}

TEST_F(RepeatCommandsTest, RepeatingANewCommandSelectsItsKindAndRunsNew) {
    RunRepeatCommand(E, Core, TRepeatCommand::NewLine);
    EXPECT_EQ(E.NewItemKind, neLine);
    EXPECT_EQ(E.Mode, mdNewLine);
    ASSERT_NE(E.LinePoints, nullptr);
    EXPECT_EQ(E.InfoText, "Jelölje ki a vonal pontjait.");
    EXPECT_FALSE(E.RepeatMenuAttached);

    RunRepeatCommand(E, Core, TRepeatCommand::ModifyTool);
    EXPECT_EQ(E.Mode, mdModifyTool);
    EXPECT_EQ(E.NewItemKind, neLine); // tools leave "New item:" alone
    RunRepeatCommand(E, Core, TRepeatCommand::NewPolygon);
    EXPECT_EQ(E.NewItemKind, nePolygon);
    RunRepeatCommand(E, Core, TRepeatCommand::NewImage);
    EXPECT_EQ(E.NewItemKind, neImage);
    EXPECT_EQ(Dialogs.NewImageScript.Shown.size(), 1u);
}

TEST_F(RepeatCommandsTest, AToolStartedBeforeTheMenuReturnedKeepsItDetached) {
    StartDeleteTool(E, Core);
    EndTool(E, Core);
    ASSERT_TRUE(E.RepeatTimerEnabled); // the menu would come back shortly
    StartModifyTool(E, Core);
    EXPECT_FALSE(E.RepeatTimerEnabled) << "a pending return must not attach it mid-tool";
    EXPECT_FALSE(E.RepeatMenuAttached);
}
