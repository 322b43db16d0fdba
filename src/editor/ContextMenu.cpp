#include "editor/ContextMenu.h"

#include "editor/commands/ClipboardCommands.h"
#include "editor/commands/SelectionCommands.h"
#include "editor/HitTest.h"
#include "editor/PageEditor.h"
#include "editor/Selection.h"

std::vector<TContextEntry> ContextMenuAt(const TPageEditor& e, int32_t x, int32_t y) {
    if (e.Mode != mdIdle || !PickedItem(PickItem(e, x, y))) return {};
    const bool single = e.Selection.size() == 1;
    std::vector<TContextEntry> menu{
        {TContextCommand::Modify, "Modify...", single},
        {TContextCommand::Delete, "Delete", true},
        {TContextCommand::Cut, "Cut", true},
        {TContextCommand::Copy, "Copy", true},
        {TContextCommand::Paste, "Paste", true},
        {TContextCommand::Duplicate, "Duplicate", true},
    };
    if (single) {
        const TKKItem item = e.Selection.front();
        if (FrameHolding(e.Items, item)) {
            menu.push_back({TContextCommand::TakeOutOfFrame, "Take out of frame", true});
        } else if (FrameToPutInto(e, item)) {
            menu.push_back({TContextCommand::PutIntoFrame, "Put into frame", true});
        }
    }
    return menu;
}

void RunContextCommand(TPageEditor& e, TCoreServices& s, TContextCommand command) {
    if (e.Mode != mdIdle) return;
    PruneSelection(e);
    switch (command) {
    case TContextCommand::Modify: ModifySelected(e, s); break;
    case TContextCommand::Delete: DeleteSelection(e); break;
    case TContextCommand::Cut: CutSelection(e, s); break;
    case TContextCommand::Copy: CopySelection(e, s); break;
    case TContextCommand::Paste: PasteClipboard(e, s); break;
    case TContextCommand::Duplicate: DuplicateSelection(e); break;
    case TContextCommand::PutIntoFrame:
        if (e.Selection.size() == 1) PutIntoFrame(e, e.Selection.front());
        break;
    case TContextCommand::TakeOutOfFrame:
        if (e.Selection.size() == 1) TakeOutOfFrame(e, e.Selection.front());
        break;
    }
}
