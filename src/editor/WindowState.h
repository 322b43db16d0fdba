// What the window shows and does as the editor core decided it: the info line, the pointer
// read-out, the repeat menu and the "New item:" choice, and the requests the window carries
// out after each event.
#pragma once

#include <cstdint>
#include <string>

#include "editor/RepeatMenu.h"
#include "platform/Color.h"

// What the window must do after the core handled an event.
struct TWindowRequests {
    bool Repaint = false;             // paint the page picture and the navigator anew
    bool ForgetPictureCursor = false; // the page picture forgets its remembered cursor
    bool RepeatTimerRunning = false;  // the repeat menu's timer runs (else it stops)
};

struct TWindowState {
    std::string InfoText; // UTF-8
    // The pointer read-out in mm; empty off the sheet.
    std::string PointerXText;
    std::string PointerYText;
    // Requests the core makes while it handles an event; TakeWindowRequests hands them over.
    bool RepaintRequested = false;
    bool ForgetPictureCursor = false;
    TRepeatMenu RepeatMenu;
    int32_t NewItemKind = 0; // the entry selected in "New item:" (0 caption .. 6 polygon)
    // The colour dialog of rectangles and polygons opens with the colour last chosen in it.
    TColor FillColorChoice = clBlack;
    // The repeat menu is attached to the page picture (it is detached while a tool runs and
    // comes back RepeatMenuDelayMs after the tool ends, through the window's timer).
    bool RepeatMenuAttached = true;
    bool RepeatTimerEnabled = false;
    static constexpr int RepeatMenuDelayMs = 500;

    // What the window must do now; the one-time requests are cleared, so each is carried
    // out once.
    TWindowRequests TakeWindowRequests() {
        const TWindowRequests requests{RepaintRequested, ForgetPictureCursor, RepeatTimerEnabled};
        RepaintRequested = false;
        ForgetPictureCursor = false;
        return requests;
    }
};
