// Every change of the page is one step of the undo history, by construction. A command opens a
// TChangeStep before it touches the page; the step records what changed when it goes out of
// scope, also when the command throws. A step opened inside another joins it, so a command
// made of commands (a paste, a deletion of the selection) is still one step.
//
// A gesture (a drag, a resize, the span of a new box, a rubber band) runs from a press to a
// release, so its step is held by the editor in between. Opening a TChangeStep while a gesture
// is under way first ends the gesture: what it moved so far becomes its own step and the
// pointer lets go of the item, so a gesture can never change the page outside its step, and
// the command's step never takes in the gesture's moves.
#pragma once

#include <string>

class TPageEditor;

class TChangeStep {
public:
    TChangeStep(TPageEditor& e, std::string what);
    ~TChangeStep();
    TChangeStep(const TChangeStep&) = delete;
    TChangeStep& operator=(const TChangeStep&) = delete;

    // Undoing or redoing this step leaves the sheet's place on the page picture and the
    // click-through area as they are: they belong to the printer's sheet.
    void KeepSheet() { KeepsSheet = true; }

private:
    TPageEditor& E;
    bool KeepsSheet = false;
};

// Records whatever body does to the page as one step.
template <class Body>
auto AsOneStep(TPageEditor& e, std::string what, Body&& body) {
    TChangeStep step(e, std::move(what));
    return body();
}

// A gesture moves or spans an item under the pointer (its step is open and the pointer holds
// the item), or spans a rubber band.
bool IsGestureUnderWay(const TPageEditor& e);
// Opens the step of a gesture about to start: call it before the mode says the gesture runs.
void BeginGesture(TPageEditor& e, std::string what);
// Records the gesture's step (nothing when no gesture holds one); the mode is left to the
// caller, as a release decides it.
void CommitGesture(TPageEditor& e);
// Ends a gesture under way as a command interrupting it does: its step is recorded and the
// pointer lets go (a drag, resize or band returns to idle; a span stops, the tool stays).
// Nothing happens when no gesture runs.
void EndGesture(TPageEditor& e);
