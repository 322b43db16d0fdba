#include <gtest/gtest.h>

#include <filesystem>
#include <QLabel>
#include <QMouseEvent>

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

void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

TEST(PageMouse, ARectangleDraggedOnThePagePictureIsSavedAtItsNewPlace) {
    TestApp();
    const TTempDir dir("page-mouse");
    const std::string loaded = dir.File("in.PST"), saved = dir.File("out.PST");

    TA4Printer printer;
    {
        TPageEditor document;
        document.ResetPage(printer);
        auto r = std::make_unique<TNyomtatoNegyszog>();
        r->Rect = {30, 40, 50, 60};
        document.Items.Rectangles.Add(std::move(r));
        ASSERT_TRUE(document.SaveDocument(loaded).Ok());
    }

    TScriptedServices scripted;
    scripted.Printer = &printer;
    TEditorServices services = scripted.Services();
    TForms forms;
    CreateForms(forms, services);
    TNyomtatoOldalDlg& w = *forms.NyomtatoOldalDlg;
    w.show();
    scripted.Files.Answers = {loaded};
    w.LoadDocument();
    ASSERT_EQ(w.Editor.Items.Rectangles.Count(), 1);

    const TPageEditor& e = w.Editor;
    const QPoint from(static_cast<int>(MmToViewX(e, 40)), static_cast<int>(MmToViewY(e, 50)));
    const QPoint to = from + QPoint(25, 12);
    SendMouse(w.imLap, QEvent::MouseButtonPress, from, Qt::LeftButton);
    EXPECT_EQ(w.lbInfo->text(), "Drag the rectangle to the appropriate place");
    SendMouse(w.imLap, QEvent::MouseMove, from + QPoint(10, 5), Qt::LeftButton);
    SendMouse(w.imLap, QEvent::MouseMove, to, Qt::LeftButton);
    EXPECT_EQ(w.stX->text().toStdString(), std::to_string(ViewToMmX(e, to.x())));
    SendMouse(w.imLap, QEvent::MouseButtonRelease, to, Qt::NoButton);
    EXPECT_EQ(w.lbInfo->text(), "");
    EXPECT_EQ(scripted.Screen.Current, crArrow);

    scripted.Files.Answers = {saved};
    w.SaveDocument();
    const TDocumentLoad back = LoadDocumentFile(saved);
    ASSERT_TRUE(back.Document) << back.Error;
    ASSERT_EQ(back.Document->Items.Rectangles.Count(), 1);
    const int32_t dx = ViewToMmX(e, to.x()) - ViewToMmX(e, from.x());
    const int32_t dy = ViewToMmY(e, to.y()) - ViewToMmY(e, from.y());
    EXPECT_GT(dx, 20);
    EXPECT_GT(dy, 8);
    EXPECT_EQ(back.Document->Items.Rectangles[0].Rect, (TRect{30 + dx, 40 + dy, 50 + dx, 60 + dy}));
    w.hide();
}
