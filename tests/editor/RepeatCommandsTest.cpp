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
    TTextDialogData typed;
    typed.Text = "t";
    typed.X = "10";
    typed.Y = "10";
    typed.ByMouse = false;
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
    EXPECT_EQ(Captions(E.RepeatMenu), (std::vector<std::string>{"Új felirat", "Új szöveg", "Új keret",
                                                                "Új négyszög", "Új vonal"}));
    StartDeleteTool(E, Core);
    Press(150, 150);
    const std::vector<std::string> full{"Új szöveg", "Új keret", "Új négyszög", "Új vonal", "Törlés"};
    EXPECT_EQ(Captions(E.RepeatMenu), full);

    New(neRectangle);
    Press(150, 150);
    EXPECT_EQ(E.Items.Rectangles.Count(), 1);
    EXPECT_EQ(Captions(E.RepeatMenu), full);
}

TEST_F(RepeatCommandsTest, RepeatingANewCommandSelectsItsKindAndRunsNew) {
    E.RepeatMenu.Remember("Új vonal", TRepeatCommand::NewLine);
    E.RepeatMenu.Remember("Módosítás", TRepeatCommand::ModifyTool);
    RunRepeatCommand(E, Core, E.RepeatMenu.Entries[0].Command);
    EXPECT_EQ(E.NewItemKind, neLine);
    EXPECT_EQ(E.Mode, mdNewLine);
    ASSERT_NE(E.LinePoints, nullptr);
    EXPECT_EQ(E.LinePoints->Count(), 0);
    EXPECT_EQ(E.InfoText, "Jelölje ki a vonal pontjait.");
    EXPECT_FALSE(E.RepeatMenuAttached);

    RightPress();
    RunRepeatCommand(E, Core, E.RepeatMenu.Entries[1].Command);
    EXPECT_EQ(E.Mode, mdModifyTool);
    EXPECT_EQ(E.NewItemKind, neLine); // the tools leave "New item:" alone

    const std::pair<TRepeatCommand, int32_t> kinds[] = {
        {TRepeatCommand::NewFrame, neFrame},         {TRepeatCommand::NewRectangle, neRectangle},
        {TRepeatCommand::NewPolygon, nePolygon},     {TRepeatCommand::NewCaption, neCaption},
        {TRepeatCommand::NewText, neText},           {TRepeatCommand::NewImage, neImage}};
    for (auto [command, entry] : kinds) {
        RunRepeatCommand(E, Core, command);
        EXPECT_EQ(E.NewItemKind, entry);
    }
    // The last three opened their dialogs (cancelled here).
    EXPECT_EQ(Dialogs.Runs(), 3u);
}
