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

TPageEditor A4Editor() {
    TPageEditor e;
    TA4Printer a4;
    e.ResetPage(a4);
    return e;
}

// One item of every kind on the upper part of the sheet, and the heights legend.
void AddEveryKind(TPageEditor& e) {
    auto frame = std::make_unique<TNyomtatoKeret>();
    frame->Rect = {10, 10, 100, 80};
    frame->BorderColor = clNavy;
    frame->FillColor = clYellow;
    frame->FillStyle = static_cast<uint8_t>(TBrushStyle::bsCross);
    frame->Title = "Keret";
    frame->TitleFont.Height = 6; // mm
    e.Items.Frames.Add(std::move(frame));

    auto rect = std::make_unique<TNyomtatoNegyszog>();
    rect->Rect = {20, 90, 40, 110};
    rect->Color = clRed;
    e.Items.Rectangles.Add(std::move(rect));

    auto polygon = std::make_unique<TNyomtatoPoligon>();
    polygon->AddPoint(50, 90);
    polygon->AddPoint(70, 120);
    polygon->AddPoint(45, 115);
    polygon->Color = clGreen;
    e.Items.Polygons.Add(std::move(polygon));

    auto image = std::make_unique<TNyomtatoKep>();
    image->Rect = {120, 10, 180, 60};
    image->Picture->DeviceBitmap = TPixmap{2, 1, {0xFFFF0000, 0xFF0000FF}};
    e.Items.Images.Add(std::move(image));

    auto caption = std::make_unique<TNyomtatoSzoveg>();
    caption->Text = "Felirat";
    caption->Rect = {20, 20, 60, 28};
    caption->Font.Height = -150; // printer pixels, replaced on the picture
    caption->FillBackground = true;
    e.Items.Captions.Add(std::move(caption));

    auto text = std::make_unique<TNyomtatoSorok>();
    text->Text = "one\r\ntwo\r\nthree";
    text->Rect = {20, 40, 80, 61};
    text->LineCount = 3;
    e.Items.Texts.Add(std::move(text));

    auto line = std::make_unique<TNyomtatoVonal>();
    line->AddPoint(10, 150);
    line->AddPoint(190, 160);
    line->Color = clBlue;
    line->Width = 3;
    line->PenStyle = static_cast<uint8_t>(TPenStyle::psDash);
    e.Items.Lines.Add(std::move(line));

    e.Settings.HeightsLegendVisible = true;
    e.Settings.HeightsLegendRect = {150, 170, 160, 250};
}

std::vector<std::string> Ops(const TRecordingCanvas& c) {
    std::vector<std::string> ops;
    for (const TCanvasCall& call : c.Calls) ops.push_back(call.Op);
    return ops;
}

std::vector<int32_t> Args(std::initializer_list<int32_t> v) { return v; }

} // namespace

