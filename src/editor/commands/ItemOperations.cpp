#include "editor/commands/ItemOperations.h"

#include "document/ItemLists.h"
#include "editor/ChangeStep.h"
#include "editor/FrameMembership.h"
#include "editor/PageEditor.h"
#include "editor/Selection.h"

namespace {

template <class Item, class List>
int AppendBox(TPageEditor& e, List& list, std::unique_ptr<Item> item, int32_t kind) {
    return AsOneStep(e, std::string("new ") + ItemKindName(kind), [&] {
        const TPoint anchor{item->Rect.Left, item->Rect.Top};
        list.Add(std::move(item));
        AttachToFrame(e.Items, kind, anchor.X, anchor.Y);
        return list.Count() - 1;
    });
}

template <class Item, class List>
int AppendPoints(TPageEditor& e, List& list, std::unique_ptr<Item> item, int32_t kind) {
    return AsOneStep(e, std::string("new ") + ItemKindName(kind), [&] {
        const bool hasAnchor = item->Count() > 0;
        const TPoint anchor = hasAnchor ? item->PointAt(0) : TPoint{};
        list.Add(std::move(item));
        if (hasAnchor) AttachToFrame(e.Items, kind, anchor.X, anchor.Y);
        return list.Count() - 1;
    });
}

template <class List>
bool Remove(TPageEditor& e, List& list, int32_t kind, int32_t index) {
    if (index < 0 || index >= list.Count()) return false;
    return AsOneStep(e, std::string("deleted ") + ItemKindName(kind), [&] {
        DetachReference(e.Items, kind, index);
        SelectionItemRemoved(e, kind, index);
        list.Delete(index);
        return true;
    });
}

} // namespace

int AppendItem(TPageEditor& e, std::unique_ptr<TNyomtatoSzoveg> caption) {
    return AppendBox(e, e.Items.Captions, std::move(caption), ikCaption);
}

int AppendItem(TPageEditor& e, std::unique_ptr<TNyomtatoSorok> text) {
    return AppendBox(e, e.Items.Texts, std::move(text), ikText);
}

int AppendItem(TPageEditor& e, std::unique_ptr<TNyomtatoKep> image) {
    return AppendBox(e, e.Items.Images, std::move(image), ikImage);
}

int AppendItem(TPageEditor& e, std::unique_ptr<TNyomtatoKeret> frame) {
    return AppendBox(e, e.Items.Frames, std::move(frame), ikFrame);
}

int AppendItem(TPageEditor& e, std::unique_ptr<TNyomtatoNegyszog> rectangle) {
    return AppendBox(e, e.Items.Rectangles, std::move(rectangle), ikRectangle);
}

int AppendItem(TPageEditor& e, std::unique_ptr<TNyomtatoVonal> line) {
    return AppendPoints(e, e.Items.Lines, std::move(line), ikLine);
}

int AppendItem(TPageEditor& e, std::unique_ptr<TNyomtatoPoligon> polygon) {
    return AppendPoints(e, e.Items.Polygons, std::move(polygon), ikPolygon);
}

bool ModifyItem(TPageEditor& e, int32_t kind, int32_t index, const std::function<void()>& change) {
    if (index < 0 || index >= e.Items.CountOf(kind)) return false;
    return AsOneStep(e, std::string("modified ") + ItemKindName(kind), [&] {
        change();
        return true;
    });
}

bool RemoveItem(TPageEditor& e, int32_t kind, int32_t index) {
    TPageItems& items = e.Items;
    switch (kind) {
    case ikCaption: return Remove(e, items.Captions, kind, index);
    case ikText: return Remove(e, items.Texts, kind, index);
    case ikImage: return Remove(e, items.Images, kind, index);
    case ikRectangle: return Remove(e, items.Rectangles, kind, index);
    case ikLine: return Remove(e, items.Lines, kind, index);
    case ikPolygon: return Remove(e, items.Polygons, kind, index);
    case ikFrame: return Remove(e, items.Frames, kind, index);
    default: return false;
    }
}

void ModifyPage(TPageEditor& e, std::string what, const std::function<void()>& change) {
    AsOneStep(e, std::move(what), [&] {
        change();
        return true;
    });
}
