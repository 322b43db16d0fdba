// Repainting the page picture through the editor's drawing and the Qt canvas:
// - outline repaint (as on every mouse move of a drag) and full repaint of 10,000 mixed
//   items, at the smallest picture and at 1600 x 1200, each against a bare QPainter loop
//   that replays the same QPainter calls (captured once) on an image of the same size;
// - full repaint of a page holding a 12-megapixel picture against the same page holding a
//   0.1-megapixel one, and, for the record, the 12-megapixel picture stretched by Qt on
//   every paint without the kept scaled copy.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <variant>
#include <vector>

#include "CrowdedPage.h"
#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "editor/ViewZoom.h"
#include "platform/Pixmap.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtFont.h"
#include "platform/qt/QtText.h"
#include "platform/TextLines.h"
#include "support/TestPrinters.h"

namespace {

constexpr int kItems = 10000;

std::unique_ptr<TPageEditor> A4Editor() {
    auto e = std::make_unique<TPageEditor>();
    TA4Printer a4;
    e->ResetPage(a4);
    return e;
}

std::unique_ptr<TPageEditor> CrowdedPage() {
    auto e = A4Editor();
    FillCrowdedPage(*e, kItems);
    return e;
}

// The page picture laid out at the benchmark's size (zoom 1: the whole sheet).
void SizePicture(TPageEditor& e, const benchmark::State& state) {
    SetPictureSize(e, static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
}

QImage PictureImage(const TPageEditor& e) {
    return QImage(e.PictureWidth, e.PictureHeight, QImage::Format_RGB32);
}

void RepaintThroughTheCanvas(benchmark::State& state, TEditorMode mode) {
    const auto e = CrowdedPage();
    SizePicture(*e, state);
    e->Mode = mode;
    QImage image = PictureImage(*e);
    auto paint = [&] {
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        PaintPage(canvas, *e);
    };
    paint(); // a repaint: the view has been drawn before (kept picture copies, fonts)
    for (auto _ : state) paint();
    benchmark::DoNotOptimize(image.constBits());
}

// Outlines, as on every mouse move of a drag.
void OutlineRepaint(benchmark::State& state) { RepaintThroughTheCanvas(state, mdDragCaption); }
// Everything as it prints: fills, hatches, pictures, titles, captions and texts.
void FullRepaint(benchmark::State& state) { RepaintThroughTheCanvas(state, mdIdle); }

// The yardstick: the QPainter calls the Qt canvas makes for a paint, captured once as
// ready-made pens, brushes, fonts, strings and pictures, and then replayed in a plain loop.
// What the program spends above this goes to mapping, culling and state conversion.
QColor ToQColor(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

struct TFillOp { // a rectangle's interior, or a solid outline bar (no pen)
    QRect Area;
    QBrush Brush;
    bool OpaqueBackground;
    QColor Background;
};
struct TShapeOp { // polygons, polylines and dashed outlines (pen, maybe a brush)
    QPolygon Points;
    QPen Pen;
    QBrush Brush;
    bool Closed;
    bool OpaqueBackground;
    QColor Background;
};
struct TTextOp {
    QFont Font;
    QString Text;
    QPoint Baseline;
    QColor Color;
    QRect Cell; // filled with the background colour when valid
    QColor Background;
};
struct TClipOp {
    QRect Area; // none: clipping off
};
struct TImageOp {
    QRect Target;
    QImage Picture;
};
using TOp = std::variant<TFillOp, TShapeOp, TTextOp, TClipOp, TImageOp>;

class TCapturingCanvas : public TQtCanvas {
public:
    // Measures text as on the image, as the real canvas does.
    explicit TCapturingCanvas(QImage& device) : TQtCanvas(device), Device(device) {}
    std::vector<TOp> Ops;

    void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        if (right < left) std::swap(left, right);
        if (bottom < top) std::swap(top, bottom);
        const int32_t w = right - left, h = bottom - top;
        if (w <= 0 || h <= 0) return;
        const QRect area(left, top, w, h);
        if (Brush.Style != TBrushStyle::bsClear)
            Ops.push_back(TFillOp{area, QtBrush(), Opaque(), Bk()});
        if (Pen.Style == TPenStyle::psClear) return;
        const int32_t pw = std::max(Pen.Width, 1);
        const QBrush bar(ToQColor(Pen.Color));
        if (2 * pw >= w || 2 * pw >= h) {
            Ops.push_back(TFillOp{area, bar, false, Bk()});
        } else if (Pen.Style == TPenStyle::psSolid) {
            Ops.push_back(TFillOp{QRect(left, top, w, pw), bar, false, Bk()});
            Ops.push_back(TFillOp{QRect(left, bottom - pw, w, pw), bar, false, Bk()});
            Ops.push_back(TFillOp{QRect(left, top + pw, pw, h - 2 * pw), bar, false, Bk()});
            Ops.push_back(TFillOp{QRect(right - pw, top + pw, pw, h - 2 * pw), bar, false, Bk()});
        } else {
            QPolygon outline(QRect(left, top, w - 1, h - 1));
            outline << outline.first();
            Ops.push_back(TShapeOp{outline, QtPen(), QBrush(), false, Opaque(), Bk()});
        }
    }
    using TQtCanvas::Rectangle;
    void Polygon(std::span<const TPoint> points) override {
        Ops.push_back(TShapeOp{Points(points), QtPen(), QtBrush(), true, Opaque(), Bk()});
    }
    void Polyline(std::span<const TPoint> points) override {
        Ops.push_back(TShapeOp{Points(points), QtPen(), QBrush(), false, Opaque(), Bk()});
    }
    void TextOut(int32_t x, int32_t y, std::string_view text) override {
        Line(x, y, FromCp1250(text));
    }
    int32_t DrawText(std::string_view text, TRect& r, unsigned flags) override {
        if (flags & DT_CALCRECT) return TQtCanvas::DrawText(text, r, flags);
        const QFontMetrics fm(ToQFont(Font), &Device);
        int32_t y = r.Top;
        for (auto line : SplitTextLines(text)) {
            Line(r.Left, y, FromCp1250(line));
            y += fm.ascent() + fm.descent();
        }
        return y - r.Top;
    }
    void SetClipRect(const TRect* r) override {
        Ops.push_back(
            TClipOp{r ? QRect(r->Left, r->Top, r->Right - r->Left, r->Bottom - r->Top) : QRect()});
    }
    void StretchDraw(int32_t x, int32_t y, int32_t w, int32_t h, const TPixmap& p) override {
        const QImage wrapped(reinterpret_cast<const uchar*>(p.Pixels.data()), p.Width, p.Height,
                             static_cast<qsizetype>(p.Width) * 4, QImage::Format_RGB32);
        Ops.push_back(TImageOp{QRect(x, y, w, h), wrapped.copy()});
    }

private:
    bool Opaque() const { return BkMode == TBkMode::Opaque; }
    QColor Bk() const { return ToQColor(BkColor); }
    QBrush QtBrush() const {
        static constexpr Qt::BrushStyle kHatch[] = {
            Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
            Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        const auto i = static_cast<size_t>(Brush.Style);
        const Qt::BrushStyle style = i < std::size(kHatch) ? kHatch[i] : Qt::SolidPattern;
        return style == Qt::NoBrush ? QBrush() : QBrush(ToQColor(Brush.Color), style);
    }
    QPen QtPen() const {
        if (Pen.Style == TPenStyle::psClear) return QPen(Qt::NoPen);
        QPen pen(QBrush(ToQColor(Pen.Color)), std::max(Pen.Width, 1), Qt::SolidLine, Qt::RoundCap,
                 Qt::RoundJoin);
        if (Pen.Style == TPenStyle::psDot) {
            pen.setCapStyle(Qt::FlatCap);
            pen.setDashPattern({3, 3});
        }
        return pen;
    }
    static QPolygon Points(std::span<const TPoint> points) {
        QPolygon poly;
        for (const TPoint& p : points) poly << QPoint(p.X, p.Y);
        return poly;
    }
    void Line(int32_t x, int32_t y, const QString& text) {
        if (text.isEmpty()) return;
        const QFont font = ToQFont(Font);
        const QFontMetrics fm(font, &Device);
        const QRect cell =
            Opaque() ? QRect(x, y, fm.horizontalAdvance(text), fm.height()) : QRect();
        Ops.push_back(
            TTextOp{font, text, QPoint(x, y + fm.ascent()), ToQColor(Font.Color), cell, Bk()});
    }
    QImage& Device;
};

// Kept out of line so that profilers can tell the loop from the set-up.
[[gnu::noinline]] void DrawOps(QPainter& painter, const std::vector<TOp>& ops) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const TOp& op : ops) {
        if (const auto* f = std::get_if<TFillOp>(&op)) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(f->Brush);
            painter.setBackgroundMode(f->OpaqueBackground ? Qt::OpaqueMode : Qt::TransparentMode);
            painter.setBackground(f->Background);
            painter.drawRect(f->Area);
        } else if (const auto* s = std::get_if<TShapeOp>(&op)) {
            painter.setPen(s->Pen);
            painter.setBackgroundMode(s->OpaqueBackground ? Qt::OpaqueMode : Qt::TransparentMode);
            painter.setBackground(s->Background);
            if (s->Closed) {
                painter.setBrush(s->Brush);
                painter.drawPolygon(s->Points, Qt::OddEvenFill);
            } else if (s->Points.size() == 1) {
                painter.drawPoint(s->Points[0]);
            } else {
                painter.drawPolyline(s->Points);
            }
        } else if (const auto* t = std::get_if<TTextOp>(&op)) {
            if (t->Cell.isValid()) painter.fillRect(t->Cell, t->Background);
            painter.setFont(t->Font);
            painter.setPen(t->Color);
            painter.setBackgroundMode(Qt::TransparentMode);
            painter.drawText(t->Baseline, t->Text);
        } else if (const auto* c = std::get_if<TClipOp>(&op)) {
            if (c->Area.isNull()) {
                painter.setClipping(false);
            } else {
                painter.setClipRect(c->Area);
            }
        } else {
            const auto& i = std::get<TImageOp>(op);
            painter.drawImage(i.Target, i.Picture);
        }
    }
}

