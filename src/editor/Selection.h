// The selection: which items the keys, the clipboard and the context menu act on. Items are
// named by (kind, index) as frame members are, so every removal renumbers the selection too.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "document/ItemKind.h"
#include "platform/Rect.h"

class TPageEditor;
struct TPageItems;
struct TPick;

// The item's extent in mm: a box's Rect; for a line or polygon the box of its points (right
// and bottom being the largest coordinates). Nothing for an item that does not exist or a
// line or polygon without points.
std::optional<TRect> ItemBounds(const TPageItems& items, TKKItem item);
bool ItemExists(const TPageItems& items, TKKItem item);
// The item a pick names (a line or polygon point names its line or polygon).
std::optional<TKKItem> PickedItem(const TPick& pick);

bool IsSelected(const TPageEditor& e, TKKItem item);
void SelectOnly(TPageEditor& e, TKKItem item);
// Shift+click: adds the item, or removes it when it was selected.
void ToggleSelected(TPageEditor& e, TKKItem item);
// Every item of the page, kind by kind in list order.
void SelectAll(TPageEditor& e);
// Drops references to items that no longer exist and repeated ones (after undo and redo).
void PruneSelection(TPageEditor& e);
// Before item (kind, index) leaves its list: the selection lets go of it and references to
// later items of the kind move down by one.
void SelectionItemRemoved(TPageEditor& e, int32_t kind, int32_t index);
// Items whose extent on the picture lies wholly inside the band (picture pixels, corners in
// any order).
std::vector<TKKItem> ItemsInBand(const TPageEditor& e, TPoint a, TPoint b);

// The items with the members of the frames among them, and the members of member frames,
// each once, in the order first met.
std::vector<TKKItem> WithMembers(const TPageItems& items, const std::vector<TKKItem>& chosen);
// The frame whose members include the item (the first in list order), if any.
std::optional<int32_t> FrameHolding(const TPageItems& items, TKKItem item);