TEST(ItemDrawing, IdleEditorDrawsEveryItemAsPrintedBottomToTop) {
    TPageEditor e = A4Editor();
    AddEveryKind(e);
    TRecordingCanvas c;
    PaintItems(c, e);

    EXPECT_THAT(Ops(c), ElementsAre("Rectangle", "Rectangle", "Rectangle", "TextOut", // frame
                                    "Rectangle",                                     // rectangle
                                    "Polygon", "StretchDraw",                        // polygon, image
                                    "Rectangle", "ClipRect", "TextOut", "NoClip",    // caption
                                    "Rectangle", "ClipRect", "DrawText", "NoClip",   // text
                                    "Polyline", "Rectangle"));                       // line, legend
    const auto& calls = c.Calls;

    // The frame: its pens and fill, right and bottom included.
    const TRect f = MmRectToView(e, e.Items.Frames[0].Rect);
    EXPECT_EQ(calls[0].Args, Args({f.Left, f.Top, f.Right + 1, f.Bottom + 1}));
    EXPECT_EQ(calls[0].Pen.Color, clNavy);
    EXPECT_EQ(calls[0].Brush, (TBrush{clYellow, TBrushStyle::bsCross}));
    // Its shadow is 3 mm on the picture, right and below.
    const int32_t sx = static_cast<int32_t>(MmToViewX(e, 3) - MmToViewX(e, 0));
    const int32_t sy = static_cast<int32_t>(MmToViewY(e, 3) - MmToViewY(e, 0));
    EXPECT_EQ(calls[1].Args, Args({f.Right + 1, f.Top + sy, f.Right + sx + 2, f.Bottom + sy + 2}));
    EXPECT_EQ(calls[2].Args, Args({f.Left + sx, f.Bottom + 1, f.Right + sx + 2, f.Bottom + sy + 2}));
    EXPECT_EQ(calls[1].Brush, (TBrush{clSilver, TBrushStyle::bsSolid}));
    // The title's 6 mm become picture pixels; it sits on the top line, 2 mm in, over white.
    const int32_t titleHeight = static_cast<int32_t>(MmToViewY(e, 6) - MmToViewY(e, 0));
    EXPECT_EQ(calls[3].Font.Height, titleHeight);
    const int32_t margin = static_cast<int32_t>(MmToViewX(e, 2) - MmToViewX(e, 0));
    EXPECT_EQ(calls[3].Args, Args({f.Left + margin, f.Top - titleHeight / 2}));
    EXPECT_EQ(calls[3].BkMode, TBkMode::Opaque);
    EXPECT_EQ(calls[3].BkColor, clWhite);

    // The rectangle fills its picture rectangle exactly, outlined in its own colour.
    const TRect r = MmRectToView(e, e.Items.Rectangles[0].Rect);
    EXPECT_EQ(calls[4].Args, Args({r.Left, r.Top, r.Right, r.Bottom}));
    EXPECT_EQ(calls[4].Pen.Color, clRed);
    EXPECT_EQ(calls[4].Brush, (TBrush{clRed, TBrushStyle::bsSolid}));
    EXPECT_EQ(calls[5].Brush, (TBrush{clGreen, TBrushStyle::bsSolid}));
    EXPECT_EQ(calls[5].Args[0], static_cast<int32_t>(MmToViewX(e, 50)));

    // The picture fills its rectangle, right and bottom included.
    const TRect k = MmRectToView(e, e.Items.Images[0].Rect);
    EXPECT_EQ(calls[6].Args, Args({k.Left, k.Top, k.Right - k.Left + 1, k.Bottom - k.Top + 1}));

    // The caption: a black box over white, the font as high as the box, clipped to it.
    const TRect cr = MmRectToView(e, e.Items.Captions[0].Rect);
    EXPECT_EQ(calls[7].Args, Args({cr.Left, cr.Top, cr.Right + 1, cr.Bottom + 1}));
    EXPECT_EQ(calls[7].Pen, (TPen{clBlack, 1, TPenStyle::psSolid}));
    EXPECT_EQ(calls[7].Brush, (TBrush{clWhite, TBrushStyle::bsSolid}));
    EXPECT_EQ(calls[8].Args, Args({cr.Left, cr.Top, cr.Right, cr.Bottom}));
    EXPECT_EQ(calls[9].Describe(), "TextOut(" + std::to_string(cr.Left) + "," +
                                       std::to_string(cr.Top) + ",\"Felirat\")");
    EXPECT_EQ(calls[9].Font.Height, cr.Bottom - cr.Top);
    EXPECT_EQ(calls[9].BkMode, TBkMode::Transparent);

    // The text: its box is hollow without a background, each line a third of it.
    const TRect tr = MmRectToView(e, e.Items.Texts[0].Rect);
    EXPECT_EQ(calls[11].Brush.Style, TBrushStyle::bsClear);
    EXPECT_EQ(calls[13].Args, Args({tr.Left, tr.Top, tr.Right, tr.Bottom, static_cast<int32_t>(DT_NOCLIP)}));
    EXPECT_EQ(calls[13].Font.Height, (tr.Bottom - tr.Top) / 3);

    // The line with its own pen, its width in picture pixels whatever the zoom.
    EXPECT_EQ(calls[15].Pen, (TPen{clBlue, 3, TPenStyle::psDash}));
    EXPECT_EQ(calls[15].Args, Args({static_cast<int32_t>(MmToViewX(e, 10)),
                                    static_cast<int32_t>(MmToViewY(e, 150)),
                                    static_cast<int32_t>(MmToViewX(e, 190)),
                                    static_cast<int32_t>(MmToViewY(e, 160))}));

    // The legend: only its outline exists (there is no colour table).
    EXPECT_EQ(calls[16].Args, (std::vector<int32_t>{
                                  MmOutlineToView(e, e.Settings.HeightsLegendRect).Left,
                                  MmOutlineToView(e, e.Settings.HeightsLegendRect).Top,
                                  MmOutlineToView(e, e.Settings.HeightsLegendRect).Right,
                                  MmOutlineToView(e, e.Settings.HeightsLegendRect).Bottom}));
    EXPECT_EQ(calls[16].Brush.Style, TBrushStyle::bsClear);
}

