#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "controls/CursorImage.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/NavigatorDlg.h"
#include "document/DocumentFile.h"
#include "editor/Keys.h"
#include "editor/window/EditorWindow.h"
#include "editor/window/Forms.h"
#include "platform/RecordingCanvas.h"
#include "support/QtTestApp.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"
#include "support/TestPrinters.h"

namespace {

class EditorWindowTest : public ::testing::Test {
protected:
    EditorWindowTest() {
        TestApp();
        CreateForms(Forms, Services);
    }
    TScriptedServices Scripted;
    TEditorServices Services = Scripted.Services();
    TForms Forms;
    TNyomtatoOldalDlg& Window() { return *Forms.NyomtatoOldalDlg; }
};

} // namespace

TEST_F(EditorWindowTest, TwelveFormsAreCreatedInOrderWithTheEditorFirst) {
    std::vector<std::string> names;
    for (QWidget* w : Forms.InOrder()) names.push_back(w->objectName().toStdString());
    EXPECT_EQ(names,
              (std::vector<std::string>{
                  "TNyomtatoOldalDlg", "TNyomtatoKepModositasDlg", "TNyomtatoSorokModositasDlg",
                  "TNyomtatoSzovegModositasDlg", "TAlapDlg", "TPrinterNavigatorDlg",
                  "TUjNyomtatoVonalDlg", "TUjNyomtatoSzovegDlg", "TUjNyomtatoSorokDlg",
                  "TUjNyomtatoKepDlg", "TNyomtatoKeretModositasDlg", "TAboutDlg"}));
    EXPECT_EQ(Forms.MainForm(), &Window());
    EXPECT_EQ(Window().windowTitle(), "Folioscriptor[*]");
    EXPECT_FALSE(Window().isWindowModified());
    EXPECT_EQ(Forms.PrinterNavigatorDlg->windowTitle(), "Printer navigator");
}

