// The item commands as the mouse tools and the repeat menu reach them: a press while a tool is
// armed goes to that tool, and a repeat-menu command runs again. The commands themselves are
// in NewItemCommands.h and DeleteModify.h (included here for the callers of both); every
// change of the document goes through ItemOperations.h, with frame references kept in step.
#pragma once

#include <cstdint>

#include "editor/commands/DeleteModify.h"
#include "editor/commands/NewItemCommands.h"
#include "editor/RepeatMenu.h"

class TPageEditor;
struct TCoreServices;

// Runs a command of the repeat menu (a "new" command first selects its kind).
void RunRepeatCommand(TPageEditor& e, TCoreServices& s, TRepeatCommand command,
                      TNewCaptionHooks* hooks = nullptr);

// A left (or middle) press at view pixel (x, y) while a tool is armed (IsToolActive). True when
// it was (the press is used).
bool PressInTool(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y);
