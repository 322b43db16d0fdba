#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "editor/ItemDrawing.h"
#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "platform/RecordingCanvas.h"
#include "support/TestPrinters.h"

namespace {

using ::testing::ElementsAre;
using TArgs = std::vector<int32_t>;

TPageEditor A4Editor(int zoomPosition = TPageEditor::ZoomMin) {
    TPageEditor e;
    TA4Printer a4;
    e.ResetPage(a4);
    e.SetZoomPosition(zoomPosition);
    return e;
}

template <class T>
T& Add(TOwningList<T>& list) {
    return list.Add(std::make_unique<T>());
}

void AddPoints(TPointList& list, std::initializer_list<TPoint> points) {
    for (TPoint p : points) list.AddPoint(p.X, p.Y);
}

// One item of every kind on the upper part of the sheet, and the heights legend.
void AddEveryKind(TPageEditor& e) {
    TNyomtatoKeret& frame = Add(e.Items.Frames);
    frame.Rect = {10, 10, 100, 80};
    frame.BorderColor = clNavy;
    frame.FillColor = clYellow;
    frame.FillStyle = static_cast<uint8_t>(TBrushStyle::bsCross);
    frame.Title = "Keret";
    frame.TitleFont.Height = 6; // mm
    Add(e.Items.Rectangles) = {{20, 90, 40, 110}, clRed};
    TNyomtatoPoligon& polygon = Add(e.Items.Polygons);
    AddPoints(polygon, {{50, 90}, {70, 120}, {45, 115}});
    polygon.Color = clGreen;
    TNyomtatoKep& image = Add(e.Items.Images);
    image.Rect = {120, 10, 180, 60};
    image.Picture->DeviceBitmap = TPixmap{2, 1, {0xFFFF0000, 0xFF0000FF}};
    TNyomtatoSzoveg& caption = Add(e.Items.Captions);
    caption.Text = "Felirat";
    caption.Rect = {20, 20, 60, 28};
    caption.FillBackground = true;
    TNyomtatoSorok& text = Add(e.Items.Texts);
    text.Text = "one\r\ntwo\r\nthree";
    text.Rect = {20, 40, 80, 61};
    text.LineCount = 3;
    TNyomtatoVonal& line = Add(e.Items.Lines);
    AddPoints(line, {{10, 150}, {190, 160}});
    line.Color = clBlue;
    line.Width = 3;
    line.PenStyle = static_cast<uint8_t>(TPenStyle::psDash);
    e.Settings.HeightsLegendVisible = true;
    e.Settings.HeightsLegendRect = {150, 170, 160, 250};
}

TRecordingCanvas Painted(const TPageEditor& e) {
    TRecordingCanvas c;
    PaintItems(c, e);
    return c;
}

std::vector<std::string> Ops(const TRecordingCanvas& c) {
    std::vector<std::string> ops;
    for (const TCanvasCall& call : c.Calls) ops.push_back(call.Op);
    return ops;
}

// A picture rectangle as recorded arguments, right and bottom grown by grow.
TArgs Box(const TRect& r, int32_t grow = 0) {
    return {r.Left, r.Top, r.Right + grow, r.Bottom + grow};
}
TArgs Box(const TPageEditor& e, const TRect& mm, int32_t grow = 0) {
    return Box(MmRectToView(e, mm), grow);
}
int32_t Px(const TPageEditor& e, double mm) { return static_cast<int32_t>(MmToViewX(e, mm)); }
int32_t Py(const TPageEditor& e, double mm) { return static_cast<int32_t>(MmToViewY(e, mm)); }

} // namespace

