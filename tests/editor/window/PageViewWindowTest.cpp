// The page picture as the user sees it: real pixels drawn by the Qt canvas, the navigator's
// mark dragged with the mouse, the wheel, and the scroll bars' thumbs.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "controls/CursorImage.h"
#include "dialogs/NavigatorDlg.h"
#include "editor/Navigator.h"
#include "editor/PageView.h"
#include "editor/Scrolling.h"
#include "editor/window/EditorWindow.h"
#include "editor/window/Forms.h"
#include "support/QtTestApp.h"
#include "support/ScriptedServices.h"
#include "support/TestPrinters.h"

namespace {

const QRgb kRed = qRgb(255, 0, 0), kBlue = qRgb(0, 0, 255), kWhite = qRgb(255, 255, 255),
           kBlack = qRgb(0, 0, 0), kSilver = qRgb(192, 192, 192), kYellow = qRgb(255, 255, 0);

TEditorServices WithPrinter(TScriptedServices& scripted, TPrinter& printer) {
    scripted.Printer = &printer;
    return scripted.Services();
}

class PageViewWindowTest : public ::testing::Test {
protected:
    PageViewWindowTest() {
        TestApp();
        CreateForms(Forms, Services);
    }
    ~PageViewWindowTest() override { Window().hide(); }

    TNyomtatoOldalDlg& Window() { return *Forms.NyomtatoOldalDlg; }
    TPageEditor& Editor() { return Window().Editor; }
    QRgb Pixel(int x, int y) { return Window().imLap->Picture.pixel(x, y); }
    QRgb PixelAtMm(double x, double y) {
        return Pixel(static_cast<int>(MmToViewX(Editor(), x)),
                     static_cast<int>(MmToViewY(Editor(), y)));
    }
    void AddRectangle(TRect mm, TColor color) {
        Editor().Items.Rectangles.Add(
            std::make_unique<TNyomtatoNegyszog>(TNyomtatoNegyszog{mm, color}));
    }
    static void Mouse(QWidget& target, QEvent::Type type, QPoint at) {
        QMouseEvent event(type, QPointF(at), QPointF(target.mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&target, &event);
    }
    static void Wheel(QWidget& target, int deltaY, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(0, deltaY),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&target, &event);
    }

    TScriptedServices Scripted;
    TA4Printer A4;
    TEditorServices Services = WithPrinter(Scripted, A4);
    TForms Forms;
};

} // namespace

TEST_F(PageViewWindowTest, ItemsAppearOnThePictureInTheirColours) {
    Editor().SetZoomPosition(15); // zoom 3: about 3 pixels a millimetre
    auto frame = std::make_unique<TNyomtatoKeret>();
    frame->Rect = {10, 10, 60, 50};
    frame->BorderColor = clBlue;
    frame->FillColor = clYellow;
    Editor().Items.Frames.Add(std::move(frame));
    AddRectangle({20, 60, 40, 80}, clRed);
    auto image = std::make_unique<TNyomtatoKep>();
    image->Rect = {62, 10, 82, 30};
    image->Picture->DeviceBitmap = TPixmap{2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000}};
    Editor().Items.Images.Add(std::move(image));
    auto line = std::make_unique<TNyomtatoVonal>();
    line->AddPoint(20, 90);
    line->AddPoint(100, 90);
    line->Color = clBlue;
    line->Width = 3;
    Editor().Items.Lines.Add(std::move(line));
    Window().PaintView(false);

    const TRect f = MmRectToView(Editor(), TRect{10, 10, 60, 50});
    EXPECT_EQ(PixelAtMm(40, 30), kYellow);                           // inside the frame
    EXPECT_EQ(Pixel(f.Left, (f.Top + f.Bottom) / 2), kBlue);         // its border
    EXPECT_EQ(Pixel((f.Left + f.Right) / 2, f.Bottom + 4), kSilver); // its 3 mm shadow
    EXPECT_EQ(Pixel((f.Left + f.Right) / 2, f.Bottom + 12), kWhite); // and no more
    EXPECT_EQ(PixelAtMm(30, 70), kRed);
    EXPECT_EQ(PixelAtMm(64, 12), kRed);   // the picture's top-left pixel
    EXPECT_EQ(PixelAtMm(80, 28), kBlack); // and its bottom-right one
    EXPECT_EQ(PixelAtMm(60, 90), kBlue);  // the line

    // While a tool is active the same page is outlines only; the line keeps its colour.
    Editor().Mode = mdDeleteTool;
    Window().PaintView(false);
    EXPECT_EQ(PixelAtMm(40, 30), kWhite);
    EXPECT_EQ(Pixel(f.Left, (f.Top + f.Bottom) / 2), kBlack);
    EXPECT_EQ(PixelAtMm(30, 70), kWhite);
    EXPECT_EQ(PixelAtMm(64, 12), kWhite);
    EXPECT_EQ(PixelAtMm(60, 90), kBlue);
}

