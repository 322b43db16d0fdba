// The page picture in the real window: it grows with the window, is drawn at the screen's
// pixel density, draws lines as wide as they print and letters with their accents.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <QLayout>
#include <QMouseEvent>
#include <QWheelEvent>

#include "controls/CursorImage.h"
#include "editor/PageView.h"
#include "editor/window/EditorWindow.h"
#include "editor/window/Forms.h"
#include "support/QtTestApp.h"
#include "support/ScriptedServices.h"
#include "support/TestPrinters.h"

namespace {

bool Dark(QRgb p) { return qGray(p) < 200; }

class ViewSizeWindowTest : public ::testing::Test {
protected:
    ViewSizeWindowTest() {
        TestApp();
        CreateForms(Forms, Services);
    }
    ~ViewSizeWindowTest() override { Window().hide(); }

    TNyomtatoOldalDlg& Window() { return *Forms.NyomtatoOldalDlg; }
    TPageEditor& Editor() { return Window().Editor; }
    const QImage& Picture() { return Window().imLap->Picture; }

    void AddCaption(TRect mm, const char* text) {
        auto c = std::make_unique<TNyomtatoSzoveg>();
        c->Rect = mm;
        c->Text = text;
        c->Font.Name = "Arial";
        c->FillBackground = true;
        Editor().Items.Captions.Add(std::move(c));
    }
    // The first row from the top with ink inside the caption's box (its outline left out).
    int TopInkRow(TRect mm) {
        const TRect r = MmRectToView(Editor(), mm);
        for (int y = r.Top + 1; y < r.Bottom; ++y)
            for (int x = r.Left + 1; x < r.Right; ++x)
                if (Dark(Picture().pixel(x, y))) return y - r.Top;
        return -1;
    }

    static TEditorServices WithPrinter(TScriptedServices& scripted, TPrinter& printer) {
        scripted.Printer = &printer;
        return scripted.Services();
    }
    TScriptedServices Scripted;
    TA4Printer A4;
    TEditorServices Services = WithPrinter(Scripted, A4);
    TForms Forms;
};

} // namespace

TEST_F(ViewSizeWindowTest, StartsAtTheBaseSizeAndThePictureGrowsWithTheWindow) {
    Window().show();
    QApplication::processEvents();
    EXPECT_EQ(Window().imLap->size(), QSize(360, 312));
    EXPECT_EQ(Editor().PictureWidth, 360);
    EXPECT_EQ(Window().windowType(), Qt::Window); // a normal top-level window, no dialog
    const TRect stored = Editor().Settings.BasePageRect;

    Window().resize(1400, 1000);
    QApplication::processEvents();
    const QSize grown = Window().imLap->size();
    EXPECT_GT(grown.width(), 1000);
    EXPECT_GT(grown.height(), 850);
    EXPECT_EQ(Editor().PictureWidth, grown.width());
    EXPECT_EQ(Editor().PictureHeight, grown.height());
    EXPECT_EQ(Picture().deviceIndependentSize().toSize(), grown);
    // The whole sheet fills the larger picture at zoom 1: its corner pixels are white.
    const TRect& sheet = Editor().PageRect();
    EXPECT_EQ(sheet.Bottom, grown.height() - 10);
    EXPECT_EQ(Picture().pixel(sheet.Left + 2, sheet.Bottom - 2), qRgb(255, 255, 255));
    EXPECT_EQ(Editor().Settings.BasePageRect, stored);

    // Back to the smallest size the window allows: the base picture again.
    Window().resize(100, 100);
    QApplication::processEvents();
    EXPECT_EQ(Window().imLap->size(), QSize(360, 312));
}