TEST(ItemDrawing, IdleEditorDrawsEveryItemAsPrintedBottomToTop) {
    TPageEditor e = A4Editor();
    AddEveryKind(e);
    const TRecordingCanvas c = Painted(e);
    EXPECT_THAT(Ops(c), ElementsAre("Rectangle", "Rectangle", "Rectangle", "TextOut", // frame
                                    "Rectangle", "Polygon", "StretchDraw", "Rectangle", "ClipRect",
                                    "TextOut", "NoClip",                           // caption
                                    "Rectangle", "ClipRect", "DrawText", "NoClip", // text
                                    "Polyline", "Rectangle"));                     // line, legend
    const auto& calls = c.Calls;

    // The frame in its colours, right and bottom included, a 3 mm shadow right and below.
    const TRect f = MmRectToView(e, e.Items.Frames[0].Rect);
    EXPECT_EQ(calls[0].Args, Box(f, 1));
    EXPECT_EQ(calls[0].Pen.Color, clNavy);
    EXPECT_EQ(calls[0].Brush, (TBrush{clYellow, TBrushStyle::bsCross}));
    const int32_t sx = Px(e, 3) - Px(e, 0), sy = Py(e, 3) - Py(e, 0);
    EXPECT_EQ(calls[1].Args, TArgs({f.Right + 1, f.Top + sy, f.Right + sx + 2, f.Bottom + sy + 2}));
    EXPECT_EQ(calls[2].Args,
              TArgs({f.Left + sx, f.Bottom + 1, f.Right + sx + 2, f.Bottom + sy + 2}));
    EXPECT_EQ(calls[2].Brush.Color, clSilver);
    // The title's 6 mm become picture pixels; it sits on the top line, 2 mm in, over white.
    const int32_t titleHeight = Py(e, 6) - Py(e, 0);
    EXPECT_EQ(calls[3].Font.Height, titleHeight);
    EXPECT_EQ(calls[3].Args, TArgs({f.Left + Px(e, 2) - Px(e, 0), f.Top - titleHeight / 2}));
    EXPECT_EQ(calls[3].BkMode, TBkMode::Opaque);

    // The rectangle fills its picture rectangle exactly, outlined in its own colour.
    EXPECT_EQ(calls[4].Args, Box(e, e.Items.Rectangles[0].Rect));
    EXPECT_EQ(calls[4].Pen.Color, clRed);
    EXPECT_EQ(calls[4].Brush, (TBrush{clRed, TBrushStyle::bsSolid}));
    EXPECT_EQ(calls[5].Brush, (TBrush{clGreen, TBrushStyle::bsSolid}));
    const TRect k = MmRectToView(e, e.Items.Images[0].Rect);
    EXPECT_EQ(calls[6].Args, TArgs({k.Left, k.Top, k.Right - k.Left + 1, k.Bottom - k.Top + 1}));

    // The caption: a black box over white, the font's cell as high as the box inside its
    // outline, clipped to the box's width (accents and descenders may reach past the cell).
    const TRect cr = MmRectToView(e, e.Items.Captions[0].Rect);
    EXPECT_EQ(calls[7].Args, Box(cr, 1));
    EXPECT_EQ(calls[7].Pen, (TPen{clBlack, 1, TPenStyle::psSolid}));
    EXPECT_EQ(calls[7].Brush, (TBrush{clWhite, TBrushStyle::bsSolid}));
    ASSERT_EQ(calls[8].Args.size(), 4u);
    EXPECT_EQ(calls[8].Args[0], cr.Left + 1);
    EXPECT_EQ(calls[8].Args[2], cr.Right);
    EXPECT_LT(calls[8].Args[1], cr.Top);
    EXPECT_GT(calls[8].Args[3], cr.Bottom + 1);
    EXPECT_EQ(calls[9].Args, TArgs({cr.Left + 1, cr.Top + 1}));
    EXPECT_EQ(calls[9].Font.Height, cr.Bottom - cr.Top - 1);
    EXPECT_EQ(calls[9].BkMode, TBkMode::Transparent);
    // The text: a hollow box without a background, each line a third of it.
    const TRect tr = MmRectToView(e, e.Items.Texts[0].Rect);
    EXPECT_EQ(calls[11].Brush.Style, TBrushStyle::bsClear);
    EXPECT_EQ(calls[13].Args,
              TArgs({tr.Left + 1, tr.Top + 1, tr.Right, tr.Bottom, int32_t{DT_NOCLIP}}));
    EXPECT_EQ(calls[13].Font.Height, (tr.Bottom - tr.Top - 1) / 3);

    // The line with its own pen, as wide as it prints; the legend's outline (there is no
    // colour table).
    EXPECT_EQ(calls[15].Pen, (TPen{clBlue, LineWidthOnView(e, 3), TPenStyle::psDash}));
    EXPECT_EQ(calls[15].Args, TArgs({Px(e, 10), Py(e, 150), Px(e, 190), Py(e, 160)}));
    EXPECT_EQ(calls[16].Args, Box(MmOutlineToView(e, e.Settings.HeightsLegendRect)));
    EXPECT_EQ(calls[16].Brush.Style, TBrushStyle::bsClear);
}

TEST(ItemDrawing, DuringAToolOrDragEverythingButLinesIsABlackOutline) {
    TPageEditor e = A4Editor();
    AddEveryKind(e);
    e.Mode = mdDragFrame;
    const TRecordingCanvas c = Painted(e);
    // No shadows, titles, text, clipping or pictures.
    EXPECT_THAT(Ops(c), ElementsAre("Rectangle", "Rectangle", "Polygon", "Rectangle", "Rectangle",
                                    "Rectangle", "Polyline", "Rectangle"));
    for (const TCanvasCall& call : c.Calls) {
        const bool line = call.Op == "Polyline";
        EXPECT_EQ(call.Pen,
                  (line ? TPen{clBlue, LineWidthOnView(e, 3), TPenStyle::psDash} : TPen{}))
            << call.Describe();
        if (!line) {
            EXPECT_EQ(call.Brush.Style, TBrushStyle::bsClear) << call.Describe();
        }
    }
    // Frames and images take in their right and bottom edge; rectangles do not.
    EXPECT_EQ(c.Calls[0].Args, Box(e, e.Items.Frames[0].Rect, 1));
    EXPECT_EQ(c.Calls[1].Args, Box(e, e.Items.Rectangles[0].Rect));
    EXPECT_EQ(c.Calls[3].Args, Box(e, e.Items.Images[0].Rect, 1));
    EXPECT_EQ(e.Items.Images[0].Picture->ViewCopy.Scalings(), 0); // no picture work at all
}

