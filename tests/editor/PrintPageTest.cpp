#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "document/ItemLists.h"
#include "document/PageSettings.h"
#include "editor/PrintPage.h"
#include "platform/Printer.h"
#include "platform/RecordingCanvas.h"

using ::testing::ElementsAre;

namespace {

// A printer whose job draws on a recording canvas.
class RecordingPrinter : public TPrinter {
public:
    TRecordingCanvas Canvas;
    int Begun = 0, Ended = 0, Aborted = 0;
    bool DefaultEntry(TPrinterEntry& e) override {
        e = {"Recorder", "test", "none"};
        return true;
    }
    TPrinterDeviceCaps DeviceCaps() override { return {}; }
    TPrinterOrientation Orientation() override { return TPrinterOrientation::poPortrait; }
    TCanvas& BeginDoc() override {
        ++Begun;
        return Canvas;
    }
    void EndDoc() override { ++Ended; }
    void Abort() override { ++Aborted; }
    std::unique_ptr<TCanvas> CreateMeasureCanvas() override {
        return std::make_unique<TRecordingCanvas>();
    }
};

// 4 device pixels per mm; the printable area starts 8 px right and 12 px down of the
// sheet's corner. The recording canvas makes each character half the font height wide.
TPrinterMetrics Metrics() {
    TPrinterMetrics m;
    m.MmPerPixelX = 0.25f;
    m.MmPerPixelY = 0.25f;
    m.OffsetXPx = 8;
    m.OffsetYPx = 12;
    return m;
}

TNyomtatoKeret& AddFrame(TPageItems& items, TRect r, std::string title, int32_t alignment) {
    auto frame = std::make_unique<TNyomtatoKeret>();
    frame->Rect = r;
    frame->Title = std::move(title);
    frame->TitleAlignment = alignment;
    frame->TitleFont.Height = 5; // mm: 20 device pixels, characters 10 wide
    TNyomtatoKeret& ref = *frame;
    items.Frames.Add(std::move(frame));
    return ref;
}

// One item of every kind, and a page border.
void SmallDocument(TPageItems& items, TPageSettings& settings) {
    settings.PageBorderVisible = true;
    settings.PageBorderRect = {5, 5, 100, 140};
    settings.PageBorderColor = clRed;

    TNyomtatoKeret& frame = AddFrame(items, {10, 10, 60, 40}, "Ab", 0);
    frame.BorderColor = clBlue;
    frame.FillColor = clYellow;
    frame.FillStyle = static_cast<uint8_t>(TBrushStyle::bsCross);
    frame.TitleFont.Color = clGreen;

    items.Rectangles.Add(
        std::make_unique<TNyomtatoNegyszog>(TNyomtatoNegyszog{{70, 10, 80, 20}, clLime}));

    auto polygon = std::make_unique<TNyomtatoPoligon>();
    polygon->AddPoint(10, 50);
    polygon->AddPoint(20, 50);
    polygon->AddPoint(15, 60);
    polygon->Color = clPurple;
    items.Polygons.Add(std::move(polygon));

    auto image = std::make_unique<TNyomtatoKep>();
    image->Rect = {30, 50, 40, 60};
    image->Picture->HasImage = true;
    image->Picture->DeviceBitmap = TPixmap{1, 1, {0xFF123456}};
    items.Images.Add(std::move(image));
    auto blank = std::make_unique<TNyomtatoKep>(); // a picture that failed to load
    blank->Picture->HasImage = false;
    items.Images.Add(std::move(blank));

    for (bool fill : {true, false}) {
        auto caption = std::make_unique<TNyomtatoSzoveg>();
        caption->Text = fill ? "Hi" : "Lo";
        caption->Rect = {10, fill ? 70 : 75, 20, 80};
        caption->Font.Height = -16;
        caption->Font.Color = clMaroon;
        caption->FillBackground = fill;
        items.Captions.Add(std::move(caption));
    }

    auto text = std::make_unique<TNyomtatoSorok>();
    text->Text = "a\r\nb";
    text->Rect = {10, 80, 30, 90};
    text->Font.Height = -12;
    text->FillBackground = true;
    items.Texts.Add(std::move(text));

    auto line = std::make_unique<TNyomtatoVonal>();
    line->AddPoint(0, 0);
    line->AddPoint(50, 0);
    line->Color = clNavy;
    line->Width = 3;
    line->PenStyle = static_cast<uint8_t>(TPenStyle::psDash);
    items.Lines.Add(std::move(line));
}

} // namespace

