// The drawing surface the editor, the navigator and printing are written against: a
// device-context style canvas with a current pen, brush, font and background mode, in pixels
// of the target device. Implemented over QPainter (screen, printer, images) and by a recording
// canvas for tests.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/Rect.h"
#include "platform/Styles.h"

struct TPixmap;

// DrawText flags (the subset the program uses; text is always left/top aligned).
inline constexpr unsigned DT_LEFT = 0x0000;
inline constexpr unsigned DT_TOP = 0x0000;
inline constexpr unsigned DT_NOCLIP = 0x0100;
inline constexpr unsigned DT_CALCRECT = 0x0400;

class TCanvas {
public:
    virtual ~TCanvas() = default;

    // Drawing state, read by every operation at the time it runs.
    TPen Pen;
    TBrush Brush;
    TFont Font; // Height in pixels of this device; text is drawn in Font.Color
    TBkMode BkMode = TBkMode::Opaque;
    TColor BkColor = clWhite; // text cell background in opaque mode, hatch background

    // Outline with the pen and fill with the brush; Right and Bottom are exclusive.
    virtual void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    // Closed outline filled with the brush (alternate fill rule).
    virtual void Polygon(std::span<const TPoint> points) = 0;
    // Open polyline with the pen.
    virtual void Polyline(std::span<const TPoint> points) = 0;
    // One line of code page 1250 text with its top-left corner at (x, y).
    virtual void TextOut(int32_t x, int32_t y, std::string_view text) = 0;
    // Several lines separated by CR LF, left/top aligned in r. With DT_CALCRECT nothing is
    // drawn and r's Right/Bottom receive the extent. Returns the height of the text.
    virtual int32_t DrawText(std::string_view text, TRect& r, unsigned flags) = 0;
    // Width and height of one line of text in the current font.
    virtual TSize TextExtent(std::string_view text) = 0;
    // Restricts drawing to r; nullptr removes the restriction.
    virtual void SetClipRect(const TRect* r) = 0;
    // Stretches the picture to x, y, w, h (copying its pixels, like SRCCOPY).
    virtual void StretchDraw(int32_t x, int32_t y, int32_t w, int32_t h,
                             const TPixmap& picture) = 0;
};
