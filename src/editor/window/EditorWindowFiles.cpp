// The editor window's files: Save, Save as, Load, opening a file named at start-up, the
// title and the question before closing with unsaved changes.
#include <QFileInfo>
#include <QString>

#include "document/DocumentFile.h"
#include "editor/ChangeStep.h"
#include "editor/window/EditorServices.h"
#include "editor/window/EditorWindow.h"
#include "platform/MessageBoxes.h"
#include "platform/Screen.h"

namespace {

std::string NameOf(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

} // namespace

void TNyomtatoOldalDlg::UpdateTitle() {
    // Qt puts the modified mark where "[*]" stands.
    const QString title = CurrentFile.empty() ? QStringLiteral("Folioscriptor[*]")
                                              : QString::fromStdString(NameOf(CurrentFile)) +
                                                    QStringLiteral("[*] \u2013 Folioscriptor");
    if (windowTitle() != title) setWindowTitle(title);
    setWindowModified(IsModified());
}

bool TNyomtatoOldalDlg::SaveTo(const std::string& path) {
    std::optional<std::string> error;
    {
        THourGlass busy(Services.Screen);
        error = Editor.SaveDocument(path);
    }
    if (error) {
        Services.Messages.Show(*error, "Save document", MB_ICONERROR);
        return false;
    }
    CurrentFile = path;
    Editor.History.MarkSaved();
    UpdateTitle();
    return true;
}

void TNyomtatoOldalDlg::SaveDocument() {
    TFileDialogOptions options = SaveDialog;
    options.InitialPath = CurrentFile;
    const auto path = Services.Files.Save(options);
    if (path) SaveTo(*path);
}

bool TNyomtatoOldalDlg::SaveCurrent() {
    if (!CurrentFile.empty()) return SaveTo(CurrentFile);
    const auto path = Services.Files.Save(SaveDialog);
    return path && SaveTo(*path);
}

void TNyomtatoOldalDlg::LoadDocument() {
    const auto path = Services.Files.Open(OpenDialog);
    if (path) OpenFile(*path);
}

void TNyomtatoOldalDlg::OpenFile(const std::string& path) {
    std::optional<std::string> error;
    {
        THourGlass busy(Services.Screen);
        error = Editor.LoadDocument(path);
        // The view keeps its layout of the current sheet and its zoom and scroll position.
        if (!error) PaintView(false);
    }
    if (error) {
        Services.Messages.Show(*error, kLoadDocumentCaption, MB_ICONWARNING);
        return;
    }
    CurrentFile = path;
    Editor.History.MarkSaved();
    UpdateTitle();
}

bool TNyomtatoOldalDlg::MayClose() {
    // A step still open (a drag under way) belongs to the page being asked about.
    EndGesture(Editor);
    if (!IsModified()) return true;
    const std::string name = CurrentFile.empty() ? "the new page" : NameOf(CurrentFile);
    switch (Services.Messages.Show("Save the changes to " + name + "?", "Folioscriptor",
                                   MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: return SaveCurrent();
    case IDNO: return true;
    default: return false;
    }
}

void TNyomtatoOldalDlg::EndSession() {
    SessionEnding = true;
    close();
}
