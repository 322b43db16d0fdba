// Keys that reach the editor window itself. Escape abandons the tool in progress (a line or
// polygon being entered loses its points) and returns to idle; Ctrl+Z undoes the latest change
// of the page, Ctrl+Shift+Z and Ctrl+Y redo it, while no tool, drag or entry runs.
#pragma once

class TPageEditor;
struct TCoreServices;

inline constexpr int VK_ESCAPE = 27;
inline constexpr int VK_Y = 'Y';
inline constexpr int VK_Z = 'Z';

// The modifier keys held with a key (bits).
enum TShiftState : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
};

// True when the key is one of the editor's (the window passes other keys on).
bool KeyDown(TPageEditor& e, TCoreServices& s, int key, unsigned shift = 0);

// Undo and redo with what the window shows: the info line names the step ("Undo: new
// rectangle") and the page is repainted; with no step left the info line says so.
void UndoChange(TPageEditor& e);
void RedoChange(TPageEditor& e);