TEST(ItemDrawing, DuringAToolOrDragEverythingButLinesIsABlackOutline) {
    TPageEditor e = A4Editor();
    AddEveryKind(e);
    e.Mode = mdDragFrame;
    TRecordingCanvas c;
    PaintItems(c, e);

    // No shadows, titles, text, clipping or pictures.
    EXPECT_THAT(Ops(c), ElementsAre("Rectangle", "Rectangle", "Polygon", "Rectangle", "Rectangle",
                                    "Rectangle", "Polyline", "Rectangle"));
    for (const TCanvasCall& call : c.Calls) {
        if (call.Op == "Polyline") {
            EXPECT_EQ(call.Pen, (TPen{clBlue, 3, TPenStyle::psDash})) << "lines keep their pen";
            continue;
        }
        EXPECT_EQ(call.Pen, (TPen{clBlack, 1, TPenStyle::psSolid})) << call.Describe();
        EXPECT_EQ(call.Brush.Style, TBrushStyle::bsClear) << call.Describe();
    }
    // Frames, images and text boxes take in their right and bottom edge; rectangles do not.
    const TRect f = MmRectToView(e, e.Items.Frames[0].Rect);
    EXPECT_EQ(c.Calls[0].Args, Args({f.Left, f.Top, f.Right + 1, f.Bottom + 1}));
    const TRect r = MmRectToView(e, e.Items.Rectangles[0].Rect);
    EXPECT_EQ(c.Calls[1].Args, Args({r.Left, r.Top, r.Right, r.Bottom}));
    const TRect k = MmRectToView(e, e.Items.Images[0].Rect);
    EXPECT_EQ(c.Calls[3].Args, Args({k.Left, k.Top, k.Right + 1, k.Bottom + 1}));
    // Outline mode does no picture work at all.
    EXPECT_EQ(e.Items.Images[0].Picture->ViewCopy.Scalings(), 0);
}

TEST(ItemDrawing, ItemsThePictureDoesNotShowAreSkipped) {
    TPageEditor e = A4Editor();
    AddEveryKind(e);
    // Zoomed in on the top-left corner: only about 18 x 15 mm of the sheet show.
    e.SetZoomPosition(100);
    const TRect visible = VisibleMm(e);
    ASSERT_LT(visible.Right, 20);
    ASSERT_LT(visible.Bottom, 20);
    TRecordingCanvas c;
    PaintItems(c, e);

    // The frame (from 10, 10) reaches into the corner; the rectangle, image, caption, text and
    // legend lie beyond it. Polygons and lines are drawn wherever they are (the picture
    // clips them).
    EXPECT_THAT(Ops(c), ElementsAre("Rectangle", "Rectangle", "Rectangle", "TextOut", "Polygon",
                                    "Polyline", "Rectangle"));
    EXPECT_EQ(c.Calls.back().Args[0], MmOutlineToView(e, e.Settings.HeightsLegendRect).Left);
}

TEST(ItemDrawing, RectanglesAreSkippedByTheirPictureRectangleEdgesIncluded) {
    TPageEditor e = A4Editor();
    e.SetZoomPosition(20);
    // Scrolled so that 50 mm falls within the picture's first pixel column.
    e.SetScroll(static_cast<int>(MmToViewX(e, 50)), 0);
    ASSERT_EQ(static_cast<int>(MmToViewX(e, 50)), 0);
    for (int32_t right : {50, 49}) {
        auto r = std::make_unique<TNyomtatoNegyszog>();
        r->Rect = {right - 5, 10, right, 20};
        e.Items.Rectangles.Add(std::move(r));
    }
    TRecordingCanvas c;
    PaintItems(c, e);
    // The one ending on column 0 is drawn; the one ending left of the picture is not.
    const auto drawn = c.CallsOf("Rectangle");
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].Args[2], 0);
}

