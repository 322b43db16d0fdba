#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "platform/Pixmap.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtFont.h"
#include "platform/qt/QtText.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

// A white picture and a canvas drawing on it.
struct Surface {
    QImage Image{80, 60, QImage::Format_RGB32};
    QPainter Painter;
    std::unique_ptr<TQtCanvas> Canvas;

    Surface() {
        Image.fill(Qt::white);
        Painter.begin(&Image);
        Canvas = std::make_unique<TQtCanvas>(Painter);
    }
    QRgb At(int x, int y) {
        if (Painter.isActive()) Painter.end();
        return Image.pixel(x, y);
    }
};

QRgb Rgb(TColor c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

} // namespace

TEST(QtCanvas, RectangleCoversLeftTopButNotRightBottomWithThePenInside) {
    Surface s;
    s.Canvas->Pen.Color = clRed;
    s.Canvas->Brush.Color = clBlue;
    s.Canvas->Rectangle(10, 10, 20, 15);
    s.Canvas->Pen.Width = 3;
    s.Canvas->Rectangle(40, 10, 60, 30);
    // One-pixel pen: outline on columns 10 and 19, rows 10 and 14; fill inside.
    EXPECT_EQ(s.At(10, 10), Rgb(clRed));
    EXPECT_EQ(s.At(19, 14), Rgb(clRed));
    EXPECT_EQ(s.At(11, 11), Rgb(clBlue));
    EXPECT_EQ(s.At(18, 13), Rgb(clBlue));
    EXPECT_EQ(s.At(20, 12), kWhite);
    EXPECT_EQ(s.At(15, 15), kWhite);
    EXPECT_EQ(s.At(9, 12), kWhite);
    // Three-pixel pen: three columns inside each edge, nothing outside.
    EXPECT_EQ(s.At(40, 20), Rgb(clRed));
    EXPECT_EQ(s.At(42, 20), Rgb(clRed));
    EXPECT_EQ(s.At(43, 20), Rgb(clBlue));
    EXPECT_EQ(s.At(57, 20), Rgb(clRed));
    EXPECT_EQ(s.At(59, 29), Rgb(clRed));
    EXPECT_EQ(s.At(60, 20), kWhite);
    EXPECT_EQ(s.At(50, 30), kWhite);
}

TEST(QtCanvas, ClearBrushLeavesTheInsideAndClearPenLeavesNoOutline) {
    Surface s;
    s.Canvas->Pen.Color = clRed;
    s.Canvas->Brush.Style = TBrushStyle::bsClear;
    s.Canvas->Rectangle(10, 10, 30, 30);
    s.Canvas->Pen.Style = TPenStyle::psClear;
    s.Canvas->Brush.Style = TBrushStyle::bsSolid;
    s.Canvas->Brush.Color = clLime;
    s.Canvas->Rectangle(40, 10, 50, 20);
    EXPECT_EQ(s.At(10, 20), Rgb(clRed));
    EXPECT_EQ(s.At(20, 20), kWhite);
    EXPECT_EQ(s.At(40, 10), Rgb(clLime));
    EXPECT_EQ(s.At(49, 19), Rgb(clLime));
    EXPECT_EQ(s.At(50, 19), kWhite);
}

TEST(QtCanvas, HatchLinesAreBrushColourOverTheBackgroundWhenOpaque) {
    Surface s;
    s.Canvas->Pen.Style = TPenStyle::psClear;
    s.Canvas->Brush.Color = clBlue;
    s.Canvas->Brush.Style = TBrushStyle::bsFDiagonal;
    s.Canvas->BkColor = clYellow;
    s.Canvas->Rectangle(0, 0, 32, 32);
    s.Canvas->BkMode = TBkMode::Transparent;
    s.Canvas->Rectangle(40, 0, 72, 32);
    int blue = 0, yellow = 0, white = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb p = s.At(x, y);
            blue += p == Rgb(clBlue);
            yellow += p == Rgb(clYellow);
            // The forward diagonal runs down to the right: the next pixel along it is blue too.
            if (p == Rgb(clBlue) && x < 31 && y < 31) {
                EXPECT_EQ(s.At(x + 1, y + 1), Rgb(clBlue)) << x << "," << y;
            }
        }
    }
    EXPECT_GT(blue, 0);
    EXPECT_EQ(blue + yellow, 32 * 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 40; x < 72; ++x) white += s.At(x, y) == kWhite;
    }
    EXPECT_EQ(white, 32 * 32 - blue);
}

TEST(QtCanvas, PenWidthIsInDevicePixelsAndDashesLeaveBackgroundGaps) {
    Surface s;
    s.Canvas->Pen.Color = clRed;
    s.Canvas->Pen.Width = 3;
    const TPoint vertical[] = {{20, 5}, {20, 50}};
    s.Canvas->Polyline(vertical);
    s.Canvas->Pen.Width = 1;
    s.Canvas->Pen.Style = TPenStyle::psDash;
    s.Canvas->BkColor = clLime;
    const TPoint horizontal[] = {{30, 40}, {79, 40}};
    s.Canvas->Polyline(horizontal);
    int wide = 0;
    for (int x = 10; x < 30; ++x) wide += s.At(x, 25) == Rgb(clRed);
    EXPECT_EQ(wide, 3);
    int red = 0, gap = 0;
    for (int x = 30; x < 78; ++x) {
        red += s.At(x, 40) == Rgb(clRed);
        gap += s.At(x, 40) == Rgb(clLime);
    }
    EXPECT_GT(red, 0);
    EXPECT_GT(gap, 0);
    EXPECT_EQ(red + gap, 48);
}

