#include <gtest/gtest.h>

#include <filesystem>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "controls/CursorImage.h"
#include "dialogs/NavigatorDlg.h"
#include "document/DocumentFile.h"
#include "editor/Keys.h"
#include "editor/PageView.h"
#include "editor/window/EditorWindow.h"
#include "editor/window/Forms.h"
#include "platform/Files.h"
#include "support/PageChanges.h"
#include "support/QtTestApp.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

class FileSessionTest : public ::testing::Test {
protected:
    FileSessionTest() {
        TestApp();
        CreateForms(Forms, Services);
    }

    TNyomtatoOldalDlg& Window() { return *Forms.NyomtatoOldalDlg; }
    std::string PathOf(const char* name) const { return Dir.File(name); }

    // A change to the page as one step of the history, as the item commands make it.
    void Change(const char* text) {
        AddCaptionStep(Window().Editor, text);
        Window().Reflect();
    }
    void Press(QKeySequence keys) {
        if (!Window().isActiveWindow()) {
            Window().show();
            Window().activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
        }
        QTest::keySequence(Window().btnUj, keys);
    }

    TScriptedServices Scripted;
    TEditorServices Services = Scripted.Services();
    TForms Forms;
    TTempDir Dir{"session"};
};

} // namespace

TEST_F(FileSessionTest, TheTitleNamesTheFileAndMarksChangesUntilUndoneOrSaved) {
    TNyomtatoOldalDlg& w = Window();
    Change("first");
    EXPECT_TRUE(w.isWindowModified());
    w.FormKeyDown(VK_Z, ssCtrl);
    EXPECT_FALSE(w.isWindowModified()); // back at the empty page of the start
    w.FormKeyDown(VK_Y, ssCtrl);
    Scripted.Files.Answers = {PathOf("notice.PST")};
    w.SaveDocument();
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("notice.PST[*] \u2013 Folioscriptor"));
    EXPECT_FALSE(w.isWindowModified());
    Change("second");
    EXPECT_TRUE(w.isWindowModified());

    // Loading makes the loaded file the clean state; undoing the load is a change again.
    ASSERT_TRUE(w.SaveTo(PathOf("other.PST")));
    Scripted.Files.Answers = {PathOf("notice.PST")};
    w.LoadDocument();
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("notice.PST[*] \u2013 Folioscriptor"));
    EXPECT_FALSE(w.isWindowModified());
    EXPECT_EQ(w.Editor.Items.Captions.Count(), 1);
    w.FormKeyDown(VK_Z, ssCtrl);
    EXPECT_TRUE(w.isWindowModified());

    // A broken file keeps the page, its name and its state.
    ASSERT_TRUE(WriteFileAtomically(PathOf("broken.PST"), std::vector<uint8_t>{1, 2, 3}));
    w.OpenFile(PathOf("broken.PST"));
    EXPECT_EQ(Scripted.Messages.Shown.size(), 1u);
    EXPECT_EQ(w.CurrentFile, PathOf("notice.PST"));
    EXPECT_TRUE(w.isWindowModified());
}

