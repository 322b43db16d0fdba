// Open and save file dialogs (TOpenDialog / TSaveDialog): the caller describes the dialog,
// the seam answers with a chosen path (UTF-8) or nothing when the user cancels.
#pragma once

#include <optional>
#include <string>

struct TFileDialogOptions {
    std::string Title;      // UTF-8
    std::string Filter;     // "Description (*.EXT)|*.EXT[|...]"
    std::string DefaultExt; // without the dot; appended when the typed name has none
    bool MustExist = false;
    bool OverwritePrompt = false;
    // A file proposed in its folder; empty: the folder where the last dialog with the same
    // filter was left in this run.
    std::string InitialPath = {};
};

class TFileDialogs {
public:
    virtual ~TFileDialogs() = default;
    virtual std::optional<std::string> Open(const TFileDialogOptions& options) = 0;
    virtual std::optional<std::string> Save(const TFileDialogOptions& options) = 0;
};
