#include "editor/ChangeStep.h"

#include <utility>

#include "editor/PageEditor.h"

TChangeStep::TChangeStep(TPageEditor& e, std::string what) : E(e) {
    EndGesture(e);
    e.History.Open(e, std::move(what));
}

TChangeStep::~TChangeStep() { E.History.Close(E, KeepsSheet); }

bool IsGestureUnderWay(const TPageEditor& e) {
    return IsDragging(e.Mode) || e.Spanning || e.Mode == mdRubberBand;
}

void BeginGesture(TPageEditor& e, std::string what) {
    EndGesture(e);
    CommitGesture(e);
    e.History.Open(e, std::move(what));
    e.GestureOpen = true;
}

void CommitGesture(TPageEditor& e) {
    if (!e.GestureOpen) return;
    e.GestureOpen = false;
    e.History.Close(e, false);
}

void EndGesture(TPageEditor& e) {
    if (!IsGestureUnderWay(e)) return;
    CommitGesture(e);
    if (e.Mode != mdIdle && !IsToolActive(e.Mode)) e.Mode = mdIdle;
    e.Spanning = false;
    e.ForgetPictureCursor = true;
    e.RepaintRequested = true;
}