TEST(MmToPrinter, SubtractsTheOffsetAndTruncatesTowardZero) {
    TPrinterMetrics m = Metrics();
    EXPECT_EQ(MmToPrinterX(m, 10), 32);
    EXPECT_EQ(MmToPrinterY(m, 10), 28);
    EXPECT_EQ(MmToPrinterX(m, 1), -4);
    m.MmPerPixelX = 0.3f;
    m.OffsetXPx = 0;
    EXPECT_EQ(MmToPrinterX(m, 1), 3);   // 3.33
    EXPECT_EQ(MmToPrinterX(m, -1), -3); // -3.33
    // No geometry, or absurd positions, give no overflow.
    EXPECT_EQ(MmToPrinterX(TPrinterMetrics{}, 50), 0);
    EXPECT_EQ(MmToPrinterX(m, 2147483647.0), 1 << 28);
    EXPECT_EQ(MmToPrinterX(m, -2147483647.0), -(1 << 28));
}

TEST(PrintPage, DrawsEveryKindInOrderInPrinterPixels) {
    TPageItems items;
    TPageSettings settings;
    SmallDocument(items, settings);
    RecordingPrinter printer;
    PrintPage(printer, items, settings, Metrics());
    EXPECT_EQ(printer.Begun, 1);
    EXPECT_EQ(printer.Ended, 1);
    EXPECT_THAT(printer.Canvas.Log(),
                ElementsAre("Rectangle(12,8,392,548)",   // page border
                            "Rectangle(32,28,233,149)",  // frame, right/bottom + 1
                            "Rectangle(233,36,242,158)", // shadow right, 2 mm = 8 px
                            "Rectangle(40,149,242,158)", // shadow bottom
                            "TextOut(40,18,\"Ab\")",     // title 2 mm in, centred on the top
                            "Rectangle(272,28,312,68)",  // rectangle, no + 1
                            "Polygon(32,188,72,188,52,228)",
                            "StretchDraw(112,188,41,41)", // the blank picture is skipped
                            "TextOut(32,268,\"Hi\")", "TextOut(32,288,\"Lo\")",
                            "DrawText(32,308,32,308,256,\"a\r\nb\")", "Polyline(-8,-12,192,-12)"));

    const auto& c = printer.Canvas.Calls;
    EXPECT_EQ(c[0].Brush.Style, TBrushStyle::bsClear);
    EXPECT_EQ(c[0].Pen.Color, clRed);
    EXPECT_EQ(c[1].Pen, (TPen{clBlue, 1, TPenStyle::psSolid}));
    EXPECT_EQ(c[1].Brush, (TBrush{clYellow, TBrushStyle::bsCross}));
    for (int i : {2, 3}) {
        EXPECT_EQ(c[i].Pen.Color, clSilver);
        EXPECT_EQ(c[i].Brush, (TBrush{clSilver, TBrushStyle::bsSolid}));
    }
    EXPECT_EQ(c[4].Font.Height, 20);
    EXPECT_EQ(c[4].Font.Color, clGreen);
    EXPECT_EQ(c[4].BkMode, TBkMode::Opaque);
    EXPECT_EQ(c[4].BkColor, clWhite);
    EXPECT_EQ(c[5].Brush, (TBrush{clLime, TBrushStyle::bsSolid}));
    EXPECT_EQ(c[6].Pen, (TPen{clPurple, 1, TPenStyle::psSolid}));
    // Captions: the item's own font (device pixels); white behind only with FillBackground.
    EXPECT_EQ(c[8].Font.Height, -16);
    EXPECT_EQ(c[8].Font.Color, clMaroon);
    EXPECT_EQ(c[8].BkMode, TBkMode::Opaque);
    EXPECT_EQ(c[8].BkColor, clWhite);
    EXPECT_EQ(c[9].BkMode, TBkMode::Transparent);
    EXPECT_EQ(c[10].BkMode, TBkMode::Opaque);
    // A 3-pixel line is 3 printer pixels wide, not scaled to mm.
    EXPECT_EQ(c[11].Pen, (TPen{clNavy, 3, TPenStyle::psDash}));
    EXPECT_EQ(c[11].BkMode, TBkMode::Opaque);
}

