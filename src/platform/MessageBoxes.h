// Message boxes (MessageBoxA). Text and caption are UTF-8 here; the Qt implementation shows
// them, tests script the answers and check the texts.
#pragma once

#include <string>

// Buttons and icons, with the Windows values so callers read as they would there.
inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_OKCANCEL = 0x01;
// Save / Discard / Cancel for unsaved changes: IDYES saves, IDNO discards.
inline constexpr unsigned MB_YESNOCANCEL = 0x03;
inline constexpr unsigned MB_YESNO = 0x04;
// Restore / Discard for the page an editor left unsaved: IDYES restores, IDNO discards.
inline constexpr unsigned MB_RESTOREDISCARD = 0x08;
inline constexpr unsigned MB_ICONERROR = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONWARNING = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;

// Results.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

class TMessageBoxes {
public:
    virtual ~TMessageBoxes() = default;
    virtual int Show(const std::string& text, const std::string& caption, unsigned flags) = 0;
};
