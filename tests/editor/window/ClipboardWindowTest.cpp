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

TEST(ClipboardWindowTest, APictureAnotherProgramCopiedIsPastedAsAnImageItem) {
    TestApp();
    TEditorProcess editor;
    TPageEditor& e = editor.Window().Editor;
    // A half transparent picture as a drawing program would offer it: a QImage, red on the
    // left, clear on the right.
    QImage copied(120, 60, QImage::Format_ARGB32);
    copied.fill(Qt::transparent);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) copied.setPixel(x, y, qRgba(255, 0, 0, 255));
    QGuiApplication::clipboard()->setImage(copied);

    // Pasted at the pointer: 120 x 60 pixels at Qt's 96 dpi are 32 x 16 mm.
    const QPoint over = PixelOf(e, 50, 70);
    editor.Window().imLap->OnMouseMove(over.x(), over.y());
    SendKey(editor.Window(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(e.Items.Images.Count(), 1);
    const TNyomtatoKep& image = e.Items.Images[0];
    ASSERT_TRUE(e.Pointer);
    const int32_t x = ViewToMmX(e, e.Pointer->X), y = ViewToMmY(e, e.Pointer->Y);
    EXPECT_NEAR(x, 50, 1);
    EXPECT_NEAR(y, 70, 1);
    EXPECT_EQ(image.Rect, (TRect{x, y, x + 32, y + 16}));
    EXPECT_FALSE(image.Picture->IsJpeg);
    EXPECT_EQ(image.Picture->BitCount, 24);
    const TPixmap pixels = image.Picture->Pixels();
    ASSERT_EQ(pixels.Width, 120);
    EXPECT_EQ(pixels.At(10, 30), 0xFFFF0000u);
    EXPECT_EQ(pixels.At(100, 30), 0xFFFFFFFFu); // transparency shows the paper
    EXPECT_EQ(e.Selection, (std::vector<TKKItem>{{ikImage, 0}}));
    EXPECT_EQ(e.History.UndoCount(), 1);
    EXPECT_EQ(e.InfoText, "Pasted a PNG picture of 120 x 60 pixels as an image of 32 x 16 mm");

    // Text is no picture: the paste says so and changes nothing.
    QGuiApplication::clipboard()->setText("just words");
    SendKey(editor.Window(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(e.Items.Images.Count(), 1);
    EXPECT_EQ(e.InfoText, "The clipboard holds no items and no picture");
}
