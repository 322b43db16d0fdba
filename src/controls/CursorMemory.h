// What the page picture remembers of the screen cursor: leaving the picture saves the tool
// cursor and shows the arrow, coming back restores the saved cursor. Disabled pictures do
// neither; the editor forgets the saved cursor when a tool ends.
#pragma once

#include "platform/Screen.h"

class TCursorMemory {
public:
    explicit TCursorMemory(TScreen& screen) : Screen(screen) {}

    bool Enabled = true;

    void MouseLeave() {
        if (!Enabled) return;
        Saved = Screen.Cursor();
        Screen.SetCursor(crArrow);
        HasSaved = true;
    }
    void MouseEnter() {
        if (Enabled && HasSaved) Screen.SetCursor(Saved);
    }
    void ForgetSavedCursor() { HasSaved = false; }
    bool HasSavedCursor() const { return HasSaved; }

private:
    TScreen& Screen;
    TCursor Saved = crDefault;
    bool HasSaved = false;
};
