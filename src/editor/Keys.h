// Keys that reach the editor window itself. Escape abandons the tool in progress (a line or
// polygon being entered loses its points) and returns to idle; Ctrl+Z undoes the latest change
// of the page, Ctrl+Shift+Z and Ctrl+Y redo it, while no tool, drag or entry runs. While idle
// the selection takes Delete, Enter and F2 (Modify), the arrows (1 mm, with Shift 10 mm),
// Ctrl+A (select all), Ctrl+C, Ctrl+X, Ctrl+V and Ctrl+D (duplicate). Zoom keys, only while
// idle: + and - (with or without Ctrl) move the zoom bar a step about the picture's centre,
// Ctrl+0 fits the whole sheet, Ctrl+1 shows it at its physical size.
#pragma once

class TPageEditor;
struct TCoreServices;

inline constexpr int VK_RETURN = 13;
inline constexpr int VK_ESCAPE = 27;
inline constexpr int VK_LEFT = 37;
inline constexpr int VK_UP = 38;
inline constexpr int VK_RIGHT = 39;
inline constexpr int VK_DOWN = 40;
inline constexpr int VK_DELETE = 46;
inline constexpr int VK_F2 = 113;
inline constexpr int VK_A = 'A';
inline constexpr int VK_C = 'C';
inline constexpr int VK_D = 'D';
inline constexpr int VK_V = 'V';
inline constexpr int VK_X = 'X';
inline constexpr int VK_0 = '0';
inline constexpr int VK_1 = '1';
inline constexpr int VK_ADD = 0x6B;      // + on the keypad
inline constexpr int VK_SUBTRACT = 0x6D; // - on the keypad
inline constexpr int VK_OEM_PLUS = 0xBB; // + (= with Shift on many layouts)
inline constexpr int VK_OEM_MINUS = 0xBD;
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
