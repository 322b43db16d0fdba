// Repainting the page picture (360 x 312) through the editor's drawing and the Qt canvas:
// - outline repaint of 10,000 mixed items, as on every mouse move of a drag, against a bare
//   QPainter loop that draws the same primitives (recorded once) on the same image;
// - full repaint of a page holding a 12-megapixel picture against the same page holding a
//   0.1-megapixel one, and, for the record, the 12-megapixel picture stretched by Qt on
//   every paint without the kept scaled copy.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <random>
#include <variant>
#include <vector>

#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "platform/qt/QtCanvas.h"
#include "platform/RecordingCanvas.h"
#include "support/TestPrinters.h"

namespace {

constexpr int kItems = 10000;

std::unique_ptr<TPageEditor> A4Editor() {
    auto e = std::make_unique<TPageEditor>();
    TA4Printer a4;
    e->ResetPage(a4);
    return e;
}

// 10,000 items spread over the A4 sheet: a seventh of each kind.
std::unique_ptr<TPageEditor> CrowdedPage() {
    auto e = A4Editor();
    std::mt19937 random(7);
    auto mm = [&](int from, int to) {
        return std::uniform_int_distribution<int>(from, to)(random);
    };
    auto box = [&] {
        const int x = mm(5, 180), y = mm(5, 260);
        return TRect{x, y, x + mm(3, 25), y + mm(3, 25)};
    };
    for (int i = 0; i < kItems; ++i) {
        switch (i % 7) {
        case 0: {
            auto f = std::make_unique<TNyomtatoKeret>();
            f->Rect = box();
            f->Title = "Keret";
            e->Items.Frames.Add(std::move(f));
            break;
        }
        case 1: {
            auto r = std::make_unique<TNyomtatoNegyszog>();
            r->Rect = box();
            r->Color = static_cast<TColor>(random() & 0xFFFFFF);
            e->Items.Rectangles.Add(std::move(r));
            break;
        }
        case 2: {
            auto p = std::make_unique<TNyomtatoPoligon>();
            const TRect b = box();
            p->AddPoint(b.Left, b.Top);
            p->AddPoint(b.Right, b.Top + 2);
            p->AddPoint(b.Right - 1, b.Bottom);
            p->AddPoint(b.Left + 2, b.Bottom - 1);
            e->Items.Polygons.Add(std::move(p));
            break;
        }
        case 3: {
            auto k = std::make_unique<TNyomtatoKep>();
            k->Rect = box();
            k->Picture->DeviceBitmap =
                TPixmap{2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000}};
            e->Items.Images.Add(std::move(k));
            break;
        }
        case 4: {
            auto c = std::make_unique<TNyomtatoSzoveg>();
            c->Rect = box();
            c->Text = "Felirat";
            e->Items.Captions.Add(std::move(c));
            break;
        }
        case 5: {
            auto t = std::make_unique<TNyomtatoSorok>();
            t->Rect = box();
            t->Text = "one\r\ntwo";
            t->LineCount = 2;
            e->Items.Texts.Add(std::move(t));
            break;
        }
        default: {
            auto l = std::make_unique<TNyomtatoVonal>();
            const TRect b = box();
            l->AddPoint(b.Left, b.Top);
            l->AddPoint(b.Right, b.Bottom);
            l->AddPoint(b.Right, b.Top);
            l->Color = clBlue;
            l->Width = 1 + (i % 3);
            e->Items.Lines.Add(std::move(l));
        }
        }
    }
    e->Mode = mdDragCaption; // outlines, as during a drag
    return e;
}

void OutlineRepaint(benchmark::State& state) {
    const auto e = CrowdedPage();
    QImage image(e->PictureWidth, e->PictureHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        PaintPage(canvas, *e);
    }
    benchmark::DoNotOptimize(image.constBits());
}

// The same primitives as plain QPainter calls, converted once from a recording.
struct TRectOp {
    QRect Area;
    QPen Pen;
    QBrush Brush;
};
struct TPolyOp {
    QPolygon Points;
    QPen Pen;
    QBrush Brush;
    bool Closed;
};
using TOp = std::variant<TRectOp, TPolyOp>;

