#include "editor/Keys.h"

#include <optional>
#include <string>

#include "editor/CoreServices.h"
#include "editor/PageEditor.h"
#include "editor/ViewZoom.h"
#include "platform/Screen.h"

namespace {

enum class TKeyCommand { None, Undo, Redo, ZoomIn, ZoomOut, FitPage, PhysicalSize };

TKeyCommand CommandOf(int key, unsigned shift) {
    if (shift & ssAlt) return TKeyCommand::None;
    if (key == VK_ADD || key == VK_OEM_PLUS) return TKeyCommand::ZoomIn;
    if (key == VK_SUBTRACT || key == VK_OEM_MINUS) return TKeyCommand::ZoomOut;
    if (!(shift & ssCtrl)) return TKeyCommand::None;
    if (key == VK_0) return TKeyCommand::FitPage;
    if (key == VK_1) return TKeyCommand::PhysicalSize;
    const bool shifted = (shift & ssShift) != 0;
    if (key == VK_Z) return shifted ? TKeyCommand::Redo : TKeyCommand::Undo;
    if (key == VK_Y && !shifted) return TKeyCommand::Redo;
    return TKeyCommand::None;
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
        e.History.Commit(e);
        // The info line keeps its text and the repeat menu stays detached until the next tool
        // ends; the page picture forgets the tool cursor it may have saved.
        if (e.CancelEntry(s.Screen)) e.RepaintRequested = true;
        e.ForgetPictureCursor = true;
        return true;
    }
    const TKeyCommand command = CommandOf(key, shift);
    if (command == TKeyCommand::None) return false;
    // During a tool, a drag or point entry the page is not to change under the pointer; a
    // pointer resting on an edge holds nothing.
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

void UndoChange(TPageEditor& e) { Show(e, "Undo", e.History.Undo(e), "Nothing to undo"); }

void RedoChange(TPageEditor& e) { Show(e, "Redo", e.History.Redo(e), "Nothing to redo"); }
