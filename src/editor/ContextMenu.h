// The menu of a right click on an item: what it offers for the selection (which the right
// press made the item part of) and what each entry does. A right click on the empty page
// keeps the repeat menu.
#pragma once

#include <cstdint>
#include <vector>

class TPageEditor;
struct TCoreServices;

enum class TContextCommand {
    Modify,
    Delete,
    Cut,
    Copy,
    Paste,
    Duplicate,
    PutIntoFrame,
    TakeOutOfFrame,
};

struct TContextEntry {
    TContextCommand Command;
    const char* Caption; // with the accelerator the window shows
    bool Enabled = true;
};

// The entries for a right click at picture pixel (x, y): empty unless the editor is idle and
// an item lies there. Modify wants a single selected item; the frame entries are offered for a
// single item that a frame holds (take out) or that lies in or over a frame (put into).
std::vector<TContextEntry> ContextMenuAt(const TPageEditor& e, int32_t x, int32_t y);
void RunContextCommand(TPageEditor& e, TCoreServices& s, TContextCommand command);
