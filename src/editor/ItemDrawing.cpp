#include "editor/ItemDrawing.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "editor/DeviceUnits.h"
#include "editor/FrameDecoration.h"
#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "platform/Canvas.h"

namespace {

// Line widths are device pixels (1 to 10 from the line dialog); wider ones only come from
// damaged documents and are narrowed to what still makes sense on the picture.
constexpr int32_t kMaxLineWidth = 100;

constexpr TPen kBlackPen{clBlack, 1, TPenStyle::psSolid};
constexpr TBrush kHollowBrush{clWhite, TBrushStyle::bsClear};

bool Intersects(const TRect& a, const TRect& b) {
    TRect common;
    return IntersectRect(common, a, b);
}

class TItemPainter {
public:
    TItemPainter(TCanvas& canvas, const TPageEditor& editor)
        : c(canvas), e(editor), v(editor), Outline(editor.Mode != mdIdle),
          Visible(VisibleMm(editor)) {}

    void Paint() {
        Frames();
        Rectangles();
        if (e.Mode == mdNewPolygon) PointsBeingEntered(e.PolygonPoints.get());
        Polygons();
        Images();
        Captions();
        Texts();
        if (e.Mode == mdNewLine) PointsBeingEntered(e.LinePoints.get());
        Lines();
        HeightsLegend();
    }

private:
    TRect ToView(const TRect& mm) const {
        return TRect{v.PxX(mm.Left), v.PxY(mm.Top), v.PxX(mm.Right), v.PxY(mm.Bottom)};
    }

    // The points mapped to the picture, in a buffer reused from item to item.
    const std::vector<TPoint>& ToView(const TPointList& points) {
        Mapped.clear();
        for (const TPoint& p : points.View()) Mapped.push_back({v.PxX(p.X), v.PxY(p.Y)});
        return Mapped;
    }

    // True when no pixel of these picture points, drawn with a pen margin pixels wide on each
    // side, falls on the picture: zoomed in, most of a crowded page is such.
    bool OffPicture(const std::vector<TPoint>& points, int32_t margin) const {
        int32_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
        for (const TPoint& p : points) {
            left = std::min(left, p.X);
            top = std::min(top, p.Y);
            right = std::max(right, p.X);
            bottom = std::max(bottom, p.Y);
        }
        return int64_t{right} + margin < 0 || int64_t{bottom} + margin < 0 ||
               int64_t{left} - margin >= e.PictureWidth || int64_t{top} - margin >= e.PictureHeight;
    }

    // Text in the font at a picture cell height inside box r (within its one-pixel outline,
    // so that no accent or descender lies on it). The clip holds the text to the box's width;
    // above and below it leaves room for accents and descenders that overshoot the cell, so
    // letters show whole as they print. Text below one pixel high cannot be read (and a zero
    // height would mean the device's default font), so it is left out.
    template <class Draw>
    void TextInBox(const TRect& r, const TFont& font, int32_t height, Draw draw) {
        if (height < 1) return;
        c.Font = font;
        c.Font.Height = height;
        const int32_t overshoot = height / 3 + 1;
        const TRect clip{r.Left + 1, r.Top - overshoot, r.Right, r.Bottom + 1 + overshoot};
        c.SetClipRect(&clip);
        c.BkMode = TBkMode::Transparent;
        draw(r.Left + 1, r.Top + 1);
        c.SetClipRect(nullptr);
    }

    // The cell height the box holds inside its outline.
    static int32_t InnerHeight(const TRect& r) { return r.Bottom - r.Top - 1; }

