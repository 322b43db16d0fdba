// A canvas that draws nothing and logs every call with the drawing state it used, so tests
// can check what the editor and printing draw, in order and in device coordinates.
#pragma once

#include <string>
#include <vector>

#include "platform/Canvas.h"

struct TCanvasCall {
    std::string Op;            // "Rectangle", "Polygon", "Polyline", "TextOut", "DrawText",
                               // "ClipRect", "NoClip", "StretchDraw"
    std::vector<int32_t> Args; // coordinates (points flattened as x, y, ...)
    std::string Text;          // text of TextOut / DrawText
    TPen Pen;
    TBrush Brush;
    TFont Font;
    TBkMode BkMode = TBkMode::Opaque;
    TColor BkColor = clWhite;

    // A short description such as "Rectangle(0,0,10,10)".
    std::string Describe() const;
};

class TRecordingCanvas : public TCanvas {
public:
    std::vector<TCanvasCall> Calls;

    // Text metrics of this pretend device: each character is CharWidth(height) wide and a
    // line is |Font.Height| high (negative or positive alike), at least 1.
    static int32_t CharWidth(int32_t fontHeight);
    static int32_t LineHeight(int32_t fontHeight);

    void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    using TCanvas::Rectangle;
    void Polygon(std::span<const TPoint> points) override;
    void Polyline(std::span<const TPoint> points) override;
    void TextOut(int32_t x, int32_t y, std::string_view text) override;
    int32_t DrawText(std::string_view text, TRect& r, unsigned flags) override;
    TSize TextExtent(std::string_view text) override;
    void SetClipRect(const TRect* r) override;
    void StretchDraw(int32_t x, int32_t y, int32_t w, int32_t h, const TPixmap& picture) override;

    // The descriptions of all calls, one per element (handy in EXPECT_THAT).
    std::vector<std::string> Log() const;
    // Only the calls with the given operation name.
    std::vector<TCanvasCall> CallsOf(std::string_view op) const;

private:
    TCanvasCall& Record(std::string op);
};
