#include <gtest/gtest.h>

#include <filesystem>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "controls/CursorImage.h"
#include "document/DocumentFile.h"
#include "editor/PageView.h"
#include "editor/window/EditorWindow.h"
#include "editor/window/Forms.h"
#include "support/QtTestApp.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"
#include "support/TestPrinters.h"

namespace {

class UndoWindowTest : public ::testing::Test {
protected:
    UndoWindowTest() {
        TestApp();
        CreateForms(Forms, Services);
    }
    ~UndoWindowTest() override { std::filesystem::remove(Path); }

    TNyomtatoOldalDlg& Window() { return *Forms.NyomtatoOldalDlg; }

    // "New" for a rectangle, then a click on the millimetre (x, y) of the page picture, where
    // the colour dialog answers red.
    void NewRectangle(int x, int y) {
        TNyomtatoOldalDlg& w = Window();
        const TPageEditor& e = w.Editor;
        int px = 0, py = 0;
        while (ViewToMmX(e, px) < x) ++px;
        while (ViewToMmY(e, py) < y) ++py;
        w.cmbUjElem->setCurrentIndex(5);
        w.btnUj->click();
        Scripted.Colors.Answers = {clRed};
        w.imLap->OnMouseDown(TMouseButton::Left, px, py);
        w.imLap->OnMouseUp(TMouseButton::Left, px, py);
    }
    // A key press delivered to the window itself.
    void SendKey(QWidget& target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&target, &press);
    }
    // The rectangles of the page as Save writes it.
    int SavedRectangles() {
        Scripted.Files.Answers = {Path};
        Window().SaveDocument();
        TDocumentLoad load = LoadDocumentFile(Path);
        EXPECT_TRUE(load.Document) << load.Error;
        return load.Document ? load.Document->Items.Rectangles.Count() : -1;
    }

    TEditorServices WithA4Printer() {
        Scripted.Printer = &Printer;
        return Scripted.Services();
    }

    TA4Printer Printer;
    TScriptedServices Scripted;
    TEditorServices Services = WithA4Printer();
    TForms Forms;
    TTempDir Dir{"undo-window"};
    std::string Path = Dir.File("page.PST");
};

} // namespace

TEST_F(UndoWindowTest, CtrlZTakesANewRectangleOffTheSavedPageAndCtrlShiftZPutsItBack) {
    TNyomtatoOldalDlg& w = Window();
    NewRectangle(50, 60);
    ASSERT_EQ(SavedRectangles(), 1);

    SendKey(w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.lbInfo->text().toStdString(), "Undo: new rectangle");
    EXPECT_EQ(SavedRectangles(), 0);

    SendKey(w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.lbInfo->text().toStdString(), "Redo: new rectangle");
    EXPECT_EQ(SavedRectangles(), 1);

    // With a control focused, the window's shortcuts come first, once: the combo box would
    // take the key for its own search.
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    NewRectangle(70, 60);
    w.cmbUjElem->setFocus();
    QTest::keyClick(w.cmbUjElem, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Editor.Items.Rectangles.Count(), 1);
    w.btnUj->setFocus();
    QTest::keyClick(w.btnUj, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.Editor.Items.Rectangles.Count(), 2);
    EXPECT_EQ(w.lbInfo->text().toStdString(), "Redo: new rectangle");
    w.close();
}
