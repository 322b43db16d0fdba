// Copy in one editor window and paste in another through the system clipboard, then Save:
// the items come back from the file with their frame and picture.
#include <gtest/gtest.h>

#include <filesystem>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>

#include "controls/CursorImage.h"
#include "document/DocumentFile.h"
#include "editor/commands/ClipboardCommands.h"
#include "editor/PageView.h"
#include "editor/window/EditorWindow.h"
#include "editor/window/Forms.h"
#include "support/BmpFixtures.h"
#include "support/QtTestApp.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"
#include "support/TestPrinters.h"

namespace {

struct TEditorProcess {
    TEditorProcess() { CreateForms(Forms, Services); }
    TNyomtatoOldalDlg& Window() { return *Forms.NyomtatoOldalDlg; }

    TA4Printer Printer;
    TScriptedServices Scripted;
    TEditorServices Services = [this] {
        Scripted.Printer = &Printer;
        return Scripted.Services();
    }();
    TForms Forms;
};

void SendKey(QWidget& target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&target, &press);
}

// The page-picture pixel of a sheet millimetre.
QPoint PixelOf(const TPageEditor& e, int x, int y) {
    return QPoint(static_cast<int>(MmToViewX(e, x + 0.5)), static_cast<int>(MmToViewY(e, y + 0.5)));
}

} // namespace

TEST(ClipboardWindowTest, ItemsCopiedInOneWindowArePastedInAnotherAndSaved) {
    TestApp();
    TEditorProcess first;
    TEditorProcess second;
    const TTempDir dir("clipboard-window");
    const std::string path = dir.File("pasted.PST");

    TPageEditor& e = first.Window().Editor;
    auto frame = std::make_unique<TNyomtatoKeret>();
    frame->Rect = {20, 20, 120, 90};
    frame->Members.AddReference(ikImage, 0);
    e.Items.Frames.Add(std::move(frame));
    auto image = std::make_unique<TNyomtatoKep>();
    image->Rect = {30, 30, 60, 50};
    image->Picture->LoadFromBitmapFileData(MakeBmp(TBmpShape{5, 3, 24}));
    e.Items.Images.Add(std::move(image));

    // A click on the frame selects it; Ctrl+C puts it, with its member, on the clipboard.
    TCursorImage& picture = *first.Window().imLap;
    const QPoint onFrame = PixelOf(e, 100, 80);
    picture.OnMouseDown(TMouseButton::Left, onFrame.x(), onFrame.y());
    picture.OnMouseUp(TMouseButton::Left, onFrame.x(), onFrame.y());
    SendKey(first.Window(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(kItemsMimeType));
    EXPECT_TRUE(data->hasImage()); // other programs get a picture

    second.Window().imLap->OnLeave();
    SendKey(second.Window(), Qt::Key_V, Qt::ControlModifier);
    second.Scripted.Files.Answers = {path};
    second.Window().SaveDocument();

    TDocumentLoad load = LoadDocumentFile(path);
    ASSERT_TRUE(load.Document) << load.Error;
    const TPageItems& items = load.Document->Items;
    ASSERT_EQ(items.Frames.Count(), 1);
    ASSERT_EQ(items.Images.Count(), 1);
    EXPECT_EQ(items.Frames[0].Rect, (TRect{25, 25, 125, 95}));
    ASSERT_EQ(items.Frames[0].Members.Count(), 1);
    EXPECT_EQ(items.Frames[0].Members[0], (TKKItem{ikImage, 0}));
    EXPECT_EQ(items.Images[0].Rect, (TRect{35, 35, 65, 55}));
    EXPECT_EQ(items.Images[0].Picture->DibBlock, e.Items.Images[0].Picture->DibBlock);
}
