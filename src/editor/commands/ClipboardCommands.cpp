#include "editor/commands/ClipboardCommands.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>

#include "codec/GraphicsExceptions.h"
#include "document/DocumentFile.h"
#include "editor/ChangeStep.h"
#include "editor/commands/SelectionCommands.h"
#include "editor/CoreServices.h"
#include "editor/ItemDrawing.h"
#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "editor/SaturatingInt.h"
#include "editor/Selection.h"
#include "platform/Canvas.h"
#include "platform/Clipboard.h"
#include "platform/MessageBoxes.h"

namespace {

constexpr size_t kItemsMagicSize = sizeof kItemsMagic; // with the zero byte
constexpr int32_t kPasteOffsetMm = 5;

// Calls fn(a's list, b's list, kind code) for each of the seven kinds.
template <class Source, class Fn>
void ForEachList(Source& a, TPageItems& b, Fn&& fn) {
    fn(a.Captions, b.Captions, ikCaption);
    fn(a.Texts, b.Texts, ikText);
    fn(a.Images, b.Images, ikImage);
    fn(a.Rectangles, b.Rectangles, ikRectangle);
    fn(a.Lines, b.Lines, ikLine);
    fn(a.Polygons, b.Polygons, ikPolygon);
    fn(a.Frames, b.Frames, ikFrame);
}

// Copies of the items (an image's copy shares its picture).
void CopyInto(const TPageItems& from, TPageItems& to) {
    ForEachList(from, to, [](const auto& list, auto& into, int32_t) {
        using Item = std::remove_cvref_t<decltype(list[0])>;
        for (int i = 0; i < list.Count(); ++i) into.Add(std::make_unique<Item>(list[i]));
    });
}

std::optional<TRect> UnionBounds(const TPageItems& items) {
    std::optional<TRect> u;
    for (int32_t kind = ikCaption; kind <= ikFrame; ++kind) {
        for (int32_t i = 0; i < items.CountOf(kind); ++i) {
            const auto r = ItemBounds(items, {kind, i});
            if (!r) continue;
            if (!u) {
                u = *r;
                continue;
            }
            u->Left = std::min(u->Left, r->Left);
            u->Top = std::min(u->Top, r->Top);
            u->Right = std::max(u->Right, r->Right);
            u->Bottom = std::max(u->Bottom, r->Bottom);
        }
    }
    return u;
}

// The shift that keeps [lo + d, hi + d] inside [min, max) where it can; the low edge wins when
// the span is wider than the area.
int64_t ClampShift(int64_t d, int64_t lo, int64_t hi, double min, double max) {
    const int64_t top = static_cast<int64_t>(std::ceil(max)) - 1;
    if (hi + d > top) d = top - hi;
    const int64_t bottom = static_cast<int64_t>(std::ceil(min));
    if (lo + d < bottom) d = bottom - lo;
    return d;
}

void Offset(TPageItems& items, int32_t dx, int32_t dy) {
    for (int32_t kind = ikCaption; kind <= ikFrame; ++kind)
        for (int32_t i = 0; i < items.CountOf(kind); ++i) OffsetItem(items, {kind, i}, dx, dy);
}

std::optional<TPoint> AnchorOf(const TPageItems& items, TKKItem item) {
    if (item.Kind == ikLine || item.Kind == ikPolygon) {
        const TPointList& p = item.Kind == ikLine
                                  ? static_cast<const TPointList&>(items.Lines[item.Index])
                                  : items.Polygons[item.Index];
        if (p.Count() == 0) return std::nullopt;
        return p.PointAt(0);
    }
    const auto r = ItemBounds(items, item);
    if (!r) return std::nullopt;
    return TPoint{r->Left, r->Top};
}

// A picture of the copied items for other programs, at up to 4 pixels per mm.
TClipboardPicture PictureOf(const TPageEditor& e, const TPageItems& clip) {
    TClipboardPicture picture;
    const auto u = UnionBounds(clip);
    if (!u) return picture;
    const double w = static_cast<double>(u->Right) - u->Left + 1;
    const double h = static_cast<double>(u->Bottom) - u->Top + 1;
    const double k = std::min(
        {4.0, (TPageEditor::BasePictureWidth - 1) / w, (TPageEditor::BasePictureHeight - 1) / h});
    picture.Width = std::max(1, static_cast<int32_t>(std::ceil(k * w)));
    picture.Height = std::max(1, static_cast<int32_t>(std::ceil(k * h)));
    auto view = std::make_shared<TPageEditor>();
    CopyInto(clip, view->Items);
    view->Metrics = e.Metrics;
    view->PageWidthMm = std::max<int32_t>({e.PageWidthMm, u->Right + 1, 1});
    view->PageHeightMm = std::max<int32_t>({e.PageHeightMm, u->Bottom + 1, 1});
    const int32_t left = static_cast<int32_t>(-k * u->Left);
    const int32_t top = static_cast<int32_t>(-k * u->Top);
    view->BasePageRect = TRect{left, top, left + static_cast<int32_t>(k * view->PageWidthMm),
                               top + static_cast<int32_t>(k * view->PageHeightMm)};
    picture.Paint = [view, width = picture.Width, height = picture.Height](TCanvas& c) {
        c.Pen = TPen{clWhite, 1, TPenStyle::psSolid};
        c.Brush = TBrush{clWhite, TBrushStyle::bsSolid};
        c.Rectangle(0, 0, width, height);
        PaintItems(c, *view);
    };
    return picture;
}

} // namespace