TEST(QtCanvas, TextCellStartsAtTheGivenCornerWithAnOpaqueBackground) {
    Surface s;
    s.Canvas->Font.Name = "Liberation Sans";
    s.Canvas->Font.Height = -20;
    s.Canvas->Font.Color = clBlue;
    s.Canvas->BkColor = clYellow;
    const TSize extent = s.Canvas->TextExtent("Hx");
    EXPECT_GE(extent.cy, 20);
    EXPECT_GT(extent.cx, 10);
    s.Canvas->TextOut(10, 10, "Hx");
    EXPECT_EQ(s.At(10, 10), Rgb(clYellow));
    EXPECT_EQ(s.At(10 + extent.cx - 1, 10 + extent.cy - 1), Rgb(clYellow));
    EXPECT_EQ(s.At(9, 10), kWhite);
    EXPECT_EQ(s.At(10, 9), kWhite);
    EXPECT_EQ(s.At(10 + extent.cx, 10), kWhite);
    int ink = 0;
    for (int y = 10; y < 10 + extent.cy; ++y) {
        for (int x = 10; x < 10 + extent.cx; ++x)
            ink += qBlue(s.At(x, y)) > 128 && qRed(s.At(x, y)) < 128;
    }
    EXPECT_GT(ink, 10);

    // Several lines measure as the widest line by all line heights.
    TRect r{5, 5, 5, 5};
    EXPECT_EQ(s.Canvas->DrawText("Hx\r\nx", r, DT_CALCRECT), 2 * extent.cy);
    EXPECT_EQ(r, (TRect{5, 5, 5 + extent.cx, 5 + 2 * extent.cy}));
}

TEST(QtCanvas, StretchDrawScalesThePictureIntoTheRectangle) {
    Surface s;
    TPixmap picture{2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000}};
    s.Canvas->StretchDraw(10, 10, 20, 20, picture);
    EXPECT_EQ(s.At(10, 10), 0xFFFF0000);
    EXPECT_EQ(s.At(29, 10), 0xFF00FF00);
    EXPECT_EQ(s.At(10, 29), 0xFF0000FF);
    EXPECT_EQ(s.At(29, 29), 0xFF000000);
    EXPECT_EQ(s.At(30, 30), kWhite);
    // A picture whose pixel store does not match its size is not drawn.
    Surface t;
    TPixmap broken{4, 4, {0xFF000000}};
    t.Canvas->StretchDraw(0, 0, 10, 10, broken);
    EXPECT_EQ(t.At(0, 0), kWhite);
}

TEST(QtCanvas, DottedOutlineKeepsToTheRectangleAndHasGaps) {
    Surface s;
    s.Canvas->Pen.Style = TPenStyle::psDot;
    s.Canvas->Pen.Color = clRed;
    s.Canvas->Brush.Style = TBrushStyle::bsClear;
    s.Canvas->BkMode = TBkMode::Transparent;
    s.Canvas->Rectangle(10, 10, 70, 50);
    int red = 0;
    for (int x = 10; x < 70; ++x) red += s.At(x, 10) == Rgb(clRed);
    EXPECT_GT(red, 20);
    EXPECT_LT(red, 50);
    for (int y = 10; y < 50; ++y) {
        EXPECT_EQ(s.At(9, y), kWhite);
        EXPECT_EQ(s.At(70, y), kWhite);
    }
    bool rightEdge = false;
    for (int y = 10; y < 50; ++y) rightEdge |= s.At(69, y) == Rgb(clRed);
    EXPECT_TRUE(rightEdge);
    EXPECT_EQ(s.At(40, 30), kWhite);
}

// Fonts and texts are kept from canvas to canvas; what a canvas measures must still be what
// Qt measures for that font, text and device, whatever was measured before.
TEST(QtCanvas, TextIsMeasuredAsQtMeasuresItWhateverCameBefore) {
    QImage screen(10, 10, QImage::Format_RGB32);
    QImage print(10, 10, QImage::Format_RGB32);
    print.setDotsPerMeterX(23622); // 600 dpi
    print.setDotsPerMeterY(23622);
    auto expected = [](const TFont& font, QPaintDevice& device, const char* text) {
        const QFontMetrics fm(ToQFont(font), &device);
        return TSize{fm.horizontalAdvance(FromCp1250(text)), fm.ascent() + fm.descent()};
    };
    TFont regular;
    regular.Name = "Arial";
    TFont bold = regular;
    bold.Style = fsBold;
    for (int round = 0; round < 2; ++round) {
        for (QImage* device : {&screen, &print}) {
            TQtCanvas canvas(*device);
            for (int32_t height : {-12, 30, -40, 30}) {
                for (TFont* font : {&regular, &bold}) {
                    SCOPED_TRACE(height);
                    font->Height = height;
                    canvas.Font = *font;
                    for (const char* text : {"Hx", "Hx ", "\xC1RV\xCDZ", "g\xFB"}) {
                        const TSize got = canvas.TextExtent(text);
                        const TSize want = expected(*font, *device, text);
                        EXPECT_EQ(got.cx, want.cx) << text;
                        EXPECT_EQ(got.cy, want.cy) << text;
                    }
                }
            }
        }
    }
    // The kept widths belong to their text: a trailing space and bold letters are wider.
    TQtCanvas canvas(screen);
    canvas.Font = regular;
    canvas.Font.Height = -40;
    const int32_t plain = canvas.TextExtent("Hx").cx;
    EXPECT_GT(canvas.TextExtent("Hx ").cx, plain);
    canvas.Font.Style = fsBold;
    EXPECT_GT(canvas.TextExtent("Hx").cx, plain);
}