TEST(ItemDrawing, FrameTitlesSitCentredOnTheTopLineAtTheirAlignment) {
    TPageEditor e = A4Editor();
    e.SetZoomPosition(15); // zoom 3, a few pixels per mm
    const int alignments[] = {0, 1, 2, 7};
    for (int i = 0; i < 4; ++i) {
        const int alignment = alignments[i];
        auto frame = std::make_unique<TNyomtatoKeret>();
        frame->Rect = {10, 10 + 20 * i, 60, 25 + 20 * i};
        frame->Shadow = false;
        frame->Title = "Cim";
        frame->TitleAlignment = alignment;
        e.Items.Frames.Add(std::move(frame));
    }
    auto untitled = std::make_unique<TNyomtatoKeret>();
    untitled->Rect = {10, 5, 20, 8};
    e.Items.Frames.Add(std::move(untitled));
    TRecordingCanvas c;
    PaintItems(c, e);

    const auto titles = c.CallsOf("TextOut");
    ASSERT_EQ(titles.size(), 4u); // the untitled frame draws no text
    const int32_t margin = static_cast<int32_t>(MmToViewX(e, 2) - MmToViewX(e, 0));
    const int32_t width = 3 * TRecordingCanvas::CharWidth(titles[0].Font.Height);
    std::vector<int32_t> xs;
    for (int i = 0; i < 4; ++i) {
        const TRect f = MmRectToView(e, e.Items.Frames[i].Rect);
        EXPECT_EQ(titles[i].Args[1], f.Top - titles[i].Font.Height / 2);
        xs.push_back(titles[i].Args[0] - f.Left);
    }
    const TRect f = MmRectToView(e, e.Items.Frames[0].Rect);
    EXPECT_THAT(xs, ElementsAre(margin, (f.Right - f.Left - width) / 2,
                                f.Right - f.Left - margin - width, margin));
}

TEST(ItemDrawing, TextFontsShareTheBoxBetweenTheLinesAndNoLineCountMeansOne) {
    TPageEditor e = A4Editor();
    e.SetZoomPosition(10);
    for (int32_t lines : {4, 0, -3}) {
        auto text = std::make_unique<TNyomtatoSorok>();
        text->Text = "a\r\nb";
        text->Rect = {20, 20, 60, 40};
        text->LineCount = lines;
        e.Items.Texts.Add(std::move(text));
    }
    // So many lines that each would be less than a pixel high: the box alone is drawn.
    auto crowded = std::make_unique<TNyomtatoSorok>();
    crowded->Text = "x";
    crowded->Rect = {20, 50, 60, 52};
    crowded->LineCount = 1000;
    e.Items.Texts.Add(std::move(crowded));
    TRecordingCanvas c;
    PaintItems(c, e);

    const TRect r = MmRectToView(e, TRect{20, 20, 60, 40});
    const auto drawn = c.CallsOf("DrawText");
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0].Font.Height, (r.Bottom - r.Top) / 4);
    EXPECT_EQ(drawn[1].Font.Height, r.Bottom - r.Top);
    EXPECT_EQ(drawn[2].Font.Height, r.Bottom - r.Top);
    EXPECT_EQ(c.CallsOf("Rectangle").size(), 4u);
    EXPECT_EQ(c.CallsOf("ClipRect").size(), c.CallsOf("NoClip").size());
}

TEST(ItemDrawing, ThePolygonOrLineBeingEnteredShowsOnlyInItsOwnMode) {
    TPageEditor e = A4Editor();
    AddEveryKind(e);
    e.PolygonPoints = std::make_unique<TPointList>();
    e.PolygonPoints->AddPoint(30, 30);
    e.PolygonPoints->AddPoint(40, 50);
    e.LinePoints = std::make_unique<TPointList>();
    e.LinePoints->AddPoint(100, 100);

    const auto polylines = [&](int32_t mode) {
        e.Mode = mode;
        TRecordingCanvas c;
        PaintItems(c, e);
        std::vector<std::string> out;
        for (const TCanvasCall& call : c.Calls) {
            if (call.Op == "Polyline" && call.Pen.Color == clBlack) out.push_back(call.Describe());
        }
        // The entered polygon lies under the polygons, the entered line under the lines.
        if (mode == mdNewPolygon) EXPECT_EQ(Ops(c)[2], "Polyline");
        if (mode == mdNewLine) EXPECT_EQ(Ops(c)[Ops(c).size() - 3], "Polyline");
        return out;
    };
    const int32_t x30 = static_cast<int32_t>(MmToViewX(e, 30)), y30 = static_cast<int32_t>(MmToViewY(e, 30));
    const int32_t x40 = static_cast<int32_t>(MmToViewX(e, 40)), y50 = static_cast<int32_t>(MmToViewY(e, 50));
    const int32_t x100 = static_cast<int32_t>(MmToViewX(e, 100)), y100 = static_cast<int32_t>(MmToViewY(e, 100));
    EXPECT_THAT(polylines(mdNewPolygon),
                ElementsAre("Polyline(" + std::to_string(x30) + "," + std::to_string(y30) + "," +
                            std::to_string(x40) + "," + std::to_string(y50) + ")"));
    EXPECT_THAT(polylines(mdNewLine),
                ElementsAre("Polyline(" + std::to_string(x100) + "," + std::to_string(y100) + ")"));
    EXPECT_TRUE(polylines(mdIdle).empty());
    EXPECT_TRUE(polylines(mdDeleteTool).empty());
}