TEST_F(ViewSizeWindowTest, AtPixelRatioTwoThePictureHasTwiceThePixels) {
    auto rect = std::make_unique<TNyomtatoNegyszog>();
    rect->Rect = {50, 50, 100, 100};
    rect->Color = clRed;
    Editor().Items.Rectangles.Add(std::move(rect));
    Window().imLap->MakePicture(360, 312, 2.0);
    Window().PaintView(false);
    EXPECT_EQ(Picture().width(), 720);
    EXPECT_EQ(Picture().height(), 624);
    // Drawn in widget pixels, the rectangle lands at twice its picture position.
    const TRect r = MmRectToView(Editor(), {50, 50, 100, 100});
    EXPECT_EQ(Picture().pixel(2 * r.Left + 1, 2 * r.Top + 1), qRgb(255, 0, 0));
    EXPECT_NE(Picture().pixel(2 * r.Left - 3, 2 * r.Top + 1), qRgb(255, 0, 0));
    EXPECT_EQ(Picture().pixel(2 * r.Right - 2, 2 * r.Bottom - 2), qRgb(255, 0, 0));
}

TEST_F(ViewSizeWindowTest, AWidth10LineAtZoom20IsAbout042MmOfView) {
    auto line = std::make_unique<TNyomtatoVonal>();
    line->AddPoint(40, 60);
    line->AddPoint(120, 60);
    line->Width = 10;
    Editor().Items.Lines.Add(std::move(line));
    Editor().SetZoomPosition(100);
    const double pxPerMm = MmToViewX(Editor(), 1) - MmToViewX(Editor(), 0);
    Editor().SetScroll(static_cast<int>(MmToViewX(Editor(), 40)),
                       static_cast<int>(MmToViewY(Editor(), 55)));
    Window().PaintView(false);
    const int x = static_cast<int>(MmToViewX(Editor(), 45));
    int covered = 0;
    for (int y = 0; y < Picture().height(); ++y) covered += Dark(Picture().pixel(x, y));
    EXPECT_NEAR(covered, 10 * 25.4 / 600 * pxPerMm, 1.5);
    EXPECT_GE(covered, 7); // not the 10 pixels (0.5 mm at this zoom) of a screen-pixel pen
    EXPECT_LE(covered, 10);
}

TEST_F(ViewSizeWindowTest, CapitalAccentsShowAboveTheCapHeightAtZoom1And2) {
    const TRect plain{20, 20, 40, 28}, accented{50, 20, 70, 28};
    AddCaption(plain, "E");
    AddCaption(accented, "\xC9"); // É in code page 1250
    for (int position : {5, 10}) {
        SCOPED_TRACE(position);
        Editor().SetZoomPosition(position);
        Window().PaintView(false);
        const int cap = TopInkRow(plain), accent = TopInkRow(accented);
        ASSERT_GT(cap, 0);
        EXPECT_GE(accent, 1); // below the box's outline, not on it
        EXPECT_LT(accent, cap);
    }
}

TEST_F(ViewSizeWindowTest, DescendersStayInsideTheCaptionsBox) {
    const TRect box{20, 20, 60, 30};
    AddCaption(box, "g\xFB"); // g and ű
    Editor().SetZoomPosition(15);
    Window().PaintView(false);
    const TRect r = MmRectToView(Editor(), box);
    // The descender of g reaches the lower part of the box and does not run under its outline.
    int lowest = -1;
    for (int y = r.Top + 1; y < r.Bottom; ++y)
        for (int x = r.Left + 1; x < r.Right; ++x)
            if (Dark(Picture().pixel(x, y))) lowest = y;
    EXPECT_GT(lowest, r.Top + (r.Bottom - r.Top) * 3 / 4);
}

