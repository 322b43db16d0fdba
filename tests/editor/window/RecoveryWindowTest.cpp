// The window's recovery copy: written while the page has unsaved changes, gone once they are
// saved, discarded or undone; a copy an ended editor left is offered and restored.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "dialogs/NavigatorDlg.h"
#include "document/DocumentFile.h"
#include "editor/Keys.h"
#include "editor/window/EditorWindow.h"
#include "editor/window/Forms.h"
#include "platform/Files.h"
#include "platform/RecoveryStore.h"
#include "support/PageChanges.h"
#include "support/QtTestApp.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

class RecoveryWindowTest : public ::testing::Test {
protected:
    RecoveryWindowTest() {
        TestApp();
        CreateForms(Forms, Services);
    }

    TNyomtatoOldalDlg& Window() { return *Forms.NyomtatoOldalDlg; }
    std::string Folder() const { return Dir.File("recovery"); }
    std::string CopyPath() const { return Store->PathOf(TRecoveryPart::Copy); }
    // The captions of the recovery copy, -1 when there is none.
    int CaptionsInCopy() const {
        if (!fs::exists(CopyPath())) return -1;
        TPageEditor reread;
        return reread.LoadDocument(CopyPath()).Failed() ? -2 : reread.Items.Captions.Count();
    }

    void Change(const char* text) {
        AddCaptionStep(Window().Editor, text);
        Window().Reflect();
    }

    TTempDir Dir{"recovery-window"};
    std::unique_ptr<TRecoveryStore> Store =
        std::make_unique<TRecoveryStore>(Folder(), TRecoveryId{::getpid(), 1});
    TScriptedServices Scripted;
    TEditorServices Services = Scripted.Services();
    TForms Forms;
};

} // namespace

TEST_F(RecoveryWindowTest, TheCopyFollowsTheStepsAndGoesWhenThePageIsSavedOrUndone) {
    TNyomtatoOldalDlg& w = Window();
    w.KeepRecoveryCopies(Store.get(), {3600 * 1000, 3});
    Change("a");
    Change("b");
    EXPECT_EQ(CaptionsInCopy(), -1); // two steps, and the hour is not up
    Change("c");
    EXPECT_EQ(CaptionsInCopy(), 3);
    Change("d");
    EXPECT_EQ(CaptionsInCopy(), 3);

    // Saved, the copy goes; a change after the save starts anew; undone back to the saved page,
    // the copy goes again.
    ASSERT_TRUE(w.SaveTo(Dir.File("notice.PST")));
    EXPECT_EQ(CaptionsInCopy(), -1);
    for (const char* text : {"e", "f", "g"}) Change(text);
    EXPECT_EQ(CaptionsInCopy(), 7);
    for (int i = 0; i < 3; ++i) w.FormKeyDown(VK_Z, ssCtrl);
    EXPECT_FALSE(w.IsModified());
    EXPECT_EQ(CaptionsInCopy(), -1);
    // Undo and redo are steps too.
    for (int i = 0; i < 3; ++i) w.FormKeyDown(VK_Y, ssCtrl);
    EXPECT_EQ(CaptionsInCopy(), 7);
    const auto info = ReadWholeFile(Store->PathOf(TRecoveryPart::Info));
    ASSERT_TRUE(info);
    EXPECT_EQ(ParseRecoveryInfo(std::string(info->begin(), info->end()))->DocumentPath,
              Dir.File("notice.PST"));
}

TEST_F(RecoveryWindowTest, TheIntervalWritesTheCopyWithoutFurtherSteps) {
    Window().KeepRecoveryCopies(Store.get(), {50, 1000});
    Change("a");
    EXPECT_EQ(CaptionsInCopy(), -1);
    EXPECT_TRUE(QTest::qWaitFor([this] { return CaptionsInCopy() == 1; }, 5000));
}

TEST_F(RecoveryWindowTest, AUserClosingKeepsNoCopyTheEndOfTheSessionKeepsTheLatest) {
    TNyomtatoOldalDlg& w = Window();
    w.KeepRecoveryCopies(Store.get(), {3600 * 1000, 1});
    w.show();
    Change("a");
    ASSERT_EQ(CaptionsInCopy(), 1);
    Scripted.Messages.Answers = {IDCANCEL};
    EXPECT_FALSE(w.close());
    EXPECT_EQ(CaptionsInCopy(), 1);
    Scripted.Messages.Answers = {IDNO}; // Discard
    EXPECT_TRUE(w.close());
    EXPECT_EQ(CaptionsInCopy(), -1);

    // Ending the session closes without asking; the copy holds the page as it was then.
    w.KeepRecoveryCopies(Store.get(), {3600 * 1000, 5});
    w.show();
    Change("b");
    const size_t asked = Scripted.Messages.Shown.size();
    w.EndSession();
    EXPECT_EQ(Scripted.Messages.Shown.size(), asked);
    EXPECT_EQ(CaptionsInCopy(), 2);
}