TEST_F(PageViewWindowTest, DraggingTheNavigatorsMarkScrollsThePage) {
    Window().show();
    Window().sbNagyitas->setValue(20);
    TCursorImage& thumbnail = *Forms.PrinterNavigatorDlg->imLap;
    const TRect mark = NavigatorViewRect(Editor());
    const QPoint grip((mark.Left + mark.Right) / 2, (mark.Top + mark.Bottom) / 2);

    Mouse(thumbnail, QEvent::MouseButtonPress, grip);
    EXPECT_EQ(Scripted.Screen.Current, crDrag);
    Mouse(thumbnail, QEvent::MouseMove, grip + QPoint(12, 20));
    EXPECT_GT(Window().sbHorz->value(), 0);
    EXPECT_GT(Window().sbVert->value(), 0);
    EXPECT_EQ(Window().sbHorz->value(), Editor().ScrollX);
    Mouse(thumbnail, QEvent::MouseButtonRelease, grip + QPoint(12, 20));
    EXPECT_EQ(Editor().Mode, mdIdle);
    EXPECT_EQ(Scripted.Screen.Current, crArrow);

    // The thumbnail was drawn again with the mark where the pointer left it.
    const TRect moved = NavigatorViewRect(Editor());
    EXPECT_NEAR(moved.Left - mark.Left, 12, 1);
    EXPECT_EQ(thumbnail.Picture.pixel(moved.Left, (moved.Top + moved.Bottom) / 2), kBlue);
    EXPECT_NE(thumbnail.Picture.pixel(mark.Left, (mark.Top + mark.Bottom) / 2), kBlue);
}

TEST_F(PageViewWindowTest, TheWheelScrollsThePageAndCtrlWheelZooms) {
    Window().sbNagyitas->setValue(20); // about the centre: the bars move off the origin
    const int down = Window().sbVert->value(), across = Window().sbHorz->value();
    Wheel(*Window().imLap, -240, Qt::NoModifier);
    EXPECT_EQ(Window().sbVert->value(), down + 2 * kWheelScrollPixels);
    Wheel(*Window().imLap, -120, Qt::ShiftModifier);
    EXPECT_EQ(Window().sbHorz->value(), across + kWheelScrollPixels);
    Wheel(*Window().imLap, 120, Qt::ControlModifier);
    EXPECT_EQ(Window().sbNagyitas->value(), 21);
}

TEST_F(PageViewWindowTest, DraggingAScrollThumbShowsOutlinesUntilReleased) {
    AddRectangle({20, 20, 40, 40}, clRed);
    Window().sbNagyitas->setValue(10);
    Window().sbHorz->setValue(0);
    Window().sbVert->setValue(0);
    EXPECT_EQ(PixelAtMm(30, 30), kRed);
    Window().sbVert->setSliderDown(true);
    Window().sbVert->setValue(10);
    EXPECT_EQ(PixelAtMm(30, 30), kWhite);
    Window().sbVert->setSliderDown(false);
    EXPECT_EQ(PixelAtMm(30, 30), kRed);

    // A tool armed before the thumb was taken is still armed after it.
    Editor().Mode = mdDeleteTool;
    Window().sbHorz->setSliderDown(true);
    EXPECT_EQ(Editor().Mode, mdScrollTrack);
    Window().sbHorz->setSliderDown(false);
    EXPECT_EQ(Editor().Mode, mdDeleteTool);
}
