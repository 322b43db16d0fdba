#include "editor/RepeatMenu.h"

int TRepeatMenu::VisibleCount() const {
    int n = 0;
    while (n < Size && Entries[n].Visible) ++n;
    return n;
}

void TRepeatMenu::Remember(const std::string& caption, TRepeatCommand command) {
    const int n = VisibleCount();
    for (int i = 0; i < n; ++i)
        if (Entries[i].Command == command) return;
    if (n == Size) {
        for (int i = 0; i + 1 < Size; ++i) Entries[i] = Entries[i + 1];
        Entries[Size - 1] = TRepeatEntry{caption, command, true};
        return;
    }
    Entries[n] = TRepeatEntry{caption, command, true};
}
