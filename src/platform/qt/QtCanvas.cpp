#include "platform/qt/QtCanvas.h"

#include <algorithm>
#include <cmath>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QVector>

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

} // namespace

TQtCanvas::TQtCanvas(QPainter& painter) : Painter(&painter), Device(painter.device()) {
    Painter->setRenderHint(QPainter::Antialiasing, false);
    Painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    // PDF output would otherwise store pictures as JPEG, blurring their colours again.
    Painter->setRenderHint(QPainter::LosslessImageRendering, true);
}

TQtCanvas::TQtCanvas(QPaintDevice& measureDevice) : Device(&measureDevice) {}

const QFont& TQtCanvas::CurrentFont() {
    if (!HaveCached || !(CachedFor == Font)) {
        Cached = ToQFont(Font);
        CachedFor = Font;
        HaveCached = true;
    }
    return Cached;
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

void TQtCanvas::DrawLine(int32_t x, int32_t y, const QString& line) {
    if (line.isEmpty()) return;
    const QFont& font = CurrentFont();
    const QFontMetrics fm(font, Device);
    if (BkMode == TBkMode::Opaque) {
        Painter->fillRect(QRect(x, y, fm.horizontalAdvance(line), fm.ascent() + fm.descent()),
                          ToQColor(BkColor));
    }
    Painter->setFont(font);
    Painter->setPen(ToQColor(Font.Color));
    Painter->setBackgroundMode(Qt::TransparentMode);
    Painter->drawText(QPoint(x, y + fm.ascent()), line);
}

void TQtCanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
    if (!Painter) return;
    DrawLine(x, y, FromCp1250(text));
}

int32_t TQtCanvas::DrawText(std::string_view text, TRect& r, unsigned flags) {
    const QFontMetrics fm(CurrentFont(), Device);
    const int32_t lineHeight = fm.ascent() + fm.descent();
    const auto lines = SplitTextLines(text);
    const int32_t height = static_cast<int32_t>(lines.size()) * lineHeight;
    if (flags & DT_CALCRECT) {
        int32_t width = 0;
        for (auto line : lines) width = std::max(width, fm.horizontalAdvance(FromCp1250(line)));
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
        DrawLine(r.Left, y, FromCp1250(line));
        y += lineHeight;
    }
    if (clip) Painter->restore();
    return height;
}

TSize TQtCanvas::TextExtent(std::string_view text) {
    const QFontMetrics fm(CurrentFont(), Device);
    return TSize{fm.horizontalAdvance(FromCp1250(text)), fm.ascent() + fm.descent()};
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
    Painter->drawImage(QRect(x, y, w, h), image);
}