TEST_F(FileSessionTest, CtrlSAsksOnlyTheFirstTimeAndSaveAsProposesTheCurrentName) {
    TNyomtatoOldalDlg& w = Window();
    Change("first");
    Press(QKeySequence(Qt::CTRL | Qt::Key_S));
    ASSERT_EQ(Scripted.Files.Asked.size(), 1u); // cancelled: nothing saved
    EXPECT_TRUE(w.isWindowModified());
    EXPECT_TRUE(Scripted.Files.Asked[0].InitialPath.empty());

    Scripted.Files.Answers = {PathOf("a.PST")};
    Press(QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(Scripted.Files.Asked.size(), 2u);
    EXPECT_FALSE(w.isWindowModified());
    Change("second");
    Press(QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(Scripted.Files.Asked.size(), 2u); // saved to a.PST without asking
    EXPECT_FALSE(w.isWindowModified());
    TPageEditor reread;
    ASSERT_TRUE(reread.LoadDocument(PathOf("a.PST")).Ok());
    EXPECT_EQ(reread.Items.Captions.Count(), 2);

    Press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    ASSERT_EQ(Scripted.Files.Asked.size(), 3u);
    EXPECT_EQ(Scripted.Files.Asked[2].InitialPath, PathOf("a.PST"));
    Scripted.Files.Answers = {PathOf("a.PST")};
    Press(QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(Scripted.Files.Asked.size(), 4u);
    EXPECT_EQ(Scripted.Files.Asked[3].Title, "Nyomtatási beállítás betöltése");

    // A failed save leaves the page modified and says why.
    Change("third");
    w.CurrentFile = PathOf("missing/a.PST");
    EXPECT_FALSE(w.SaveCurrent());
    EXPECT_TRUE(w.isWindowModified());
    EXPECT_EQ(Scripted.Messages.Shown.back().Caption, "Save document");
}

TEST_F(FileSessionTest, CtrlSDuringADragSavesThePageTheWindowShows) {
    TNyomtatoOldalDlg& w = Window();
    auto rect = std::make_unique<TNyomtatoNegyszog>();
    rect->Rect = {40, 40, 80, 70};
    w.Editor.Items.Rectangles.Add(std::move(rect));
    ASSERT_TRUE(w.SaveTo(PathOf("rect.PST")));
    const auto pixel = [&w](int x, int y) {
        return QPoint(static_cast<int>(MmToViewX(w.Editor, x + 0.5)),
                      static_cast<int>(MmToViewY(w.Editor, y + 0.5)));
    };
    TCursorImage& picture = *w.imLap;
    const QPoint from = pixel(60, 55), mid = pixel(70, 60), to = pixel(80, 70);
    picture.OnMouseMove(from.x(), from.y());
    picture.OnMouseDown(TMouseButton::Left, from.x(), from.y());
    picture.OnMouseMove(mid.x(), mid.y());
    Press(QKeySequence(Qt::CTRL | Qt::Key_S));
    picture.OnMouseMove(to.x(), to.y());
    picture.OnMouseUp(TMouseButton::Left, to.x(), to.y());

    // The file holds the page as the window shows it, and the title says so.
    const TRect shown = w.Editor.Items.Rectangles[0].Rect;
    EXPECT_NE(shown, (TRect{40, 40, 80, 70}));
    TDocumentLoad saved = LoadDocumentFile(PathOf("rect.PST"));
    ASSERT_TRUE(saved.Document) << saved.Error;
    EXPECT_EQ(saved.Document->Items.Rectangles[0].Rect, shown);
    EXPECT_FALSE(w.isWindowModified());
    // The move is a step of its own: undone, the page differs from the file again.
    w.FormKeyDown(VK_Z, ssCtrl);
    EXPECT_EQ(w.Editor.Items.Rectangles[0].Rect, (TRect{40, 40, 80, 70}));
    EXPECT_TRUE(w.isWindowModified());
}

TEST_F(FileSessionTest, ClosingWithChangesAsksSaveDiscardOrCancel) {
    TNyomtatoOldalDlg& w = Window();
    ASSERT_TRUE(w.SaveTo(PathOf("notice.PST")));
    Change("unsaved");
    w.show();

    Scripted.Messages.Answers = {IDCANCEL};
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(Scripted.Messages.Shown.size(), 1u);
    EXPECT_EQ(Scripted.Messages.Shown[0].Text, "Save the changes to notice.PST?");
    EXPECT_EQ(Scripted.Messages.Shown[0].Flags & 0x0F, MB_YESNOCANCEL);

    // Save that fails keeps the window.
    fs::permissions(Dir.Path, fs::perms::owner_read | fs::perms::owner_exec);
    const bool root = ::geteuid() == 0;
    Scripted.Messages.Answers = {IDYES};
    if (!root) {
        EXPECT_FALSE(w.close());
        EXPECT_TRUE(w.isVisible());
    }
    fs::permissions(Dir.Path, fs::perms::owner_all);

    Scripted.Messages.Answers = {IDYES};
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.isWindowModified());
    TPageEditor reread;
    ASSERT_TRUE(reread.LoadDocument(PathOf("notice.PST")).Ok());
    EXPECT_EQ(reread.Items.Captions.Count(), 1);

    // Discard closes without saving; an unchanged page closes without a question.
    w.show();
    Change("dropped");
    const size_t asked = Scripted.Messages.Shown.size();
    Scripted.Messages.Answers = {IDNO};
    EXPECT_TRUE(w.close());
    EXPECT_EQ(Scripted.Messages.Shown.size(), asked + 1);
    w.FormKeyDown(VK_Z, ssCtrl);
    w.show();
    EXPECT_TRUE(w.close());
    EXPECT_EQ(Scripted.Messages.Shown.size(), asked + 1);
}

TEST_F(FileSessionTest, ClosingTheWindowEndsTheMessageLoopWithTheNavigatorShown) {
    Window().show();
    ASSERT_TRUE(Forms.PrinterNavigatorDlg->isVisible());
    // Quitting asks every visible window to close; the navigator would call it off.
    QTimer::singleShot(0, &Window(), [this] { Window().close(); });
    QTimer watchdog;
    bool timedOut = false;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&timedOut] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    watchdog.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(timedOut);
    EXPECT_FALSE(Forms.PrinterNavigatorDlg->isVisible());
}
