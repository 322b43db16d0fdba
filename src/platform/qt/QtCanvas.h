// The canvas over a QPainter: device-context drawing (pen, brush, font, background mode) in
// pixels of the painter's device, on images, widgets and printers alike. Shapes are drawn
// without antialiasing so they cover exactly the pixels the classic calls cover.
#pragma once

#include <memory>
#include <string_view>

#include "platform/Canvas.h"

class QPainter;
class QPaintDevice;

class TQtCanvas : public TCanvas {
public:
    // Draws with an active painter; the painter must outlive the canvas.
    explicit TQtCanvas(QPainter& painter);
    // Measures text as on this device but draws nothing (a measuring context).
    explicit TQtCanvas(QPaintDevice& measureDevice);

    void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    using TCanvas::Rectangle;
    void Polygon(std::span<const TPoint> points) override;
    void Polyline(std::span<const TPoint> points) override;
    void TextOut(int32_t x, int32_t y, std::string_view text) override;
    int32_t DrawText(std::string_view text, TRect& r, unsigned flags) override;
    TSize TextExtent(std::string_view text) override;
    void SetClipRect(const TRect* r) override;
    void StretchDraw(int32_t x, int32_t y, int32_t w, int32_t h, const TPixmap& picture) override;

    // The widest pen drawn; wider ones (only possible from damaged documents) are narrowed.
    static constexpr int32_t kMaxPenWidth = 4096;

private:
    // The current font as Qt's, with its metrics and the texts drawn in it (see the .cpp).
    struct TKeptFont;
    TKeptFont& CurrentFont();
    int32_t MinLineWidth() const;
    void ApplyPen();
    void ApplyBrush();
    // One line of text with its cell's top-left at (x, y), background per BkMode.
    void DrawLine(int32_t x, int32_t y, std::string_view line);

    QPainter* Painter = nullptr;
    QPaintDevice* Device = nullptr;
    TFont CachedFor;
    std::shared_ptr<TKeptFont> Cached;
};