TEST(ItemDrawing, DamagedValuesDrawWithinSafeRanges) {
    TPageEditor e = A4Editor();
    e.SetZoomPosition(100);
    auto frame = std::make_unique<TNyomtatoKeret>();
    frame->Rect = {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    frame->FillStyle = 200; // no such brush
    frame->Title = "T";
    frame->TitleFont.Height = INT32_MAX;
    e.Items.Frames.Add(std::move(frame));
    auto caption = std::make_unique<TNyomtatoSzoveg>();
    caption->Rect = {0, 0, INT32_MAX, INT32_MAX};
    e.Items.Captions.Add(std::move(caption));
    for (int32_t width : {INT32_MAX, -7}) {
        auto line = std::make_unique<TNyomtatoVonal>();
        line->AddPoint(INT32_MIN, INT32_MAX);
        line->AddPoint(0, 0);
        line->Width = width;
        line->PenStyle = 99;
        e.Items.Lines.Add(std::move(line));
    }
    e.Items.Lines.Add(std::make_unique<TNyomtatoVonal>());     // no points
    e.Items.Polygons.Add(std::make_unique<TNyomtatoPoligon>()); // no points
    TRecordingCanvas c;
    PaintItems(c, e);

    const auto lines = c.CallsOf("Polyline");
    ASSERT_EQ(lines.size(), 2u); // the empty line and polygon draw nothing
    EXPECT_EQ(lines[0].Pen.Width, 100);
    EXPECT_EQ(lines[1].Pen.Width, 1);
    EXPECT_TRUE(c.CallsOf("Polygon").empty());
    // Everything stays well inside 32 bits (and the canvas's own limits), also after the
    // pixels added for edges, shadows and titles.
    for (const TCanvasCall& call : c.Calls) {
        for (int32_t v : call.Args) EXPECT_LE(std::abs(static_cast<int64_t>(v)), 1 << 29) << call.Describe();
        EXPECT_LE(std::abs(static_cast<int64_t>(call.Font.Height)), 1 << 29) << call.Describe();
    }
}

TEST(ItemDrawing, AnImageWithoutItsPictureShowsItsBox) {
    TPageEditor e = A4Editor();
    auto image = std::make_unique<TNyomtatoKep>();
    image->Rect = {20, 20, 50, 40};
    image->Picture->LoadFromFile("/nonexistent/picture.bmp");
    ASSERT_FALSE(image->Picture->HasImage);
    e.Items.Images.Add(std::move(image));
    TRecordingCanvas c;
    PaintItems(c, e);
    const TRect box = MmOutlineToView(e, TRect{20, 20, 50, 40});
    EXPECT_THAT(c.Log(), ElementsAre("Rectangle(" + std::to_string(box.Left) + "," +
                                     std::to_string(box.Top) + "," + std::to_string(box.Right) +
                                     "," + std::to_string(box.Bottom) + ")"));
    EXPECT_EQ(c.Calls[0].Brush.Style, TBrushStyle::bsClear);
}

TEST(ItemDrawing, ThePageIsTheSheetWithTheItemsOverIt) {
    TPageEditor e = A4Editor();
    AddEveryKind(e);
    TRecordingCanvas sheetOnly, page;
    PaintSheet(sheetOnly, e);
    PaintPage(page, e);
    ASSERT_GT(page.Calls.size(), sheetOnly.Calls.size());
    const std::vector<std::string> all = page.Log();
    EXPECT_EQ(std::vector<std::string>(all.begin(), all.begin() + sheetOnly.Calls.size()), sheetOnly.Log());
}
