// Starting and ending a tool: the interaction mode, the prompt in the info line, the screen
// cursor, the page picture's remembered cursor and the repeat menu, which is detached while
// a tool runs and comes back shortly after it ends.
#pragma once

#include <cstdint>
#include <string>

#include "editor/EditorMode.h"

class TPageEditor;
struct TCoreServices;
struct TRect;

// The info-line prompt of a tool mode (empty for modes without one).
const char* ToolPrompt(TEditorMode mode);

void StartTool(TPageEditor& e, TCoreServices& s, TEditorMode mode);
// Finishes a line or polygon being entered, then returns to idle and repaints.
void EndTool(TPageEditor& e, TCoreServices& s);

// "The <name> dimensions: <width>, <height>" in the info line.
void ShowDimensions(TPageEditor& e, const std::string& name, const TRect& mm);
