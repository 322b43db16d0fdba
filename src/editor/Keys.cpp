#include "editor/Keys.h"

#include <optional>
#include <string>

#include "editor/ChangeStep.h"
#include "editor/commands/ClipboardCommands.h"
#include "editor/commands/SelectionCommands.h"
#include "editor/CoreServices.h"
#include "editor/PageEditor.h"
#include "editor/Selection.h"
#include "editor/ViewZoom.h"
#include "platform/Screen.h"

namespace {

enum class TKeyCommand {
    None,
    Undo,
    Redo,
    ZoomIn,
    ZoomOut,
    FitPage,
    PhysicalSize,
    SelectAll,
    Copy,
    Cut,
    Paste,
    Duplicate,
    Delete,
    Modify,
    Nudge,
};

TKeyCommand CommandOf(int key, unsigned shift) {
    if (shift & ssAlt) return TKeyCommand::None;
    if (key == VK_ADD || key == VK_OEM_PLUS) return TKeyCommand::ZoomIn;
    if (key == VK_SUBTRACT || key == VK_OEM_MINUS) return TKeyCommand::ZoomOut;
    if (!(shift & ssCtrl)) {
        switch (key) {
        case VK_DELETE: return TKeyCommand::Delete;
        case VK_RETURN:
        case VK_F2: return TKeyCommand::Modify;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: return TKeyCommand::Nudge;
        default: return TKeyCommand::None;
        }
    }
    if (key == VK_0) return TKeyCommand::FitPage;
    if (key == VK_1) return TKeyCommand::PhysicalSize;
    const bool shifted = (shift & ssShift) != 0;
    if (key == VK_Z) return shifted ? TKeyCommand::Redo : TKeyCommand::Undo;
    if (shifted) return TKeyCommand::None;
    switch (key) {
    case VK_Y: return TKeyCommand::Redo;
    case VK_A: return TKeyCommand::SelectAll;
    case VK_C: return TKeyCommand::Copy;
    case VK_X: return TKeyCommand::Cut;
    case VK_V: return TKeyCommand::Paste;
    case VK_D: return TKeyCommand::Duplicate;
    default: return TKeyCommand::None;
    }
}

void Nudge(TPageEditor& e, int key, unsigned shift) {
    const int32_t step = (shift & ssShift) ? 10 : 1;
    const int32_t dx = key == VK_LEFT ? -step : key == VK_RIGHT ? step : 0;
    const int32_t dy = key == VK_UP ? -step : key == VK_DOWN ? step : 0;
    NudgeSelection(e, dx, dy);
}

void Show(TPageEditor& e, const char* verb, const std::optional<std::string>& what,
          const char* nothing) {
    if (!what) {
        e.InfoText = nothing;
        return;
    }
    e.InfoText = std::string(verb) + ": " + *what;
    e.RepaintRequested = true;
}

} // namespace

bool KeyDown(TPageEditor& e, TCoreServices& s, int key, unsigned shift) {
    if (key == VK_ESCAPE) {
        // A drag that Escape interrupts keeps what it moved, as one step.
        EndGesture(e);
        CommitGesture(e);
        // The info line keeps its text and the repeat menu stays detached until the next tool
        // ends; the page picture forgets the tool cursor it may have saved.
        if (e.CancelEntry(s.Screen)) e.RepaintRequested = true;
        e.ForgetPictureCursor = true;
        return true;
    }
    const TKeyCommand command = CommandOf(key, shift);
    if (command == TKeyCommand::None) return false;
    // During a tool, a drag or point entry the page is not to change under the pointer; a
    // pointer resting on an edge or a handle holds nothing.
    if (!IsAtRest(e.Mode)) return true;
    // The hovered edge may belong to a box the step removes or moves: the next move finds the
    // edge again.
    if (IsHovering(e.Mode)) {
        e.Mode = mdIdle;
        s.Screen.SetCursor(crArrow);
    }
    const int before = e.ZoomPosition;
    const int32_t scrollX = e.ScrollX, scrollY = e.ScrollY;
    switch (command) {
    case TKeyCommand::Undo: UndoChange(e); return true;
    case TKeyCommand::Redo: RedoChange(e); return true;
    case TKeyCommand::SelectAll: SelectAll(e); return true;
    case TKeyCommand::Copy: CopySelection(e, s); return true;
    case TKeyCommand::Cut: CutSelection(e, s); return true;
    case TKeyCommand::Paste: PasteClipboard(e, s); return true;
    case TKeyCommand::Duplicate: DuplicateSelection(e); return true;
    case TKeyCommand::Delete: DeleteSelection(e); return true;
    case TKeyCommand::Modify: ModifySelected(e, s); return true;
    case TKeyCommand::Nudge: Nudge(e, key, shift); return true;
    case TKeyCommand::ZoomIn: ZoomAtCentre(e, e.ZoomPosition + 1); break;
    case TKeyCommand::ZoomOut: ZoomAtCentre(e, e.ZoomPosition - 1); break;
    case TKeyCommand::FitPage: ZoomToFitPage(e); break;
    case TKeyCommand::PhysicalSize: ZoomToPhysicalSize(e, s.Screen.PixelsPerMm()); break;
    case TKeyCommand::None: break;
    }
    if (e.ZoomPosition != before || e.ScrollX != scrollX || e.ScrollY != scrollY)
        e.RepaintRequested = true;
    return true;
}

void UndoChange(TPageEditor& e) {
    // A span still under way (a placed box following the pointer) becomes its own step first,
    // so the history can act and the pointer lets go of the box.
    EndGesture(e);
    Show(e, "Undo", e.History.Undo(e), "Nothing to undo");
    PruneSelection(e);
}

void RedoChange(TPageEditor& e) {
    EndGesture(e);
    Show(e, "Redo", e.History.Redo(e), "Nothing to redo");
    PruneSelection(e);
}