TEST(PrintPage, TitlesAlignLeftCentreAndRightInsideTheFrame) {
    TPageItems items;
    TPageSettings settings;
    for (int32_t alignment : {0, 1, 2, 7}) {
        AddFrame(items, {10, 10, 60, 40}, "Ab", alignment).Shadow = false;
    }
    // A title wider than its frame is centred with the half rounded toward zero.
    AddFrame(items, {10, 10, 60, 40}, std::string(25, 'W'), 1).Shadow = false;
    AddFrame(items, {10, 10, 60, 40}, "", 0).Shadow = false; // nothing to draw
    RecordingPrinter printer;
    PrintPage(printer, items, settings, Metrics());
    std::vector<int32_t> xs;
    for (const auto& call : printer.Canvas.CallsOf("TextOut")) xs.push_back(call.Args[0]);
    // Frame 32..232 px, margin 8 px, title 20 px wide; 250 px for the wide one.
    EXPECT_THAT(xs, ElementsAre(40, 122, 204, 40, 7));
    EXPECT_EQ(printer.Canvas.CallsOf("Rectangle").size(), 6u);
}

TEST(PrintPage, HiddenPageBorderAndEmptyPointListsDrawNothing) {
    TPageItems items;
    TPageSettings settings;
    settings.PageBorderRect = {5, 5, 100, 140};
    items.Lines.Add(std::make_unique<TNyomtatoVonal>());
    items.Polygons.Add(std::make_unique<TNyomtatoPoligon>());
    RecordingPrinter printer;
    PrintPage(printer, items, settings, Metrics());
    EXPECT_TRUE(printer.Canvas.Calls.empty());
    EXPECT_EQ(printer.Ended, 1);
}

namespace {

class FailingCanvas : public TRecordingCanvas {
public:
    void Polyline(std::span<const TPoint>) override { throw std::runtime_error("device lost"); }
};

class FailingPrinter : public RecordingPrinter {
public:
    FailingCanvas Failing;
    TCanvas& BeginDoc() override {
        ++Begun;
        return Failing;
    }
};

class CancelledPrinter : public RecordingPrinter {
public:
    TCanvas& BeginDoc() override { throw EPrintCancelled("cancelled"); }
};

} // namespace

TEST(PrintDocument, FailuresBecomeMessagesAndAFailedJobIsAborted) {
    TPageItems items;
    TPageSettings settings;
    SmallDocument(items, settings);

    RecordingPrinter ok;
    EXPECT_TRUE(PrintDocument(ok, items, settings, Metrics()).Ok());
    EXPECT_EQ(ok.Ended, 1);

    // No geometry: refused before a job starts.
    RecordingPrinter unused;
    EXPECT_THROW(PrintPage(unused, items, settings, TPrinterMetrics{}), EPrinter);
    EXPECT_EQ(unused.Begun, 0);
    EXPECT_TRUE(PrintDocument(unused, items, settings, TPrinterMetrics{}).Failed());

    TNoPrinter none;
    EXPECT_EQ(PrintDocument(none, items, settings, Metrics()).Message(),
              "There is no default printer.");

    CancelledPrinter cancelled;
    EXPECT_TRUE(PrintDocument(cancelled, items, settings, Metrics()).Ok());

    FailingPrinter failing;
    const std::string message = PrintDocument(failing, items, settings, Metrics()).Message();
    EXPECT_NE(message.find("device lost"), std::string::npos);
    EXPECT_EQ(failing.Aborted, 1);
    EXPECT_EQ(failing.Ended, 0);
}
