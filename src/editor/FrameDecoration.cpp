#include "editor/FrameDecoration.h"

#include <string_view>

#include "document/Frame.h"
#include "platform/Canvas.h"

void DrawFrameShadow(TCanvas& c, const TRect& r, int32_t sx, int32_t sy) {
    c.Pen.Color = clSilver; // width and style stay as the border drew
    c.Brush = TBrush{clSilver, TBrushStyle::bsSolid};
    c.Rectangle(r.Right + 1, r.Top + sy, r.Right + sx + 2, r.Bottom + sy + 2);
    c.Rectangle(r.Left + sx, r.Bottom + 1, r.Right + sx + 2, r.Bottom + sy + 2);
}

void DrawFrameTitle(TCanvas& c, const TNyomtatoKeret& frame, const TRect& r, int32_t fontHeight,
                    int32_t margin) {
    if (frame.Title.empty()) return;
    c.Font = frame.TitleFont;
    c.Font.Height = fontHeight;
    // A left title needs only the line's height, which costs no measuring of its letters.
    const bool left = frame.TitleAlignment != 1 && frame.TitleAlignment != 2;
    const TSize extent = c.TextExtent(left ? std::string_view{} : frame.Title);
    int32_t x = r.Left + margin; // left, and any alignment code a frame should not have
    if (frame.TitleAlignment == 1) {
        x = (r.Right - r.Left - extent.cx) / 2 + r.Left;
    } else if (frame.TitleAlignment == 2) {
        x = r.Right - margin - extent.cx;
    }
    c.BkColor = clWhite;
    c.BkMode = TBkMode::Opaque;
    c.TextOut(x, r.Top - extent.cy / 2, frame.Title);
}
