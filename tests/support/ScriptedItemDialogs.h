// The editor core's outside services scripted, without Qt: each item dialog run records what
// it showed and takes the next scripted answer; message boxes are recorded; the colour dialog
// answers from a queue; text is measured by the recording canvas.
#pragma once

#include <deque>
#include <functional>
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

// One dialog: an answer edits the shown data and presses Ok. No answer left: cancelled.
template <class Data>
struct TDialogScript {
    std::deque<std::function<void(Data&)>> Answers;
    std::vector<Data> Shown;
    bool Run(Data& d) {
        Shown.push_back(d);
        if (Answers.empty()) return false;
        Answers.front()(d);
        Answers.pop_front();
        return true;
    }
    void Ok(Data typed) {
        Answers.push_back([typed](Data& d) { d = typed; });
    }
};

class TScriptedItemDialogs : public TItemDialogs {
public:
    bool NewCaption(TTextDialogData& d) override { return NewCaptionScript.Run(d); }
    bool NewText(TTextDialogData& d) override { return NewTextScript.Run(d); }
    bool NewImage(TImageDialogData& d) override { return NewImageScript.Run(d); }
    bool LineProperties(TLineDialogData& d, bool) override { return LineScript.Run(d); }
    bool ModifyCaption(TTextDialogData& d) override { return ModifyCaptionScript.Run(d); }
    bool ModifyText(TTextDialogData& d) override { return ModifyTextScript.Run(d); }
    bool ModifyImage(TImageDialogData& d) override { return ModifyImageScript.Run(d); }
    bool ModifyFrame(TFrameDialogData& d) override { return ModifyFrameScript.Run(d); }

    TDialogScript<TTextDialogData> NewCaptionScript, NewTextScript, ModifyCaptionScript,
        ModifyTextScript;
    TDialogScript<TImageDialogData> NewImageScript, ModifyImageScript;
    TDialogScript<TLineDialogData> LineScript;
    TDialogScript<TFrameDialogData> ModifyFrameScript;
};

class TRecordedMessages : public TMessageBoxes {
public:
    int Show(const std::string& text, const std::string& caption, unsigned) override {
        Shown.push_back(caption + ": " + text);
        return IDOK;
    }
    std::vector<std::string> Shown; // "caption: text"
};

class TQueuedColors : public TColorDialogs {
public:
    std::optional<TColor> PickColor(TColor initial) override {
        Opened.push_back(initial);
        if (Answers.empty()) return std::nullopt;
        const auto a = Answers.front();
        Answers.pop_front();
        return a;
    }
    std::deque<std::optional<TColor>> Answers; // nullopt: cancelled
    std::vector<TColor> Opened;                // the colour each run opened with
};

// Characters half the font height wide, lines as high as the font (in printer pixels).
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
