#include "platform/qt/QtCanvas.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QVector>
#include <string>
#include <unordered_map>

#include "platform/Pixmap.h"
#include "platform/qt/QtFont.h"
#include "platform/qt/QtText.h"
#include "platform/TextLines.h"

namespace {

QColor ToQColor(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

// The dash patterns of the classic styled pens, in pixels for a one-pixel pen (Qt counts
// them in pen widths, so wider pens get proportionally longer dashes).
QVector<qreal> DashPattern(TPenStyle style) {
    switch (style) {
    case TPenStyle::psDash: return {18, 6};
    case TPenStyle::psDot: return {3, 3};
    case TPenStyle::psDashDot: return {9, 6, 3, 6};
    case TPenStyle::psDashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

Qt::BrushStyle HatchOf(TBrushStyle style) {
    switch (style) {
    case TBrushStyle::bsHorizontal: return Qt::HorPattern;
    case TBrushStyle::bsVertical: return Qt::VerPattern;
    // Both draw bsFDiagonal down from left to right and bsBDiagonal up.
    case TBrushStyle::bsFDiagonal: return Qt::FDiagPattern;
    case TBrushStyle::bsBDiagonal: return Qt::BDiagPattern;
    case TBrushStyle::bsCross: return Qt::CrossPattern;
    case TBrushStyle::bsDiagCross: return Qt::DiagCrossPattern;
    case TBrushStyle::bsClear: return Qt::NoBrush;
    default: return Qt::SolidPattern; // bsSolid and codes no brush has
    }
}

QPolygon ToQPolygon(std::span<const TPoint> points) {
    QPolygon poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    for (const TPoint& p : points) poly.append(QPoint(p.X, p.Y));
    return poly;
}

// What a paint needs from a font, kept from paint to paint by face, size and device
// resolution: a page picture repaints the same few faces at the same few sizes, and making
// the Qt font, measuring it and converting each text cost more than drawing a short caption.
// Devices of one kind, resolution and pixel ratio measure alike.
struct TFontKey {
    std::string Name;
    int32_t Height;
    TFontPitch Pitch;
    uint8_t Style;
    int DeviceType, DpiX, DpiY;
    qreal PixelRatio;
    friend auto operator<=>(const TFontKey&, const TFontKey&) = default;
};

// Sizes come from zooming and from documents; a damaged one may bring any number of them,
// and any number of texts, so both stores start afresh when full.
constexpr size_t kKeptFonts = 256;
constexpr size_t kKeptTexts = 256;

} // namespace

struct TQtCanvas::TKeptFont {
    struct TText {
        QString Text;
        int32_t Width = -1; // not measured yet
    };

    TKeptFont(const TFont& font, QPaintDevice& device) : Font(ToQFont(font)) {
        const QFontMetrics fm(Font, &device);
        Ascent = fm.ascent();
        Descent = fm.descent();
    }

    // The code page 1250 text as Qt's, converted once.
    TText& Text(std::string_view text) {
        thread_local std::string key;
        key.assign(text);
        if (const auto found = Texts.find(key); found != Texts.end()) return found->second;
        if (Texts.size() >= kKeptTexts) Texts.clear();
        return Texts.emplace(key, TText{FromCp1250(text)}).first->second;
    }
    // The width on any device of the resolution the font was kept for.
    int32_t Width(TText& text, QPaintDevice& device) {
        if (text.Width < 0) text.Width = QFontMetrics(Font, &device).horizontalAdvance(text.Text);
        return text.Width;
    }
    int32_t Width(std::string_view text, QPaintDevice& device) {
        return text.empty() ? 0 : Width(Text(text), device);
    }

    QFont Font;
    int32_t Ascent = 0;
    int32_t Descent = 0;
    std::unordered_map<std::string, TText> Texts;
};

TQtCanvas::TQtCanvas(QPainter& painter) : Painter(&painter), Device(painter.device()) {
    Painter->setRenderHint(QPainter::Antialiasing, false);
    Painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    // PDF output would otherwise store pictures as JPEG, blurring their colours again (a
    // picture that came from JPEG may be, see StretchDraw).
    Painter->setRenderHint(QPainter::LosslessImageRendering, true);
}

TQtCanvas::TQtCanvas(QPaintDevice& measureDevice) : Device(&measureDevice) {}

TQtCanvas::TKeptFont& TQtCanvas::CurrentFont() {
    // The colour is not part of the Qt font; text is drawn with a pen of its own.
    if (Cached && CachedFor.Height == Font.Height && CachedFor.Style == Font.Style &&
        CachedFor.Pitch == Font.Pitch && CachedFor.Name == Font.Name) {
        return *Cached;
    }
    thread_local std::map<TFontKey, std::shared_ptr<TKeptFont>> kept;
    TFontKey key{Font.Name,
                 Font.Height,
                 Font.Pitch,
                 Font.Style,
                 Device->devType(),
                 Device->logicalDpiX(),
                 Device->logicalDpiY(),
                 Device->devicePixelRatioF()};
    auto found = kept.find(key);
    if (found == kept.end()) {
        if (kept.size() >= kKeptFonts) kept.clear(); // a canvas keeps its own font alive
        found = kept.emplace(std::move(key), std::make_shared<TKeptFont>(Font, *Device)).first;
    }
    Cached = found->second;
    CachedFor = Font;
    return *Cached;
}

int32_t TQtCanvas::MinLineWidth() const {
    // On a painter that scales down (a sheet pictured below the printer's resolution), a
    // line stays at least one pixel of the picture wide, as a printer prints at least a dot.
    const double scale = std::abs(Painter->combinedTransform().m11());
    return scale > 0 && scale < 1 ? static_cast<int32_t>(std::ceil(1 / scale)) : 1;
}

void TQtCanvas::ApplyPen() {
    if (Pen.Style == TPenStyle::psClear) {
        Painter->setPen(Qt::NoPen);
        return;
    }
    const int32_t width = std::clamp<int32_t>(Pen.Width, 1, kMaxPenWidth);
    const int32_t drawn = std::max(width, MinLineWidth());
    QPen pen(ToQColor(Pen.Color));
    pen.setWidth(drawn);
    pen.setJoinStyle(Qt::RoundJoin);
    QVector<qreal> dashes = DashPattern(Pen.Style);
    if (dashes.isEmpty()) {
        pen.setCapStyle(Qt::RoundCap);
    } else {
        // Dashes keep their length in device pixels of the pen's own width.
        for (qreal& d : dashes) d = d * width / drawn;
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern(dashes);
    }
    Painter->setPen(pen);
    // Gaps between dashes show the background colour in opaque mode.
    Painter->setBackgroundMode(BkMode == TBkMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    Painter->setBackground(ToQColor(BkColor));
}

void TQtCanvas::ApplyBrush() {
    const Qt::BrushStyle style = HatchOf(Brush.Style);
    Painter->setBrush(style == Qt::NoBrush ? QBrush() : QBrush(ToQColor(Brush.Color), style));
    // Hatch lines are drawn over the background colour in opaque mode.
    Painter->setBackgroundMode(BkMode == TBkMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    Painter->setBackground(ToQColor(BkColor));
}

void TQtCanvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!Painter) return;
    // Far-off coordinates (damaged documents) are pulled in so sizes cannot overflow.
    constexpr int32_t kLimit = 1 << 29;
    left = std::clamp(left, -kLimit, kLimit);
    top = std::clamp(top, -kLimit, kLimit);
    right = std::clamp(right, -kLimit, kLimit);
    bottom = std::clamp(bottom, -kLimit, kLimit);
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    const int32_t w = right - left;
    const int32_t h = bottom - top;
    if (w <= 0 || h <= 0) return;
    const QRect area(left, top, w, h);

    // Interior: the brush over left..right-1, top..bottom-1.
    if (Brush.Style != TBrushStyle::bsClear) {
        Painter->setPen(Qt::NoPen);
        ApplyBrush();
        Painter->drawRect(area);
    }
    if (Pen.Style == TPenStyle::psClear) return;

    // Outline inside the same area, the pen's width thick.
    const int32_t pw = std::max(std::clamp<int32_t>(Pen.Width, 1, kMaxPenWidth), MinLineWidth());
    const QColor c = ToQColor(Pen.Color);
    if (2 * pw >= w || 2 * pw >= h) {
        // The outline fills the whole rectangle.
        Painter->fillRect(area, c);
        return;
    }
    if (DashPattern(Pen.Style).isEmpty()) {
        Painter->fillRect(QRect(left, top, w, pw), c);
        Painter->fillRect(QRect(left, bottom - pw, w, pw), c);
        Painter->fillRect(QRect(left, top + pw, pw, h - 2 * pw), c);
        Painter->fillRect(QRect(right - pw, top + pw, pw, h - 2 * pw), c);
        return;
    }
    ApplyPen();
    Painter->setBrush(Qt::NoBrush);
    const qreal inset = (pw - 1) / 2.0;
    Painter->drawRect(QRectF(left + inset, top + inset, w - pw, h - pw));
}

void TQtCanvas::Polygon(std::span<const TPoint> points) {
    if (!Painter || points.empty()) return;
    ApplyBrush();
    ApplyPen();
    Painter->drawPolygon(ToQPolygon(points), Qt::OddEvenFill);
}

void TQtCanvas::Polyline(std::span<const TPoint> points) {
    if (!Painter || points.empty()) return;
    ApplyPen();
    Painter->setBrush(Qt::NoBrush);
    if (points.size() == 1) {
        Painter->drawPoint(points[0].X, points[0].Y);
        return;
    }
    Painter->drawPolyline(ToQPolygon(points));
}

void TQtCanvas::DrawLine(int32_t x, int32_t y, std::string_view line) {
    if (line.empty()) return;
    TKeptFont& font = CurrentFont();
    TKeptFont::TText& text = font.Text(line);
    if (BkMode == TBkMode::Opaque) {
        Painter->fillRect(QRect(x, y, font.Width(text, *Device), font.Ascent + font.Descent),
                          ToQColor(BkColor));
    }
    Painter->setFont(font.Font);
    Painter->setPen(ToQColor(Font.Color));
    Painter->setBackgroundMode(Qt::TransparentMode);
    Painter->drawText(QPoint(x, y + font.Ascent), text.Text);
}

void TQtCanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
    if (!Painter) return;
    DrawLine(x, y, text);
}

int32_t TQtCanvas::DrawText(std::string_view text, TRect& r, unsigned flags) {
    TKeptFont& font = CurrentFont();
    const int32_t lineHeight = font.Ascent + font.Descent;
    const auto lines = SplitTextLines(text);
    const int32_t height = static_cast<int32_t>(lines.size()) * lineHeight;
    if (flags & DT_CALCRECT) {
        int32_t width = 0;
        for (auto line : lines) width = std::max(width, font.Width(line, *Device));
        r.Right = r.Left + width;
        r.Bottom = r.Top + height;
        return height;
    }
    if (!Painter) return height;
    const bool clip = !(flags & DT_NOCLIP);
    if (clip) {
        Painter->save();
        Painter->setClipRect(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top),
                             Qt::IntersectClip);
    }
    int32_t y = r.Top;
    for (auto line : lines) {
        DrawLine(r.Left, y, line);
        y += lineHeight;
    }
    if (clip) Painter->restore();
    return height;
}

TSize TQtCanvas::TextExtent(std::string_view text) {
    TKeptFont& font = CurrentFont();
    return TSize{font.Width(text, *Device), font.Ascent + font.Descent};
}

void TQtCanvas::SetClipRect(const TRect* r) {
    if (!Painter) return;
    if (!r) {
        Painter->setClipping(false);
        return;
    }
    Painter->setClipRect(QRect(r->Left, r->Top, r->Right - r->Left, r->Bottom - r->Top));
}

void TQtCanvas::StretchDraw(int32_t x, int32_t y, int32_t w, int32_t h, const TPixmap& picture) {
    if (!Painter || w <= 0 || h <= 0 || picture.Empty()) return;
    if (picture.Pixels.size() < static_cast<size_t>(picture.Width) * picture.Height) return;
    // Wraps the pixel memory without copying; the image lives only for this call.
    const QImage image(reinterpret_cast<const uchar*>(picture.Pixels.data()), picture.Width,
                       picture.Height, static_cast<qsizetype>(picture.Width) * 4,
                       QImage::Format_RGB32);
    // A photo from JPEG goes into a PDF as JPEG: a few megabytes and quick, where compressing
    // its pixels losslessly takes most of the printing time.
    const bool lossless = Painter->testRenderHint(QPainter::LosslessImageRendering);
    if (picture.MayStoreLossy) Painter->setRenderHint(QPainter::LosslessImageRendering, false);
    Painter->drawImage(QRect(x, y, w, h), image);
    Painter->setRenderHint(QPainter::LosslessImageRendering, lossless);
}