TEST(ItemDrawing, ItemsThePictureDoesNotShowAreSkipped) {
    TPageEditor e = A4Editor(100); // zoom 20 on the top-left corner: about 18 x 15 mm show
    AddEveryKind(e);
    ASSERT_LT(VisibleMm(e).Right, 20);
    // The frame (from 10, 10) reaches into the corner; the rectangle, polygon, image, caption,
    // text and line lie beyond it. The legend is drawn wherever it is.
    EXPECT_THAT(Ops(Painted(e)),
                ElementsAre("Rectangle", "Rectangle", "Rectangle", "TextOut", "Rectangle"));

    // Lines and polygons go by the picture box of their points: one crossing the corner with
    // every point outside it is drawn, and so is a wide line whose pen reaches in from beside.
    TPageEditor crossing = A4Editor(100);
    AddPoints(Add(crossing.Items.Polygons), {{5, -20}, {15, 60}, {-10, 60}});
    AddPoints(Add(crossing.Items.Lines), {{-30, 8}, {90, 8}});
    TNyomtatoVonal& beside = Add(crossing.Items.Lines);
    const int32_t below = ViewToMmY(crossing, crossing.PictureHeight - 1) + 1;
    AddPoints(beside, {{2, below}, {12, below}});
    beside.Width = 100; // 4.2 mm, about 80 pixels at this zoom
    AddPoints(Add(crossing.Items.Lines), {{2, below + 20}, {12, below + 20}});
    EXPECT_THAT(Ops(Painted(crossing)), ElementsAre("Polygon", "Polyline", "Polyline"));

    // Rectangles go by their picture rectangle, its edges included.
    TPageEditor r = A4Editor(20);
    r.SetScroll(Px(r, 50), 0); // 50 mm falls within the first pixel column
    ASSERT_EQ(Px(r, 50), 0);
    Add(r.Items.Rectangles).Rect = {45, 10, 50, 20};
    Add(r.Items.Rectangles).Rect = {44, 10, 49, 20};
    EXPECT_THAT(Painted(r).Log(),
                ElementsAre("Rectangle(" + std::to_string(Px(r, 45)) + "," +
                            std::to_string(Py(r, 10)) + ",0," + std::to_string(Py(r, 20)) + ")"));
}

TEST(ItemDrawing, FrameTitlesSitCentredOnTheTopLineAtTheirAlignment) {
    TPageEditor e = A4Editor(15); // zoom 3
    const int alignments[] = {0, 1, 2, 7};
    for (int i = 0; i < 4; ++i) {
        TNyomtatoKeret& frame = Add(e.Items.Frames);
        frame.Rect = {10, 10 + 20 * i, 60, 25 + 20 * i};
        frame.Shadow = false;
        frame.Title = "Cim";
        frame.TitleAlignment = alignments[i];
    }
    Add(e.Items.Frames).Rect = {10, 5, 20, 8}; // untitled: no text
    const auto titles = Painted(e).CallsOf("TextOut");
    ASSERT_EQ(titles.size(), 4u);
    const int32_t margin = Px(e, 2) - Px(e, 0);
    const int32_t width = 3 * TRecordingCanvas::CharWidth(titles[0].Font.Height);
    const TRect f = MmRectToView(e, e.Items.Frames[0].Rect);
    std::vector<int32_t> xs;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(titles[i].Args[1],
                  MmRectToView(e, e.Items.Frames[i].Rect).Top - titles[i].Font.Height / 2);
        xs.push_back(titles[i].Args[0] - f.Left);
    }
    EXPECT_THAT(xs,
                ElementsAre(margin, (f.Width() - width) / 2, f.Width() - margin - width, margin));
}