void BareQPainterLoop(benchmark::State& state, TEditorMode mode) {
    const auto e = CrowdedPage();
    SizePicture(*e, state);
    e->Mode = mode;
    QImage image = PictureImage(*e);
    TCapturingCanvas capture(image);
    PaintPage(capture, *e);
    state.counters["calls"] = static_cast<double>(capture.Ops.size());
    for (auto _ : state) {
        QPainter painter(&image);
        DrawOps(painter, capture.Ops);
    }
    benchmark::DoNotOptimize(image.constBits());
}

void BareOutlineLoop(benchmark::State& state) { BareQPainterLoop(state, mdDragCaption); }
void BareFullLoop(benchmark::State& state) { BareQPainterLoop(state, mdIdle); }

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

// Picture width and height.
BENCHMARK(OutlineRepaint)->Args({360, 312})->Args({1600, 1200})->Unit(benchmark::kMicrosecond);
BENCHMARK(BareOutlineLoop)->Args({360, 312})->Args({1600, 1200})->Unit(benchmark::kMicrosecond);
BENCHMARK(FullRepaint)->Args({360, 312})->Args({1600, 1200})->Unit(benchmark::kMicrosecond);
BENCHMARK(BareFullLoop)->Args({360, 312})->Args({1600, 1200})->Unit(benchmark::kMicrosecond);
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