std::vector<uint8_t> EncodeItems(const TPageItems& items) {
    TWriteStream out;
    out.Write(kItemsMagic, kItemsMagicSize);
    WriteItemLists(out, items);
    return out.Take();
}

TPageItems DecodeItems(std::span<const uint8_t> bytes) {
    if (bytes.size() < kItemsMagicSize || std::memcmp(bytes.data(), kItemsMagic, kItemsMagicSize))
        throw std::runtime_error("they are not Folioscriptor items");
    TReadStream in(bytes);
    in.Skip(kItemsMagicSize);
    TPageItems items;
    try {
        const char* part = "";
        ReadItemLists(in, items, part);
    } catch (const EReadError& e) {
        throw std::runtime_error(std::string("they are damaged: ") + e.what());
    } catch (const EGraphicsException& e) {
        throw std::runtime_error(std::string("a JPEG picture cannot be decoded: ") + e.what());
    } catch (const std::bad_alloc&) {
        throw std::runtime_error("not enough memory");
    }
    if (!in.AtEnd()) throw std::runtime_error("they are damaged: bytes after the items");
    if (auto bad = CheckFrameMembers(items)) throw std::runtime_error("they are damaged: " + *bad);
    return items;
}

TPageItems CopyOfSelection(const TPageEditor& e) {
    std::vector<TKKItem> chosen = WithMembers(e.Items, e.Selection);
    // Each kind keeps its page order, so the copy draws in the same order.
    std::sort(chosen.begin(), chosen.end(), [](TKKItem a, TKKItem b) {
        return a.Kind != b.Kind ? a.Kind < b.Kind : a.Index < b.Index;
    });
    const auto newIndex = [&chosen](TKKItem item) -> std::optional<int32_t> {
        int32_t n = 0;
        for (const TKKItem& c : chosen) {
            if (c == item) return n;
            if (c.Kind == item.Kind) ++n;
        }
        return std::nullopt;
    };
    TPageItems clip;
    for (const TKKItem& item : chosen) {
        switch (item.Kind) {
        case ikCaption:
            clip.Captions.Add(std::make_unique<TNyomtatoSzoveg>(e.Items.Captions[item.Index]));
            break;
        case ikText:
            clip.Texts.Add(std::make_unique<TNyomtatoSorok>(e.Items.Texts[item.Index]));
            break;
        case ikImage:
            clip.Images.Add(std::make_unique<TNyomtatoKep>(e.Items.Images[item.Index]));
            break;
        case ikRectangle:
            clip.Rectangles.Add(
                std::make_unique<TNyomtatoNegyszog>(e.Items.Rectangles[item.Index]));
            break;
        case ikLine:
            clip.Lines.Add(std::make_unique<TNyomtatoVonal>(e.Items.Lines[item.Index]));
            break;
        case ikPolygon:
            clip.Polygons.Add(std::make_unique<TNyomtatoPoligon>(e.Items.Polygons[item.Index]));
            break;
        case ikFrame: {
            auto frame = std::make_unique<TNyomtatoKeret>(e.Items.Frames[item.Index]);
            TKKLista members;
            for (int m = 0; m < frame->Members.Count(); ++m)
                if (const auto at = newIndex(frame->Members[m]))
                    members.AddReference(frame->Members[m].Kind, *at);
            frame->Members = members;
            clip.Frames.Add(std::move(frame));
            break;
        }
        default: break;
        }
    }
    return clip;
}

