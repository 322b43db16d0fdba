// The editor window's files: Save, Save as, Load, opening a file named at start-up, the
// title, the question before closing with unsaved changes and the recovery copy.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QString>
#include <QTimer>
#include <stdexcept>

#include "document/DocumentFile.h"
#include "editor/ChangeStep.h"
#include "editor/window/EditorServices.h"
#include "editor/window/EditorWindow.h"
#include "editor/window/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/RecoveryStore.h"
#include "platform/Screen.h"

namespace {

std::string NameOf(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

void TNyomtatoOldalDlg::UpdateTitle() {
    // Qt puts the modified mark where "[*]" stands.
    const QString title = CurrentFile.empty() ? QStringLiteral("Folioscriptor[*]")
                                              : QString::fromStdString(NameOf(CurrentFile)) +
                                                    QStringLiteral("[*] \u2013 Folioscriptor");
    if (windowTitle() != title) setWindowTitle(title);
    setWindowModified(IsModified());
    // Every change of the page's state passes here, so the recovery copy follows it too.
    UpdateRecoveryCopy();
}

bool TNyomtatoOldalDlg::SaveTo(const std::string& path) {
    // A drag under way (Ctrl+S with the mouse button down) ends first: what is saved, what
    // the history marks as saved and what the window shows are then the same page.
    EndGesture(Editor);
    const TOutcome saved = [&] {
        THourGlass busy(Services.Screen);
        return Editor.SaveDocument(path);
    }();
    if (saved.Failed()) {
        Services.Messages.Show(saved.Message(), "Save document", MB_ICONERROR);
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
    const TOutcome loaded = [&] {
        THourGlass busy(Services.Screen);
        TOutcome outcome = Editor.LoadDocument(path);
        // The view keeps its layout of the current sheet and its zoom and scroll position.
        if (outcome.Ok()) PaintView(false);
        return outcome;
    }();
    if (loaded.Failed()) {
        Services.Messages.Show(loaded.Message(), kLoadDocumentCaption, MB_ICONWARNING);
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

void TNyomtatoOldalDlg::KeepRecoveryCopies(TRecoveryStore* store, TRecoveryPolicy policy) {
    Recovery = store && store->Ok() ? store : nullptr;
    RecoverySchedule = TRecoverySchedule(policy);
    RecoverySeenState = Editor.History.StateId();
    if (!RecoveryTimer) {
        RecoveryTimer = new QTimer(this);
        RecoveryTimer->setSingleShot(true);
        connect(RecoveryTimer, &QTimer::timeout, this, [this] { UpdateRecoveryCopy(); });
    }
    UpdateRecoveryCopy();
}

bool TNyomtatoOldalDlg::WriteRecoveryCopy() {
    if (!Recovery) return false;
    std::string why;
    const int64_t start = NowMs();
    try {
        const std::vector<uint8_t> bytes =
            WriteDocument(Editor.PageWidthMm, Editor.PageHeightMm, Editor.Settings, Editor.Items,
                          Editor.Compass ? &*Editor.Compass : nullptr);
        if (Recovery->Write(bytes, CurrentFile)) {
            const int64_t now = NowMs();
            RecoverySchedule.Written(now, now - start);
            return true;
        }
        why = Recovery->Error();
    } catch (const std::exception& e) {
        why = e.what();
    }
    // Said in the info line (a message box every half minute would be worse than the fault),
    // and on standard error for the record.
    lbInfo->setText(QString::fromStdString("No recovery copy could be written: " + why));
    std::fprintf(stderr, "folioscriptor: no recovery copy could be written: %s\n", why.c_str());
    RecoverySchedule.WriteFailed(NowMs());
    return false;
}

void TNyomtatoOldalDlg::UpdateRecoveryCopy() {
    if (!Recovery) return;
    // Called for every pointer move: without a step or a copy falling due it touches nothing.
    const int64_t now = NowMs();
    bool changed = false;
    if (const uint64_t state = Editor.History.StateId(); state != RecoverySeenState) {
        RecoverySeenState = state;
        RecoverySchedule.Stepped(now);
        changed = true;
    }
    switch (RecoverySchedule.Due(IsModified(), now)) {
    case TRecoverySchedule::TAction::Write:
        WriteRecoveryCopy();
        changed = true;
        break;
    case TRecoverySchedule::TAction::Remove:
        if (Recovery->Remove()) RecoverySchedule.Removed();
        changed = true;
        break;
    case TRecoverySchedule::TAction::None:
        // Clean again before any copy was due: nothing waits to be written.
        if (!IsModified() && RecoverySchedule.HasPendingChanges()) {
            RecoverySchedule.Removed();
            changed = true;
        }
        break;
    }
    const auto wait = RecoverySchedule.WaitFrom(now);
    if (!changed && RecoveryTimer->isActive() == wait.has_value()) return;
    if (!wait) {
        RecoveryTimer->stop();
    } else {
        RecoveryTimer->start(static_cast<int>(std::min<int64_t>(*wait, 24 * 3600 * 1000)));
    }
}

bool TNyomtatoOldalDlg::Restore(const TRecoveryClaim& claim) {
    const TOutcome loaded = [&] {
        THourGlass busy(Services.Screen);
        TOutcome outcome = Editor.LoadDocument(claim.CopyPath());
        if (outcome.Ok()) PaintView(false);
        return outcome;
    }();
    if (loaded.Failed()) {
        // The copy stays where it is for the user to look at.
        Services.Messages.Show(loaded.Message(), kLoadDocumentCaption, MB_ICONWARNING);
        return false;
    }
    // Unsaved, under the name it had: Ctrl+S puts it back in its file.
    CurrentFile = claim.DocumentPath();
    UpdateTitle();
    RecoverySeenState = Editor.History.StateId();
    return !IsModified() || WriteRecoveryCopy();
}

void TNyomtatoOldalDlg::OfferRecovery() {
    if (!Recovery) return;
    for (const std::unique_ptr<TRecoveryClaim>& claim : Recovery->ClaimOrphans()) {
        const QDateTime when = QDateTime::fromSecsSinceEpoch(claim->WrittenAt());
        std::string text =
            "Restore the unsaved page from " +
            QLocale().toString(when, QStringLiteral("d MMMM yyyy, HH:mm")).toStdString() + "?";
        if (!claim->DocumentPath().empty()) {
            const QFileInfo file(QString::fromStdString(claim->DocumentPath()));
            text += "\n\nIt holds changes to " + file.fileName().toStdString() + " in " +
                    QDir::toNativeSeparators(file.absolutePath()).toStdString() + ".";
        }
        switch (
            Services.Messages.Show(text, "Folioscriptor", MB_RESTOREDISCARD | MB_ICONQUESTION)) {
        case IDYES:
            if (!Restore(*claim)) continue;
            claim->Discard();
            // One page at a time: any other copy waits for a later start.
            return;
        case IDNO: claim->Discard(); break;
        default: break; // left for a later start
        }
    }
}

bool TNyomtatoOldalDlg::QuitRequested() {
    if (Ended) return false;
    EndSession();
    return true;
}

void TNyomtatoOldalDlg::EndSession() {
    SessionEnding = true;
    if (!AskingToClose) {
        close();
        return;
    }
    // The question before closing is open and its answer will not come: the changes go to
    // the recovery copy, and every loop (the question's too) ends.
    if (Recovery) {
        if (IsModified()) WriteRecoveryCopy();
        RecoveryTimer->stop();
    }
    for (QWidget* form : Forms.InOrder()) form->hide();
    QCoreApplication::exit(0);
}