QColor ToQColor(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

std::vector<TOp> RecordedOps(const TPageEditor& e) {
    TRecordingCanvas recording;
    PaintPage(recording, e);
    std::vector<TOp> ops;
    for (const TCanvasCall& call : recording.Calls) {
        // Pens end and join round, as the canvas's do (the classic geometric pens).
        QPen pen(QBrush(ToQColor(call.Pen.Color)), call.Pen.Width, Qt::SolidLine, Qt::RoundCap,
                 Qt::RoundJoin);
        if (call.Pen.Style == TPenStyle::psDot) pen.setStyle(Qt::DotLine);
        const QBrush brush = call.Brush.Style == TBrushStyle::bsClear
                                 ? QBrush()
                                 : QBrush(ToQColor(call.Brush.Color));
        if (call.Op == "Rectangle") {
            const auto& a = call.Args;
            // QPainter's outline covers one more pixel right and below.
            ops.push_back(TRectOp{QRect(a[0], a[1], a[2] - a[0] - 1, a[3] - a[1] - 1), pen, brush});
        } else if (call.Op == "Polygon" || call.Op == "Polyline") {
            QPolygon points;
            for (size_t i = 0; i + 1 < call.Args.size(); i += 2)
                points << QPoint(call.Args[i], call.Args[i + 1]);
            ops.push_back(TPolyOp{points, pen, brush, call.Op == "Polygon"});
        }
    }
    return ops;
}

// Kept out of line so that profilers can tell the loop from the set-up.
[[gnu::noinline]] void DrawOps(QPainter& painter, const std::vector<TOp>& ops) {
    for (const TOp& op : ops) {
        if (const auto* r = std::get_if<TRectOp>(&op)) {
            painter.setPen(r->Pen);
            painter.setBrush(r->Brush);
            painter.drawRect(r->Area);
        } else {
            const auto& p = std::get<TPolyOp>(op);
            painter.setPen(p.Pen);
            if (p.Closed) {
                painter.setBrush(p.Brush);
                painter.drawPolygon(p.Points);
            } else {
                painter.drawPolyline(p.Points);
            }
        }
    }
}

void BareQPainterLoop(benchmark::State& state) {
    const auto e = CrowdedPage();
    const std::vector<TOp> ops = RecordedOps(*e);
    QImage image(e->PictureWidth, e->PictureHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        DrawOps(painter, ops);
    }
    benchmark::DoNotOptimize(image.constBits());
}

// A page with a frame, a few captions and texts, and one picture of the given size.
std::unique_ptr<TPageEditor> PictureTextPage(int width, int height) {
    auto e = A4Editor();
    auto f = std::make_unique<TNyomtatoKeret>();
    f->Rect = {10, 10, 200, 150};
    f->Title = "Keret";
    e->Items.Frames.Add(std::move(f));
    for (int i = 0; i < 5; ++i) {
        auto c = std::make_unique<TNyomtatoSzoveg>();
        c->Rect = {20, 170 + 12 * i, 80, 178 + 12 * i};
        c->Text = "Felirat";
        e->Items.Captions.Add(std::move(c));
    }
    auto k = std::make_unique<TNyomtatoKep>();
    k->Rect = {20, 20, 190, 140};
    TPixmap& p = k->Picture->DeviceBitmap;
    p.Width = width;
    p.Height = height;
    p.Pixels.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < p.Pixels.size(); ++i)
        p.Pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
    e->Items.Images.Add(std::move(k));
    return e;
}

void FullRepaintWithPicture(benchmark::State& state) {
    const auto e =
        PictureTextPage(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    e->SetZoomPosition(static_cast<int>(state.range(2)));
    QImage image(e->PictureWidth, e->PictureHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        PaintPage(canvas, *e);
    }
    benchmark::DoNotOptimize(image.constBits());
}

// The picture handed whole to the canvas on every paint, which scales it each time.
void PictureStretchedByQtEachPaint(benchmark::State& state) {
    const auto e =
        PictureTextPage(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    e->SetZoomPosition(static_cast<int>(state.range(2)));
    const TNyomtatoKep& k = e->Items.Images[0];
    const TRect r = MmRectToView(*e, k.Rect);
    QImage image(e->PictureWidth, e->PictureHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        k.Picture->StretchDraw(canvas, r.Left, r.Top, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
    }
    benchmark::DoNotOptimize(image.constBits());
}

} // namespace

BENCHMARK(OutlineRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BareQPainterLoop)->Unit(benchmark::kMicrosecond);
// Width, height, zoom bar position (5 is zoom 1, 20 zoom 4).
BENCHMARK(FullRepaintWithPicture)
    ->Args({4000, 3000, 5})
    ->Args({365, 274, 5})
    ->Args({4000, 3000, 20})
    ->Args({365, 274, 20})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(PictureStretchedByQtEachPaint)
    ->Args({4000, 3000, 5})
    ->Args({365, 274, 5})
    ->Args({4000, 3000, 20})
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    // Fonts need the application object; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