TEST(ItemDrawing, TextFontsShareTheBoxBetweenTheLinesAndNoLineCountMeansOne) {
    TPageEditor e = A4Editor(10);
    // The last has so many lines that each would be under a pixel: its box alone is drawn.
    const std::pair<int32_t, int32_t> texts[] = {{4, 40}, {0, 40}, {-3, 40}, {1000, 22}};
    for (auto [lines, bottom] : texts) {
        TNyomtatoSorok& text = Add(e.Items.Texts);
        text.Text = "a\r\nb";
        text.Rect = {20, 20, 60, bottom};
        text.LineCount = lines;
    }
    const TRecordingCanvas c = Painted(e);
    const int32_t h = MmRectToView(e, TRect{20, 20, 60, 40}).Height();
    std::vector<int32_t> heights;
    for (const TCanvasCall& call : c.CallsOf("DrawText")) heights.push_back(call.Font.Height);
    EXPECT_THAT(heights, ElementsAre((h - 1) / 4, h - 1, h - 1));
    EXPECT_EQ(c.CallsOf("Rectangle").size(), 4u);
    EXPECT_EQ(c.CallsOf("ClipRect").size(), c.CallsOf("NoClip").size());
}

TEST(ItemDrawing, ThePolygonOrLineBeingEnteredShowsOnlyInItsOwnMode) {
    TPageEditor e = A4Editor();
    AddEveryKind(e);
    e.PolygonPoints = std::make_unique<TPointList>();
    AddPoints(*e.PolygonPoints, {{30, 30}, {40, 50}});
    e.LinePoints = std::make_unique<TPointList>();
    AddPoints(*e.LinePoints, {{100, 100}});
    // Thin and black, the polygon over the rectangles and under the polygons, the line over
    // the texts and under the lines.
    e.Mode = mdNewPolygon;
    const TRecordingCanvas polygon = Painted(e);
    ASSERT_EQ(Ops(polygon)[2], "Polyline");
    EXPECT_EQ(polygon.Calls[2].Args, TArgs({Px(e, 30), Py(e, 30), Px(e, 40), Py(e, 50)}));
    EXPECT_EQ(polygon.Calls[2].Pen, TPen{});
    e.Mode = mdNewLine;
    const TRecordingCanvas line = Painted(e);
    ASSERT_EQ(Ops(line)[line.Calls.size() - 3], "Polyline");
    const TCanvasCall& entered = line.Calls[line.Calls.size() - 3];
    EXPECT_EQ(entered.Describe(),
              "Polyline(" + std::to_string(Px(e, 100)) + "," + std::to_string(Py(e, 100)) + ")");
    EXPECT_EQ(entered.Pen, TPen{});
    // In other modes only the document's own line is drawn.
    for (TEditorMode mode : {mdIdle, mdDeleteTool}) {
        e.Mode = mode;
        EXPECT_EQ(Painted(e).CallsOf("Polyline").size(), 1u);
    }
}

TEST(ItemDrawing, DamagedValuesDrawWithinSafeRanges) {
    TPageEditor e = A4Editor(100);
    TNyomtatoKeret& frame = Add(e.Items.Frames);
    frame.Rect = {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    frame.FillStyle = 200; // no such brush
    frame.Title = "T";
    frame.TitleFont.Height = INT32_MAX;
    Add(e.Items.Captions).Rect = {0, 0, INT32_MAX, INT32_MAX};
    for (int32_t width : {INT32_MAX, -7}) {
        TNyomtatoVonal& line = Add(e.Items.Lines);
        AddPoints(line, {{INT32_MIN, INT32_MAX}, {0, 0}});
        line.Width = width;
        line.PenStyle = 99;
    }
    Add(e.Items.Lines);    // no points
    Add(e.Items.Polygons); // no points
    const TRecordingCanvas c = Painted(e);

    const auto lines = c.CallsOf("Polyline");
    ASSERT_EQ(lines.size(), 2u); // the empty line and polygon draw nothing
    EXPECT_EQ(lines[0].Pen.Width, LineWidthOnView(e, 100));
    EXPECT_EQ(lines[1].Pen.Width, 1);
    EXPECT_TRUE(c.CallsOf("Polygon").empty());
    // Everything stays well inside 32 bits (and the canvas's own limits), also after the
    // pixels added for edges, shadows and titles.
    for (const TCanvasCall& call : c.Calls) {
        for (int32_t v : call.Args) EXPECT_LE(std::abs(int64_t{v}), 1 << 29) << call.Describe();
        EXPECT_LE(std::abs(int64_t{call.Font.Height}), 1 << 29) << call.Describe();
    }
}

TEST(ItemDrawing, AnImageWithoutItsPictureShowsItsBox) {
    TPageEditor e = A4Editor();
    TNyomtatoKep& image = Add(e.Items.Images);
    image.Rect = {20, 20, 50, 40};
    image.Picture->LoadFromFile("/nonexistent/picture.bmp");
    ASSERT_FALSE(image.Picture->HasImage);
    const TRecordingCanvas c = Painted(e);
    ASSERT_THAT(Ops(c), ElementsAre("Rectangle"));
    EXPECT_EQ(c.Calls[0].Args, Box(MmOutlineToView(e, image.Rect)));
}
