// What the keys and the item menu do to the selected items: delete them, move them by whole
// millimetres, open the Modify dialog of one, and put an item into a frame or take it out.
// Each change is one step of the undo history.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "document/ItemKind.h"

class TPageEditor;
struct TCoreServices;
struct TPageItems;

// Moves one item by (dx, dy) mm, held to the int32 range (no limits, no undo step).
void OffsetItem(TPageItems& items, TKKItem item, int32_t dx, int32_t dy);

// Removes the selected items as the Delete tool does (frame references renumbered). False
// when nothing is selected.
bool DeleteSelection(TPageEditor& e);
// The history step's name for a command on the selection: "deleted caption", "cut 3 items".
std::string SelectionStepName(const TPageEditor& e, const std::string& verb);
// Moves the selected items by (dx, dy) mm, frames with their members, as far as a drag may
// take them: a step that would take one of them over the printable area's edge is refused
// and nothing moves. False when refused or nothing is selected.
bool NudgeSelection(TPageEditor& e, int32_t dx, int32_t dy);
// The Modify dialog of the one selected item. False unless exactly one is selected.
bool ModifySelected(TPageEditor& e, TCoreServices& s);

// The frame "Put into frame" gives the item: the last frame, not the item itself nor one
// of its own members, whose rectangle holds the item's anchor, else the last one it overlaps.
std::optional<int32_t> FrameToPutInto(const TPageEditor& e, TKKItem item);
bool PutIntoFrame(TPageEditor& e, TKKItem item);
// Takes the item out of the frame that lists it. False when no frame does.
bool TakeOutOfFrame(TPageEditor& e, TKKItem item);