TEST_F(RecoveryWindowTest, TheSessionEndingWhileTheCloseQuestionWaitsKeepsTheChangesAndEnds) {
    TNyomtatoOldalDlg& w = Window();
    w.KeepRecoveryCopies(Store.get(), {3600 * 1000, 5});
    w.show();
    Change("a");
    ASSERT_EQ(CaptionsInCopy(), -1);
    // SIGTERM arrives while "Save the changes?" is open; the box's loop then ends unanswered.
    Scripted.Messages.WhileShown = [&w] { w.EndSession(); };
    QTimer::singleShot(0, &w, [&w] { w.close(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    watchdog.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(Scripted.Messages.Shown.size(), 1u);
    EXPECT_EQ(CaptionsInCopy(), 1);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(Forms.PrinterNavigatorDlg->isVisible());
}

TEST_F(RecoveryWindowTest, AQuitFromOutsideEndsTheSessionWithoutAQuestion) {
    TNyomtatoOldalDlg& w = Window();
    w.KeepRecoveryCopies(Store.get(), {3600 * 1000, 5});
    w.show();
    Change("a");
    EXPECT_TRUE(w.QuitRequested());
    EXPECT_TRUE(Scripted.Messages.Shown.empty());
    EXPECT_EQ(CaptionsInCopy(), 1);
    EXPECT_FALSE(w.isVisible());
    // Closed, the window lets Qt's own quitting go on.
    EXPECT_FALSE(w.QuitRequested());
}

TEST_F(RecoveryWindowTest, ALeftCopyIsOfferedRestoredUnderItsNameOrDiscarded) {
    // An editor that ended with unsaved changes to notice.PST.
    {
        TRecoveryStore ended(Folder(), {::getpid(), 2});
        TPageEditor page;
        auto c = std::make_unique<TNyomtatoSzoveg>();
        c->Text = "kept";
        page.Items.Captions.Add(std::move(c));
        ASSERT_TRUE(page.SaveDocument(Dir.File("page.PST")).Ok());
        ASSERT_TRUE(ended.Write(*ReadWholeFile(Dir.File("page.PST")), Dir.File("notice.PST")));
    }
    TNyomtatoOldalDlg& w = Window();
    w.KeepRecoveryCopies(Store.get(), {3600 * 1000, 20});

    // Left unanswered (the box closed), it stays for a later start.
    Scripted.Messages.Answers = {IDCANCEL};
    w.OfferRecovery();
    ASSERT_EQ(Scripted.Messages.Shown.size(), 1u);
    const TShownMessage& asked = Scripted.Messages.Shown[0];
    EXPECT_EQ(asked.Text.rfind("Restore the unsaved page from ", 0), 0u) << asked.Text;
    EXPECT_NE(asked.Text.find("changes to notice.PST in " + Dir.Path.string() + "."),
              std::string::npos)
        << asked.Text;
    EXPECT_EQ(asked.Flags & 0x0F, MB_RESTOREDISCARD);
    EXPECT_EQ(w.Editor.Items.Captions.Count(), 0);

    Scripted.Messages.Answers = {IDYES};
    w.OfferRecovery();
    ASSERT_EQ(Scripted.Messages.Shown.size(), 2u);
    EXPECT_EQ(w.Editor.Items.Captions.Count(), 1);
    EXPECT_TRUE(w.IsModified());
    EXPECT_EQ(w.CurrentFile, Dir.File("notice.PST"));
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("notice.PST[*] \u2013 Folioscriptor"));
    // The page is in this window's copy now, and the old one is gone.
    EXPECT_EQ(CaptionsInCopy(), 1);
    w.OfferRecovery();
    EXPECT_EQ(Scripted.Messages.Shown.size(), 2u);

    // This window's copy, left as a crash leaves it, is offered to the next window; Discard
    // deletes it.
    Store.reset();
    TRecoveryStore next(Folder(), {::getpid(), 3});
    TForms forms;
    CreateForms(forms, Services);
    forms.NyomtatoOldalDlg->KeepRecoveryCopies(&next);
    Scripted.Messages.Answers = {IDNO};
    forms.NyomtatoOldalDlg->OfferRecovery();
    ASSERT_EQ(Scripted.Messages.Shown.size(), 3u);
    EXPECT_EQ(forms.NyomtatoOldalDlg->Editor.Items.Captions.Count(), 0);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(Folder()))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{RecoveryFileName(next.Self(), TRecoveryPart::Lock)});
}

TEST_F(RecoveryWindowTest, ABrokenCopyIsReportedAndKeptForTheUser) {
    {
        TRecoveryStore ended(Folder(), {::getpid(), 2});
        ASSERT_TRUE(ended.Write(std::vector<uint8_t>{1, 2, 3}, ""));
    }
    TNyomtatoOldalDlg& w = Window();
    w.KeepRecoveryCopies(Store.get());
    Scripted.Messages.Answers = {IDYES};
    w.OfferRecovery();
    ASSERT_EQ(Scripted.Messages.Shown.size(), 2u);
    EXPECT_EQ(Scripted.Messages.Shown[1].Caption, kLoadDocumentCaption);
    EXPECT_FALSE(w.IsModified());
    EXPECT_TRUE(
        fs::exists(Folder() + "/" + RecoveryFileName({::getpid(), 2}, TRecoveryPart::Copy)));
}