// Frame titles sit on the frame's top line over white; their accents reach above the cell's
// top and their descenders below the line, and both must show as they print.
TEST_F(ViewSizeWindowTest, FrameTitlesShowWholeAccentsAndDescendersAtZoom1_2And20) {
    struct TInk {
        int Top, Bottom; // rows relative to the frame's top line
    };
    // The inked rows of the title's first letter or so, drawn alone on the page.
    auto titleInk = [this](const char* title, int position) {
        while (Editor().Items.Frames.Count() > 0) Editor().Items.Frames.Delete(0);
        auto f = std::make_unique<TNyomtatoKeret>();
        f->Rect = {20, 30, 150, 80};
        f->Shadow = false;
        f->Title = title;
        Editor().Items.Frames.Add(std::move(f));
        Editor().SetZoomPosition(position);
        // The frame's corner 20 pixels in and 200 down, where the whole cell shows.
        Editor().SetScroll(static_cast<int>(MmToViewX(Editor(), 20) + Editor().ScrollX) - 20,
                           static_cast<int>(MmToViewY(Editor(), 30) + Editor().ScrollY) - 200);
        Window().PaintView(false);
        const TRect r = MmRectToView(Editor(), {20, 30, 150, 80});
        const int cell = static_cast<int>(MmToViewY(Editor(), 8) - MmToViewY(Editor(), 0));
        const int left = r.Left + static_cast<int>(MmToViewX(Editor(), 2) - MmToViewX(Editor(), 0));
        TInk ink{INT_MAX, INT_MIN};
        for (int y = std::max(0, r.Top - cell); y < std::min(r.Top + cell, Picture().height()); ++y)
            for (int x = left + 1; x <= left + cell / 2 && x < Picture().width(); ++x)
                if (y != r.Top && Dark(Picture().pixel(x, y))) {
                    ink.Top = std::min(ink.Top, y - r.Top);
                    ink.Bottom = std::max(ink.Bottom, y - r.Top);
                }
        return ink;
    };
    for (int position : {5, 10, 100}) {
        SCOPED_TRACE(position);
        const TInk plain = titleInk("E", position);
        ASSERT_NE(plain.Top, INT_MAX);
        EXPECT_LT(titleInk("\xC9", position).Top, plain.Top); // É
        // "ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP" against the same capitals without accents.
        EXPECT_LT(titleInk("\xC1RV\xCDZT\xDBR\xD5 T\xDCK\xD6RF\xDAR\xD3G\xC9P", position).Top,
                  titleInk("ARVIZTURO TUKORFUROGEP", position).Top);
        // The descender of g in "gyűjtő" reaches below the foot of an o.
        EXPECT_GT(titleInk("gy\xFBjt\xF5", position).Bottom, titleInk("o", position).Bottom);
    }
}

TEST_F(ViewSizeWindowTest, CtrlWheelKeepsTheMillimetreUnderThePointer) {
    Window().show();
    Window().resize(1000, 800);
    QApplication::processEvents();
    Editor().SetZoomPosition(20);
    const QPoint at(300, 200);
    const double x = ViewToMmXf(Editor(), at.x()), y = ViewToMmYf(Editor(), at.y());
    QWheelEvent event(QPointF(at), QPointF(Window().imLap->mapToGlobal(at)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Window().imLap, &event);
    EXPECT_EQ(Editor().ZoomPosition, 21);
    EXPECT_NEAR(MmToViewX(Editor(), x), at.x(), 1.0);
    EXPECT_NEAR(MmToViewY(Editor(), y), at.y(), 1.0);
}

TEST_F(ViewSizeWindowTest, CtrlWheelZoomsWithThePointerOnAnItemsEdge) {
    auto rect = std::make_unique<TNyomtatoNegyszog>();
    rect->Rect = {50, 50, 100, 100};
    Editor().Items.Rectangles.Add(std::move(rect));
    Window().show();
    Window().resize(1000, 800);
    QApplication::processEvents();
    Editor().SetZoomPosition(10);
    Window().PaintView(false);
    const QPoint at(static_cast<int>(MmToViewX(Editor(), 100)),
                    static_cast<int>(MmToViewY(Editor(), 75)));
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(Window().imLap->mapToGlobal(at)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Window().imLap, &move);
    ASSERT_TRUE(IsHovering(Editor().Mode));
    const double x = ViewToMmXf(Editor(), at.x());
    QWheelEvent wheel(QPointF(at), QPointF(Window().imLap->mapToGlobal(at)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Window().imLap, &wheel);
    EXPECT_EQ(Editor().ZoomPosition, 11);
    EXPECT_NEAR(MmToViewX(Editor(), x), at.x(), 1.0);
    // The pointer still rests on the same edge, found anew at the new zoom.
    EXPECT_TRUE(IsHovering(Editor().Mode));
}
