// Scripted stand-ins for the editor's outside services: message boxes, file, colour and font
// dialogs and modal runs answer from queues and remember what they were asked, so a test can
// say "the save dialog answers x.PST" and "a message box said Y".
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <QDialog>
#include <string>
#include <vector>

#include "editor/window/EditorServices.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/PickerDialogs.h"
#include "platform/Printer.h"
#include "platform/qt/ModalRunner.h"
#include "platform/Screen.h"

struct TShownMessage {
    std::string Text;
    std::string Caption;
    unsigned Flags = 0;
};

class TScriptedMessages : public TMessageBoxes {
public:
    int Show(const std::string& text, const std::string& caption, unsigned flags) override {
        Shown.push_back({text, caption, flags});
        if (WhileShown) WhileShown(); // what happens while the box waits for its answer
        if (Answers.empty()) return IDOK;
        const int a = Answers.front();
        Answers.pop_front();
        return a;
    }
    std::vector<TShownMessage> Shown;
    std::deque<int> Answers;
    std::function<void()> WhileShown;
};

class TScriptedFiles : public TFileDialogs {
public:
    std::optional<std::string> Open(const TFileDialogOptions& options) override {
        return Next(options);
    }
    std::optional<std::string> Save(const TFileDialogOptions& options) override {
        return Next(options);
    }
    std::deque<std::optional<std::string>> Answers; // nullopt: the user cancels
    std::vector<TFileDialogOptions> Asked;

private:
    std::optional<std::string> Next(const TFileDialogOptions& options) {
        Asked.push_back(options);
        if (Answers.empty()) return std::nullopt;
        auto a = Answers.front();
        Answers.pop_front();
        return a;
    }
};

class TScriptedColors : public TColorDialogs {
public:
    std::optional<TColor> PickColor(TColor) override {
        if (Answers.empty()) return std::nullopt;
        auto a = Answers.front();
        Answers.pop_front();
        return a;
    }
    std::deque<std::optional<TColor>> Answers;
};

class TScriptedFonts : public TFontDialogs {
public:
    std::optional<TFont> PickFont(const TFont&) override {
        if (Answers.empty()) return std::nullopt;
        auto a = Answers.front();
        Answers.pop_front();
        return a;
    }
    std::deque<std::optional<TFont>> Answers;
};

// Each modal run takes the next answer: a function that may fill the dialog's controls and
// returns QDialog::Accepted or Rejected. Without answers a dialog is cancelled.
class TScriptedModal : public TModalRunner {
public:
    int Run(QDialog& dialog) override {
        Ran.push_back(dialog.objectName().toStdString());
        if (Answers.empty()) return QDialog::Rejected;
        auto a = std::move(Answers.front());
        Answers.pop_front();
        return a(dialog);
    }
    std::deque<std::function<int(QDialog&)>> Answers;
    std::vector<std::string> Ran; // object names of the dialogs run, in order
};

// All services at once, with no printer unless a test installs one.
struct TScriptedServices {
    TMemoryScreen Screen;
    TScriptedMessages Messages;
    TScriptedFiles Files;
    TScriptedColors Colors;
    TScriptedFonts Fonts;
    TScriptedModal Modal;
    TNoPrinter NoPrinter;
    TPrinter* Printer = &NoPrinter;

    TEditorServices Services() {
        return TEditorServices{Screen, Messages, Files, Colors, Fonts, Modal, *Printer};
    }
};