bool PasteItems(TPageEditor& e, TPageItems clip, bool atPointer) {
    const auto u = UnionBounds(clip);
    if (!u) return false;
    int64_t dx = kPasteOffsetMm, dy = kPasteOffsetMm;
    if (atPointer && e.Pointer) {
        const int32_t mx = ViewToMmX(e, e.Pointer->X), my = ViewToMmY(e, e.Pointer->Y);
        if (mx >= 0 && mx <= e.PageWidthMm && my >= 0 && my <= e.PageHeightMm) {
            dx = int64_t{mx} - u->Left;
            dy = int64_t{my} - u->Top;
        }
    }
    const TPrinterMetrics& m = e.Metrics;
    dx = ClampShift(dx, u->Left, u->Right, m.LeftMarginMm, m.RightEdgeMm);
    dy = ClampShift(dy, u->Top, u->Bottom, m.TopMarginMm, m.BottomEdgeMm);
    Offset(clip, SaturateInt32(dx), SaturateInt32(dy));

    int32_t base[ikFrame + 1] = {};
    for (int32_t kind = ikCaption; kind <= ikFrame; ++kind) base[kind] = e.Items.CountOf(kind);
    // Members of pasted frames, named as they will be on the page.
    std::vector<TKKItem> owned;
    for (int f = 0; f < clip.Frames.Count(); ++f) {
        TKKLista& members = clip.Frames[f].Members;
        TKKLista renamed;
        for (int i = 0; i < members.Count(); ++i) {
            const TKKItem ref{members[i].Kind, base[members[i].Kind] + members[i].Index};
            renamed.AddReference(ref.Kind, ref.Index);
            owned.push_back(ref);
        }
        members = renamed;
    }
    const TChangeStep step(e, "pasted items");
    e.Selection.clear();
    ForEachList(clip, e.Items, [&](auto& list, auto& page, int32_t kind) {
        using Item = std::remove_cvref_t<decltype(list[0])>;
        for (int i = 0; i < list.Count(); ++i) {
            page.Add(std::make_unique<Item>(list[i]));
            e.Selection.push_back(TKKItem{kind, base[kind] + i});
        }
    });
    // The others, frames excepted, join the last frame of the page holding their anchor (a
    // duplicated frame would otherwise land in its original).
    for (const TKKItem& item : e.Selection) {
        if (item.Kind == ikFrame || std::find(owned.begin(), owned.end(), item) != owned.end())
            continue;
        const auto anchor = AnchorOf(e.Items, item);
        if (!anchor) continue;
        for (int32_t f = base[ikFrame] - 1; f >= 0; --f) {
            const TRect& r = e.Items.Frames[f].Rect;
            if (anchor->X >= r.Left && anchor->X < r.Right && anchor->Y >= r.Top &&
                anchor->Y < r.Bottom) {
                e.Items.Frames[f].Members.AddReference(item.Kind, item.Index);
                break;
            }
        }
    }
    e.RepaintRequested = true;
    return true;
}

bool CopySelection(TPageEditor& e, TCoreServices& s) {
    PruneSelection(e);
    if (e.Selection.empty() || !s.Clipboard) return false;
    const TPageItems clip = CopyOfSelection(e);
    std::vector<uint8_t> bytes;
    try {
        bytes = EncodeItems(clip);
    } catch (const std::exception& ex) {
        s.Messages.Show(std::string("The items cannot be copied: ") + ex.what(), "Copy",
                        MB_ICONERROR);
        return false;
    }
    const TClipboardPicture picture = PictureOf(e, clip);
    s.Clipboard->SetData(kItemsMimeType, bytes, picture.Paint ? &picture : nullptr);
    return true;
}

bool CutSelection(TPageEditor& e, TCoreServices& s) {
    PruneSelection(e);
    const TChangeStep step(e, SelectionStepName(e, "cut"));
    return CopySelection(e, s) && DeleteSelection(e);
}

bool PasteClipboard(TPageEditor& e, TCoreServices& s) {
    if (!s.Clipboard) return false;
    const auto bytes = s.Clipboard->Data(kItemsMimeType);
    if (!bytes) {
        e.InfoText = "The clipboard holds no items";
        return false;
    }
    TPageItems clip;
    try {
        clip = DecodeItems(*bytes);
    } catch (const std::exception& ex) {
        s.Messages.Show(std::string("The clipboard's items cannot be pasted: ") + ex.what(),
                        kPasteCaption, MB_ICONWARNING);
        return false;
    }
    return PasteItems(e, std::move(clip), true);
}

bool DuplicateSelection(TPageEditor& e) {
    PruneSelection(e);
    if (e.Selection.empty()) return false;
    const TChangeStep step(e, SelectionStepName(e, "duplicated"));
    return PasteItems(e, CopyOfSelection(e), false);
}