TEST_F(EditorWindowTest, ControlsCarryTheirCaptionsAndHelpContexts) {
    TNyomtatoOldalDlg& w = Window();
    EXPECT_EQ(w.size(), QSize(737, 409));
    EXPECT_EQ(w.imLap->size(), QSize(360, 312));
    const std::vector<std::tuple<QPushButton*, const char*, int>> buttons = {
        {w.btnProba, "&Print", 22003},      {w.btnKimentes, "&Save...", 22004},
        {w.btnBetoltes, "&Load...", 22005}, {w.Button1, "Printer setup", 0},
        {w.btnUj, "&New", 22006},           {w.btnTorles, "&Delete", 22007},
        {w.btnModositas, "&Modify", 22008}, {w.Button2, "About...", 0},
        {w.Button4, "&Close", 22013}};
    for (auto [button, caption, help] : buttons) {
        EXPECT_EQ(button->text().toStdString(), caption);
        EXPECT_EQ(button->property("HelpContext").toInt(), help) << caption;
    }
    EXPECT_TRUE(w.btnProba->isEnabled());
    EXPECT_TRUE(w.btnKimentes->isEnabled());
    EXPECT_TRUE(w.btnBetoltes->isEnabled());
    EXPECT_TRUE(w.btnUj->isEnabled());
    EXPECT_TRUE(w.btnTorles->isEnabled());
    EXPECT_TRUE(w.btnModositas->isEnabled());
    EXPECT_EQ(w.sbHorz->property("HelpContext").toInt(), 22000);
    EXPECT_EQ(w.sbVert->property("HelpContext").toInt(), 22000);
    EXPECT_EQ(w.sbNagyitas->property("HelpContext").toInt(), 22012);
    EXPECT_EQ(w.cmbUjElem->property("HelpContext").toInt(), 22011);
    EXPECT_EQ(w.GroupBox5->title(), "Mouse pointer [mm]");
    EXPECT_EQ(w.Label20->text(), "New item:");

    QStringList kinds;
    for (int i = 0; i < w.cmbUjElem->count(); ++i) kinds << w.cmbUjElem->itemText(i);
    EXPECT_EQ(kinds,
              (QStringList{"Caption", "Text", "Image", "Frame", "Line", "Rectangle", "Polygon"}));
    EXPECT_EQ(w.cmbUjElem->currentIndex(), 0);
    EXPECT_EQ(w.sbNagyitas->minimum(), 5);
    EXPECT_EQ(w.sbNagyitas->maximum(), 100);
    EXPECT_EQ(w.sbNagyitas->value(), 5);

    ASSERT_EQ(w.PopupMenu1->actions().size(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(w.mIsmetlo[i]->text(), QString::number(i + 1));
        EXPECT_FALSE(w.mIsmetlo[i]->isVisible());
    }
    EXPECT_EQ(w.Timer1->interval(), 500);
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_EQ(w.OpenDialog.Filter, "Nyomtatási beállítások (*.PST)|*.PST");
    EXPECT_EQ(w.SaveDialog.Title, "Nyomtatási beállítás kimentése");
    EXPECT_TRUE(w.SaveDialog.OverwritePrompt);
}

TEST_F(EditorWindowTest, StartsWithAnEmptyDocumentOnTheFallbackSheet) {
    const TPageEditor& e = Window().Editor;
    EXPECT_EQ(e.PageWidthMm, 2000);
    EXPECT_EQ(e.PageHeightMm, 3200);
    EXPECT_EQ(e.Zoom(), 1.0);
    // What the start-up page holds, as a file shows it: read back, no list has an entry, there
    // is no compass block and nothing to undo.
    const TTempDir dir("start-up");
    ASSERT_TRUE(e.SaveDocument(dir.File("start.PST")).Ok());
    const TDocumentLoad saved = LoadDocumentFile(dir.File("start.PST"));
    ASSERT_TRUE(saved.Document) << saved.Error;
    for (int kind = ikCaption; kind <= ikFrame; ++kind)
        EXPECT_EQ(saved.Document->Items.CountOf(kind), 0) << kind;
    EXPECT_FALSE(saved.Document->Compass);
    EXPECT_EQ(e.History.UndoCount(), 0);
}

TEST_F(EditorWindowTest, ShowingPlacesAndShowsTheNavigatorBesideTheWindowAndHidingHidesIt) {
    // The offscreen screen is 800 pixels wide: the navigator goes left of the window.
    Window().move(200, 30);
    Window().show();
    QApplication::processEvents();
    TPrinterNavigatorDlg& navigator = *Forms.PrinterNavigatorDlg;
    EXPECT_TRUE(navigator.isVisible());
    // A tool window of the editor, not above every program, and beside the editor.
    EXPECT_EQ(navigator.parentWidget(), &Window());
    EXPECT_TRUE(navigator.windowFlags() & Qt::Tool);
    EXPECT_FALSE(navigator.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(Window().frameGeometry().intersects(navigator.frameGeometry()))
        << Window().frameGeometry().x() << "," << Window().frameGeometry().y() << " "
        << Window().frameGeometry().width() << " / " << navigator.frameGeometry().x() << ","
        << navigator.frameGeometry().y();
    EXPECT_NEAR(navigator.frameGeometry().top(), Window().frameGeometry().top(), 4);
    EXPECT_GE(navigator.x(), 0);
    // The navigator refuses to close.
    navigator.close();
    EXPECT_TRUE(navigator.isVisible());
    Window().hide();
    EXPECT_FALSE(navigator.isVisible());
}

TEST_F(EditorWindowTest, EscapeDuringPolygonEntryDiscardsThePoints) {
    TNyomtatoOldalDlg& w = Window();
    w.Editor.Mode = mdNewPolygon;
    w.Editor.PolygonPoints = std::make_unique<TPointList>();
    w.Editor.PolygonPoints->AddPoint(3, 4);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&w, &escape);
    EXPECT_EQ(w.Editor.Mode, mdIdle);
    EXPECT_EQ(w.Editor.PolygonPoints, nullptr);
    EXPECT_EQ(w.Editor.Items.Polygons.Count(), 0);
    EXPECT_EQ(Scripted.Screen.Current, crArrow);
}

TEST_F(EditorWindowTest, AboutIsCentredOverTheWindowAndModal) {
    TNyomtatoOldalDlg& w = Window();
    w.move(100, 50);
    w.ShowAbout();
    EXPECT_EQ(Scripted.Modal.Ran, (std::vector<std::string>{"TAboutDlg"}));
    const QWidget& about = *Forms.AboutDlg;
    // Centred by the size it shows at, not the size it had before its layout ran.
    EXPECT_EQ(about.size(), about.sizeHint());
    EXPECT_EQ(about.pos(),
              QPoint(100 + (737 - about.width()) / 2, 50 + (409 - about.height()) / 2));
}

TEST_F(EditorWindowTest, TheRepeatTimerBringsTheMenuBack) {
    TNyomtatoOldalDlg& w = Window();
    w.Editor.RepeatMenuAttached = false;
    w.Timer1->start();
    w.Timer1Timer();
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_TRUE(w.Editor.RepeatMenuAttached);
}

TEST_F(EditorWindowTest, PrinterSetupEmptiesTheDocumentAndResetsTheZoomOnlyWhenConfirmed) {
    TNyomtatoOldalDlg& w = Window();
    w.Editor.Items.Lines.Add(std::make_unique<TNyomtatoVonal>());
    w.Editor.SetZoomPosition(40);
    bool confirm = false;
    w.RunSetupDialog = [&confirm] { return confirm; };
    w.PrinterSetup(); // cancelled
    EXPECT_EQ(w.Editor.Items.Lines.Count(), 1);
    EXPECT_NE(w.Editor.Zoom(), 1.0);

    confirm = true;
    w.PrinterSetup();
    EXPECT_EQ(w.Editor.Items.Lines.Count(), 0);
    EXPECT_EQ(w.Editor.Zoom(), 1.0);
    EXPECT_EQ(w.sbNagyitas->value(), 5);
    EXPECT_EQ(w.lbInfo->text(),
              "The page was emptied for the new sheet; Ctrl+Z brings the items back.");
    w.FormKeyDown(VK_Z, ssCtrl);
    EXPECT_EQ(w.Editor.Items.Lines.Count(), 1);
}

TEST_F(EditorWindowTest, PrintWithoutPrinterShowsWhyAndPrintingDrawsThePage) {
    Window().Print();
    ASSERT_EQ(Scripted.Messages.Shown.size(), 1u);
    EXPECT_EQ(Scripted.Messages.Shown[0].Flags, MB_ICONERROR);
    EXPECT_EQ(Scripted.Screen.Current, crArrow);

    TA4Printer printer;
    Scripted.Printer = &printer;
    TEditorServices services = Scripted.Services();
    TForms forms;
    CreateForms(forms, services);
    TNyomtatoOldalDlg& w = *forms.NyomtatoOldalDlg;
    auto r = std::make_unique<TNyomtatoNegyszog>();
    r->Rect = {10, 10, 20, 20};
    r->Color = clRed;
    w.Editor.Items.Rectangles.Add(std::move(r));
    w.Print();
    EXPECT_EQ(Scripted.Messages.Shown.size(), 1u); // no new message
    EXPECT_EQ(printer.Jobs, 1);
    EXPECT_EQ(printer.Finished, 1);
    ASSERT_EQ(printer.Page.CallsOf("Rectangle").size(), 1u);
    EXPECT_EQ(printer.Page.CallsOf("Rectangle")[0].Brush.Color, clRed);

    // Ctrl+P prints the same way, also with a child control focused.
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keySequence(w.btnUj, QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(printer.Jobs, 2);
    EXPECT_EQ(printer.Finished, 2);
}
