// The Delete and Modify tools: "&Delete" and "&Modify" arm them, and one press picks the item
// (or, for Delete, the compass mark) and removes it, or shows its dialog filled from it and
// takes the confirmed values back.
#pragma once

#include <cstdint>

#include "document/ItemKind.h"

class TPageEditor;
struct TCoreServices;

void StartDeleteTool(TPageEditor& e, TCoreServices& s);
void StartModifyTool(TPageEditor& e, TCoreServices& s);
// Presses of the Delete and Modify tools, at picture pixel (x, y).
void DeleteAt(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y);
void ModifyAt(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y);
// The Modify dialog of one item, its confirmed values taken back as one step. True when the
// item changed.
bool ModifyWithDialog(TPageEditor& e, TCoreServices& s, TKKItem item);
