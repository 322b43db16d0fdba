// Keys that reach the editor window itself. Only Escape acts: it abandons the tool in
// progress (a line or polygon being entered loses its points) and returns to idle.
#pragma once

class TPageEditor;
struct TCoreServices;

inline constexpr int VK_ESCAPE = 27;

void KeyDown(TPageEditor& e, TCoreServices& s, int key);
