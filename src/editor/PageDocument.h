// The document the editor works on: the seven item lists, the page settings, the compass
// mark and the history of their changes.
#pragma once

#include <optional>

#include "document/ItemLists.h"
#include "document/PageSettings.h"
#include "editor/UndoHistory.h"

struct TPageDocument {
    TPageItems Items;
    TPageSettings Settings;
    // The compass mark's state: none until a loaded document brings one; saved with the
    // document when present, so a page without one stays in the compact file form.
    std::optional<TCompass> Compass;
    // Every change of the items, the page settings and the compass, for undo and redo.
    TUndoHistory History;
};
