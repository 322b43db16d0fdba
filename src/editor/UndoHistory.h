// The page's history for undo and redo. The history keeps its own copy of the page as it last
// saw it; a step holds what one change did there: in each item list the items it replaced and
// the ones it put in their place, and the page settings and compass before and after. Items are
// kept as shared copies that never change, so a step costs only the items it touched, and an
// image's copies share its picture. Steps are opened and closed only through TChangeStep and
// the gesture calls of editor/ChangeStep.h.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class TPageEditor;

class TUndoHistory {
public:
    // Steps kept; recording one more drops the oldest.
    static constexpr int kMaxSteps = 100;

    TUndoHistory();
    ~TUndoHistory();
    TUndoHistory(const TUndoHistory&) = delete;
    TUndoHistory& operator=(const TUndoHistory&) = delete;
    // A history moved from may only be destroyed or assigned to.
    TUndoHistory(TUndoHistory&&) noexcept;
    TUndoHistory& operator=(TUndoHistory&&) noexcept;

    // A step is open while a TChangeStep or a gesture (editor/ChangeStep.h) records one; the
    // page may then differ from the history's copy.
    bool IsOpen() const;
    // True when the page is what the history last recorded (the sheet's layout aside, which
    // follows the window): no change was made outside a step. Meaningful while no step is open.
    bool Matches(const TPageEditor& e) const;

    // Forgets every step: the page as it stands is where undoing ends (a page put together
    // outside the commands, as a test or a fuzzer does). Not while a step is open.
    void Restart(const TPageEditor& e);

    int UndoCount() const;
    int RedoCount() const;
    // Takes the latest step back; its name, or nothing when there is no step to undo or a
    // step is still open (a gesture is ended first, see EndGesture).
    std::optional<std::string> Undo(TPageEditor& e);
    // Applies the latest undone step again; its name, or nothing when there is none or a step
    // is still open.
    std::optional<std::string> Redo(TPageEditor& e);

    // Marks the page as it stands in the history now as the one on disk (after a save or a
    // load). Undoing or redoing back to this point makes the page unmodified again.
    void MarkSaved();
    // True when the page differs from the one marked saved: a step was recorded, undone or
    // redone since, or the marked state fell out of the history.
    bool IsModified() const;
    // Names the page as it stands in the history: every step recorded gets a name no other
    // state had, undo and redo return to earlier ones. Watchers compare it to see changes.
    uint64_t StateId() const;

private:
    friend class TChangeStep;
    friend void BeginGesture(TPageEditor& e, std::string what);
    friend void CommitGesture(TPageEditor& e);
    // Steps nest: the outermost Open takes the page as undoing will bring it back, the
    // matching Close records what changed since as one step named as the outermost asked.
    // keepSheet: undoing or redoing the step leaves the sheet's place on the page picture and
    // the click-through area as they are (they belong to the printer's sheet).
    void Open(const TPageEditor& e, std::string what);
    void Close(const TPageEditor& e, bool keepSheet);
    struct TState;
    std::unique_ptr<TState> State;
};
