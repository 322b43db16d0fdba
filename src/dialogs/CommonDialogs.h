// The font and open-file dialog components the item dialogs own: each keeps its value from
// one use to the next and asks the user through the program's dialog seams.
#pragma once

#include <string>

#include "platform/FileDialogs.h"
#include "platform/Font.h"
#include "platform/PickerDialogs.h"

class TFontDialog {
public:
    TFontDialog(TFontDialogs& dialogs, TFont initial)
        : Font(std::move(initial)), Dialogs(dialogs) {}

    // The font shown when the dialog opens, and the one chosen after Execute confirms.
    TFont Font;

    // True when the user confirmed a font; a cancelled dialog leaves Font as it was.
    bool Execute() {
        auto chosen = Dialogs.PickFont(Font);
        if (!chosen) return false;
        Font = std::move(*chosen);
        return true;
    }

private:
    TFontDialogs& Dialogs;
};

class TOpenDialog {
public:
    TOpenDialog(TFileDialogs& dialogs, TFileDialogOptions options)
        : Options(std::move(options)), Dialogs(dialogs) {}

    TFileDialogOptions Options;
    std::string FileName; // the last chosen file (UTF-8 path)

    // True when the user chose a file; FileName then names it.
    bool Execute() {
        auto chosen = Dialogs.Open(Options);
        if (!chosen) return false;
        FileName = std::move(*chosen);
        return true;
    }

private:
    TFileDialogs& Dialogs;
};
