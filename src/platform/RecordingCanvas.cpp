#include "platform/RecordingCanvas.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "platform/TextLines.h"

std::string TCanvasCall::Describe() const {
    std::string s = Op + "(";
    for (size_t i = 0; i < Args.size(); ++i) {
        if (i) s += ",";
        s += std::to_string(Args[i]);
    }
    if (!Text.empty()) {
        if (!Args.empty()) s += ",";
        s += "\"" + Text + "\"";
    }
    return s + ")";
}

namespace {

// The metrics are worked out in 64 bits and held to the int32 range where they are handed back,
// so that any font height and text length (the fuzzer tries them all) gives a defined result.
int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

int64_t CharWidth64(int32_t fontHeight) {
    return std::max<int64_t>(1, std::abs(int64_t{fontHeight}) / 2);
}
int64_t LineHeight64(int32_t fontHeight) {
    return std::max<int64_t>(1, std::abs(int64_t{fontHeight}));
}

} // namespace

int32_t TRecordingCanvas::CharWidth(int32_t fontHeight) {
    return Saturate(CharWidth64(fontHeight));
}

int32_t TRecordingCanvas::LineHeight(int32_t fontHeight) {
    return Saturate(LineHeight64(fontHeight));
}

TCanvasCall& TRecordingCanvas::Record(std::string op) {
    TCanvasCall& c = Calls.emplace_back();
    c.Op = std::move(op);
    c.Pen = Pen;
    c.Brush = Brush;
    c.Font = Font;
    c.BkMode = BkMode;
    c.BkColor = BkColor;
    return c;
}

void TRecordingCanvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    Record("Rectangle").Args = {left, top, right, bottom};
}

void TRecordingCanvas::Polygon(std::span<const TPoint> points) {
    auto& c = Record("Polygon");
    for (auto p : points) c.Args.insert(c.Args.end(), {p.X, p.Y});
}

void TRecordingCanvas::Polyline(std::span<const TPoint> points) {
    auto& c = Record("Polyline");
    for (auto p : points) c.Args.insert(c.Args.end(), {p.X, p.Y});
}

void TRecordingCanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
    auto& c = Record("TextOut");
    c.Args = {x, y};
    c.Text = std::string(text);
}

int32_t TRecordingCanvas::DrawText(std::string_view text, TRect& r, unsigned flags) {
    int32_t width = 0;
    auto lines = SplitTextLines(text);
    for (auto line : lines) {
        width = std::max(width, TextExtent(line).cx);
    }
    const int32_t height = Saturate(static_cast<int64_t>(lines.size()) * LineHeight64(Font.Height));
    if (flags & DT_CALCRECT) {
        r.Right = Saturate(int64_t{r.Left} + width);
        r.Bottom = Saturate(int64_t{r.Top} + height);
        return height;
    }
    auto& c = Record("DrawText");
    c.Args = {r.Left, r.Top, r.Right, r.Bottom, static_cast<int32_t>(flags)};
    c.Text = std::string(text);
    return height;
}

TSize TRecordingCanvas::TextExtent(std::string_view text) {
    return TSize{Saturate(static_cast<int64_t>(text.size()) * CharWidth64(Font.Height)),
                 LineHeight(Font.Height)};
}

void TRecordingCanvas::SetClipRect(const TRect* r) {
    if (r) {
        Record("ClipRect").Args = {r->Left, r->Top, r->Right, r->Bottom};
    } else {
        Record("NoClip");
    }
}

void TRecordingCanvas::StretchDraw(int32_t x, int32_t y, int32_t w, int32_t h,
                                   const TPixmap& /*picture*/) {
    Record("StretchDraw").Args = {x, y, w, h};
}

std::vector<std::string> TRecordingCanvas::Log() const {
    std::vector<std::string> out;
    out.reserve(Calls.size());
    for (const auto& c : Calls) out.push_back(c.Describe());
    return out;
}

std::vector<TCanvasCall> TRecordingCanvas::CallsOf(std::string_view op) const {
    std::vector<TCanvasCall> out;
    std::copy_if(Calls.begin(), Calls.end(), std::back_inserter(out),
                 [&](const TCanvasCall& c) { return c.Op == op; });
    return out;
}
