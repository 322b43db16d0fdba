// The page's history for undo and redo. The history keeps its own copy of the page as it last
// saw it; a step holds what one change did there: in each item list the items it replaced and
// the ones it put in their place, and the page settings and compass before and after. Items are
// kept as shared copies that never change, so a step costs only the items it touched, and an
// image's copies share its picture.
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

    // Opens a step named what (the info line says "Undo: " + what): the page as it is now is
    // what undoing the step brings back. A step still open is committed first.
    void Begin(const TPageEditor& e, std::string what);
    // Closes the open step: what changed since Begin becomes one step, unless nothing did. A
    // new step drops the steps that were undone. Without an open step nothing happens.
    void Commit(const TPageEditor& e);
    // As Commit, but undoing or redoing the step leaves the sheet's place on the page picture
    // and the click-through area as they are: they belong to the printer's sheet.
    void CommitKeepingSheet(const TPageEditor& e);
    bool IsOpen() const;
    // Opens a step that holds every change until EndGroup, however many steps the code in
    // between begins and commits (a paste of many items, a new box spanned by a drag).
    void BeginGroup(const TPageEditor& e, std::string what);
    // Closes the group's step (and any open step). Also right when no group is open.
    void EndGroup(const TPageEditor& e);
    bool InGroup() const;

    int UndoCount() const;
    int RedoCount() const;
    // Takes the latest step back (an open step is committed first); its name, or nothing when
    // there is no step to undo.
    std::optional<std::string> Undo(TPageEditor& e);
    // Applies the latest undone step again; its name, or nothing when there is none.
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
    struct TState;
    void Close(const TPageEditor& e, bool keepSheet);
    std::unique_ptr<TState> State;
};