    void Frames() {
        c.BkMode = TBkMode::Opaque; // hatched fills over white, as printed
        c.BkColor = clWhite;
        for (int i = 0; i < e.Items.Frames.Count(); ++i) {
            const TNyomtatoKeret& frame = e.Items.Frames[i];
            if (!Intersects(frame.Rect, Visible)) continue;
            const TRect r = ToView(frame.Rect);
            if (Outline) {
                c.Pen = kBlackPen;
                c.Brush = kHollowBrush;
            } else {
                c.Pen = TPen{frame.BorderColor, 1, TPenStyle::psSolid};
                c.Brush = TBrush{frame.FillColor, static_cast<TBrushStyle>(frame.FillStyle)};
            }
            c.Rectangle(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
            if (Outline) continue;
            if (frame.Shadow) FrameShadow(r);
            FrameTitle(frame, r);
        }
    }

    // The view's shadow is 3 mm wide (the printed one 2 mm).
    void FrameShadow(const TRect& r) {
        DrawFrameShadow(c, r, TruncClamped(v.X(3) - v.X(0)), TruncClamped(v.Y(3) - v.Y(0)));
    }

    // The title's font height is held in mm; below one picture pixel it is not drawn.
    void FrameTitle(const TNyomtatoKeret& frame, const TRect& r) {
        const int32_t height = TruncClamped(v.Y(frame.TitleFont.Height) - v.Y(0));
        if (height == 0) return;
        DrawFrameTitle(c, frame, r, height, TruncClamped(v.X(2) - v.X(0)));
    }

    // Rectangles are skipped by their picture rectangle (no + 1: filled, not outlined).
    void Rectangles() {
        c.Pen = kBlackPen;
        c.Brush = Outline ? kHollowBrush : TBrush{clWhite, TBrushStyle::bsSolid};
        const int32_t w = e.PictureWidth, h = e.PictureHeight;
        for (int i = 0; i < e.Items.Rectangles.Count(); ++i) {
            const TNyomtatoNegyszog& item = e.Items.Rectangles[i];
            const TRect r = ToView(item.Rect);
            if (r.Right < 0 || r.Left > w || r.Bottom < 0 || r.Top > h) continue;
            if (!Outline) {
                c.Brush.Color = item.Color;
                c.Pen.Color = item.Color;
            }
            c.Rectangle(r);
        }
    }

    // The polygon or line the user is clicking together, as a thin black polyline.
    void PointsBeingEntered(const TPointList* points) {
        if (!points || points->Count() == 0) return;
        c.Pen = kBlackPen;
        c.Polyline(ToView(*points));
    }

    void Polygons() {
        c.Pen = kBlackPen;
        c.Brush = Outline ? kHollowBrush : TBrush{clBlack, TBrushStyle::bsSolid};
        for (int i = 0; i < e.Items.Polygons.Count(); ++i) {
            const TNyomtatoPoligon& polygon = e.Items.Polygons[i];
            if (polygon.Count() == 0) continue;
            const std::vector<TPoint>& points = ToView(polygon);
            if (OffPicture(points, 1)) continue;
            if (!Outline) {
                c.Pen.Color = polygon.Color;
                c.Brush.Color = polygon.Color;
            }
            c.Polygon(points);
        }
    }

    void Images() {
        c.Pen = kBlackPen;
        c.Brush = kHollowBrush;
        const TRect picture{0, 0, e.PictureWidth, e.PictureHeight};
        // The scaled copies pictures keep for the next paint, up to a budget: a page piled
        // with thousands of overlapping images would otherwise hold a copy of each.
        constexpr size_t kKeptCopiesBudget = size_t{128} << 20;
        size_t kept = 0;
        for (int i = 0; i < e.Items.Images.Count(); ++i) {
            const TNyomtatoKep& image = e.Items.Images[i];
            if (!Intersects(image.Rect, Visible)) continue;
            const TRect r = ToView(image.Rect);
            // An image whose picture is missing (a file that could not be read) shows its box,
            // so the user can still find it.
            const bool drawable = image.Picture->HasImage && image.Picture->CanDraw();
            if (Outline || !drawable) {
                c.Rectangle(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
            } else {
                image.Picture->StretchDrawVisible(c, r.Left, r.Top, r.Right - r.Left + 1,
                                                  r.Bottom - r.Top + 1, picture);
                kept += image.Picture->ViewCopy.KeptBytes();
                if (kept > kKeptCopiesBudget) {
                    kept -= image.Picture->ViewCopy.KeptBytes();
                    image.Picture->ForgetDrawingCopies();
                }
            }
        }
    }

    // Every caption and text shows a thin black box in the editor; its background is white
    // when it has one (FillBackground) and in outline mode the box alone is drawn.
    void TextBox(const TRect& r, bool fillBackground) {
        c.Pen = kBlackPen;
        c.Brush = TBrush{clWhite,
                         !Outline && fillBackground ? TBrushStyle::bsSolid : TBrushStyle::bsClear};
        c.Rectangle(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
    }

    // The caption's font is sized to fill its box on the picture (the box was measured from
    // the printed text, so the proportions are the print's).
    void Captions() {
        for (int i = 0; i < e.Items.Captions.Count(); ++i) {
            const TNyomtatoSzoveg& caption = e.Items.Captions[i];
            if (!Intersects(caption.Rect, Visible)) continue;
            const TRect r = ToView(caption.Rect);
            TextBox(r, caption.FillBackground);
            if (Outline) continue;
            TextInBox(r, caption.Font, InnerHeight(r),
                      [&](int32_t x, int32_t y) { c.TextOut(x, y, caption.Text); });
        }
    }

    // A text's font is its box height shared by the lines it had when last edited; a text
    // without a line count (possible in a file) is sized as one line.
    void Texts() {
        for (int i = 0; i < e.Items.Texts.Count(); ++i) {
            const TNyomtatoSorok& text = e.Items.Texts[i];
            if (!Intersects(text.Rect, Visible)) continue;
            const TRect r = ToView(text.Rect);
            TextBox(r, text.FillBackground);
            if (Outline) continue;
            const int32_t lines = std::max(text.LineCount, 1);
            TextInBox(r, text.Font, InnerHeight(r) / lines, [&](int32_t x, int32_t y) {
                TRect box{x, y, r.Right, r.Bottom};
                c.DrawText(text.Text, box, DT_NOCLIP);
            });
        }
    }

    // Lines keep their pen in every mode, as wide as they print (printer pixels as mm on the
    // picture, at least one pixel). Dash gaps show white, as on paper.
    void Lines() {
        c.BkMode = TBkMode::Opaque;
        c.BkColor = clWhite;
        for (int i = 0; i < e.Items.Lines.Count(); ++i) {
            const TNyomtatoVonal& line = e.Items.Lines[i];
            if (line.Count() == 0) continue;
            const int32_t width = LineWidthOnView(e, std::clamp(line.Width, 1, kMaxLineWidth));
            const std::vector<TPoint>& points = ToView(line);
            if (OffPicture(points, width / 2 + 1)) continue;
            c.Pen = TPen{line.Color, width, static_cast<TPenStyle>(line.PenStyle)};
            c.Polyline(points);
        }
    }

    // No height colour table exists in the program, so the legend shows its box only.
    void HeightsLegend() {
        if (!e.Settings.HeightsLegendVisible) return;
        c.Pen = kBlackPen;
        c.Brush = kHollowBrush;
        c.Rectangle(MmOutlineToView(e, e.Settings.HeightsLegendRect));
    }

    TCanvas& c;
    const TPageEditor& e;
    const TViewMapping v;
    const bool Outline;
    const TRect Visible;
    std::vector<TPoint> Mapped;
};

} // namespace

void PaintItems(TCanvas& canvas, const TPageEditor& e) { TItemPainter(canvas, e).Paint(); }
