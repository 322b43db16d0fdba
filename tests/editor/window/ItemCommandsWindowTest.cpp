#include <gtest/gtest.h>

#include <filesystem>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

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

class ItemCommandsWindowTest : public ::testing::Test {
protected:
    ItemCommandsWindowTest() {
        TestApp();
        CreateForms(Forms, Services);
    }

    TNyomtatoOldalDlg& Window() { return *Forms.NyomtatoOldalDlg; }
    // The first picture pixel that shows the millimetre (x, y).
    QPoint PixelOf(int x, int y) {
        const TPageEditor& e = Window().Editor;
        QPoint p(-1, -1);
        for (int px = 0; px < e.PictureWidth && p.x() < 0; ++px)
            if (ViewToMmX(e, px) == x) p.setX(px);
        for (int py = 0; py < e.PictureHeight && p.y() < 0; ++py)
            if (ViewToMmY(e, py) == y) p.setY(py);
        return p;
    }

    TEditorServices WithA4Printer() {
        Scripted.Printer = &Printer;
        return Scripted.Services();
    }

    TA4Printer Printer;
    TScriptedServices Scripted;
    TEditorServices Services = WithA4Printer();
    TForms Forms;
    TTempDir Dir{"commands-window"};
};

} // namespace

TEST_F(ItemCommandsWindowTest, ARectangleMadeFromTheWindowIsSavedAtThePressedMillimetre) {
    TNyomtatoOldalDlg& w = Window();
    w.cmbUjElem->setCurrentIndex(5); // "Rectangle"
    w.btnUj->click();
    EXPECT_EQ(w.lbInfo->text(), QString::fromUtf8("Jelölje ki a négszög bal felső sarkát."));
    const QPoint at = PixelOf(50, 60);
    ASSERT_TRUE(at.x() >= 0 && at.y() >= 0);
    Scripted.Colors.Answers = {clRed};
    w.imLap->OnMouseDown(TMouseButton::Left, at.x(), at.y()); // a left click on the page picture
    w.imLap->OnMouseUp(TMouseButton::Left, at.x(), at.y());   // (a drag would span the box)
    EXPECT_TRUE(w.lbInfo->text().isEmpty());
    EXPECT_TRUE(w.Timer1->isActive()); // the repeat menu comes back shortly
    EXPECT_EQ(w.mIsmetlo[0]->text(), QString::fromUtf8("Új négyszög"));
    EXPECT_TRUE(w.mIsmetlo[0]->isVisible() && !w.mIsmetlo[1]->isVisible());

    const std::string path = Dir.File("page.PST");
    Scripted.Files.Answers = {path};
    w.SaveDocument();
    TDocumentLoad load = LoadDocumentFile(path);
    ASSERT_TRUE(load.Document) << load.Error;
    const TNyomtatoNegyszogLista& rectangles = load.Document->Items.Rectangles;
    ASSERT_EQ(rectangles.Count(), 1);
    EXPECT_EQ(rectangles[0].Rect, (TRect{50, 60, 60, 70}));
    EXPECT_EQ(rectangles[0].Color, clRed);

    // The repeat menu runs its command with its kind selected; Delete arms its tool.
    w.cmbUjElem->setCurrentIndex(4);
    w.mIsmetlo[0]->trigger();
    EXPECT_EQ(w.cmbUjElem->currentIndex(), 5);
    EXPECT_EQ(w.Editor.Mode, mdNewRectangle);
    w.btnTorles->click();
    EXPECT_EQ(w.lbInfo->text(), QString::fromUtf8("Jelölje ki a törlendő elemet."));
}
