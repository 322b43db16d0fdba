#include <gtest/gtest.h>

#include "controls/CursorMemory.h"

TEST(CursorMemory, LeavingShowsTheArrowAndComingBackRestoresTheToolCursor) {
    TMemoryScreen screen;
    TCursorMemory memory(screen);
    memory.MouseEnter(); // nothing saved yet: nothing happens
    EXPECT_TRUE(screen.History.empty());

    screen.SetCursor(crCross);
    memory.MouseLeave();
    EXPECT_EQ(screen.Current, crArrow);
    memory.MouseEnter();
    EXPECT_EQ(screen.Current, crCross);
    memory.MouseEnter(); // the saved cursor stays until forgotten
    EXPECT_EQ(screen.Current, crCross);

    memory.ForgetSavedCursor();
    screen.SetCursor(crDefault);
    memory.MouseEnter();
    EXPECT_EQ(screen.Current, crDefault);
}

TEST(CursorMemory, ADisabledPictureNeitherSavesNorRestores) {
    TMemoryScreen screen;
    TCursorMemory memory(screen);
    memory.Enabled = false;
    screen.SetCursor(crDrag);
    memory.MouseLeave();
    EXPECT_EQ(screen.Current, crDrag);
    EXPECT_FALSE(memory.HasSavedCursor());
}
