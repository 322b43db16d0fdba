// Scripted item dialogs and the other outside services of the editor core, without Qt: each
// dialog run records what it was shown and takes the next scripted answer, so a test can say
// "the new caption dialog answers 'Hello' at (20, 30)" and then check what the dialog showed.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/CoreServices.h"
#include "editor/ItemDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/PickerDialogs.h"
#include "platform/Printer.h"
#include "platform/RecordingCanvas.h"
#include "platform/Screen.h"

// One dialog's script. Without an answer left the dialog is cancelled.
template <class Data>
struct TDialogScript {
    std::deque<std::function<bool(Data&)>> Answers;
    std::vector<Data> Shown; // the data of every run, as the dialog was shown it

    bool Run(Data& d) {
        Shown.push_back(d);
        if (Answers.empty()) return false;
        auto answer = std::move(Answers.front());
        Answers.pop_front();
        return answer(d);
    }
    // The user leaves the dialog with Ok holding exactly these values.
    void Ok(Data typed) {
        Answers.push_back([typed](Data& d) {
            d = typed;
            return true;
        });
    }
    // The user changes some of the shown values and presses Ok.
    void Edit(std::function<void(Data&)> change) {
        Answers.push_back([change](Data& d) {
            change(d);
            return true;
        });
    }
    void Cancel() {
        Answers.push_back([](Data&) { return false; });
    }
};

class TScriptedItemDialogs : public TItemDialogs {
public:
    bool NewCaption(TTextDialogData& d) override { return NewCaptionScript.Run(d); }
    bool NewText(TTextDialogData& d) override { return NewTextScript.Run(d); }
    bool NewImage(TImageDialogData& d) override { return NewImageScript.Run(d); }
    bool LineProperties(TLineDialogData& d, bool fill) override {
        LineFilled.push_back(fill);
        return LineScript.Run(d);
    }
    bool ModifyCaption(TTextDialogData& d) override { return ModifyCaptionScript.Run(d); }
    bool ModifyText(TTextDialogData& d) override { return ModifyTextScript.Run(d); }
    bool ModifyImage(TImageDialogData& d) override { return ModifyImageScript.Run(d); }
    bool ModifyFrame(TFrameDialogData& d) override { return ModifyFrameScript.Run(d); }

    // Dialog runs of every kind together.
    size_t Runs() const {
        return NewCaptionScript.Shown.size() + NewTextScript.Shown.size() +
               NewImageScript.Shown.size() + LineScript.Shown.size() +
               ModifyCaptionScript.Shown.size() + ModifyTextScript.Shown.size() +
               ModifyImageScript.Shown.size() + ModifyFrameScript.Shown.size();
    }

    TDialogScript<TTextDialogData> NewCaptionScript;
    TDialogScript<TTextDialogData> NewTextScript;
    TDialogScript<TImageDialogData> NewImageScript;
    TDialogScript<TLineDialogData> LineScript;
    std::vector<bool> LineFilled;
    TDialogScript<TTextDialogData> ModifyCaptionScript;
    TDialogScript<TTextDialogData> ModifyTextScript;
    TDialogScript<TImageDialogData> ModifyImageScript;
    TDialogScript<TFrameDialogData> ModifyFrameScript;
};

struct TRecordedMessage {
    std::string Text;
    std::string Caption;
    unsigned Flags = 0;
};

// Every message box answers Ok and is remembered.
class TRecordedMessages : public TMessageBoxes {
public:
    int Show(const std::string& text, const std::string& caption, unsigned flags) override {
        Shown.push_back({text, caption, flags});
        return IDOK;
    }
    std::vector<TRecordedMessage> Shown;
};

// The colour dialog answers from a queue (nullopt: cancelled; no answer left: cancelled) and
// remembers the colour it opened with.
class TQueuedColors : public TColorDialogs {
public:
    std::optional<TColor> PickColor(TColor initial) override {
        Opened.push_back(initial);
        if (Answers.empty()) return std::nullopt;
        auto a = Answers.front();
        Answers.pop_front();
        return a;
    }
    std::deque<std::optional<TColor>> Answers;
    std::vector<TColor> Opened;
};

// A printer whose text measure is the recording canvas's: characters half the font height
// wide, lines as high as the font.
class TMeasuringPrinter : public TNoPrinter {
public:
    std::unique_ptr<TCanvas> CreateMeasureCanvas() override {
        return std::make_unique<TRecordingCanvas>();
    }
};

struct TScriptedCore {
    TMemoryScreen Screen;
    TMeasuringPrinter Printer;
    TRecordedMessages Messages;
    TQueuedColors Colors;
    TScriptedItemDialogs Dialogs;

    TCoreServices Services() { return TCoreServices{Screen, Printer, Messages, Colors, Dialogs}; }
};
