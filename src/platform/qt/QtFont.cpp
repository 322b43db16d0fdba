#include "platform/qt/QtFont.h"

#include <algorithm>
#include <cmath>
#include <QFontMetricsF>
#include <QHash>

#include "platform/qt/QtText.h"

namespace {

constexpr int kDefaultPixelSize = 13;
// Larger heights only come from damaged documents; glyphs this big are no use to anyone.
constexpr int kMaxPixelSize = 1 << 16;

// Cell height over character height for this face (ascent + descent per pixel of size),
// measured once per face and style: the page picture asks for it at every new text size.
double CellRatio(QFont font) {
    const QString key = font.key();
    thread_local QHash<QString, double> known;
    if (const auto found = known.constFind(key); found != known.cend()) return *found;
    font.setPixelSize(100);
    const QFontMetricsF m(font);
    const double measured = (m.ascent() + m.descent()) / 100.0;
    const double ratio = measured > 0.5 ? measured : 1.0;
    if (known.size() >= 256) known.clear(); // faces of a damaged document, one by one
    known.insert(key, ratio);
    return ratio;
}

} // namespace

QFont ToQFont(const TFont& font) {
    QFont f(FromCp1250(font.Name));
    if (font.Pitch == TFontPitch::fpFixed) f.setFixedPitch(true);
    f.setStyleHint(font.Pitch == TFontPitch::fpFixed ? QFont::Monospace : QFont::AnyStyle);
    f.setBold(font.Style & fsBold);
    f.setItalic(font.Style & fsItalic);
    f.setUnderline(font.Style & fsUnderline);
    f.setStrikeOut(font.Style & fsStrikeOut);
    int pixels = kDefaultPixelSize;
    if (font.Height < 0) {
        pixels =
            static_cast<int>(std::min<int64_t>(-static_cast<int64_t>(font.Height), kMaxPixelSize));
    } else if (font.Height > 0) {
        pixels = static_cast<int>(std::lround(font.Height / CellRatio(f)));
    }
    f.setPixelSize(std::clamp(pixels, 1, kMaxPixelSize));
    return f;
}

TFont FromQFont(const QFont& font, TColor color) {
    TFont f;
    f.Name = ToCp1250(font.family());
    f.Color = color;
    int pixels = font.pixelSize();
    if (pixels <= 0) pixels = static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0));
    f.Height = -pixels;
    f.Pitch = font.fixedPitch() ? TFontPitch::fpFixed : TFontPitch::fpDefault;
    f.Style = static_cast<uint8_t>((font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) |
                                   (font.underline() ? fsUnderline : 0) |
                                   (font.strikeOut() ? fsStrikeOut : 0));
    return f;
}
