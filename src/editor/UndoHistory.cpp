#include "editor/UndoHistory.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <iterator>
#include <memory>
#include <type_traits>
#include <unordered_set>
#include <utility>
#include <vector>

#include "document/ItemLists.h"
#include "editor/PageEditor.h"
#include "imaging/MemBitmap.h"

namespace {

template <class T>
using TShared = std::shared_ptr<const T>;
template <class T>
using TSharedList = std::vector<TShared<T>>;

// One changed range of an item list: from index At, the items Before were replaced by the
// items After (as many or, when the list grew or shrank, a different number).
template <class T>
struct THunk {
    size_t At = 0;
    std::vector<TShared<T>> Before;
    std::vector<TShared<T>> After;
};
template <class T>
using THunks = std::vector<THunk<T>>;

// One F<Item> for each of the seven kinds.
template <template <class> class F>
struct TPerKind {
    F<TNyomtatoSzoveg> Captions;
    F<TNyomtatoKep> Images;
    F<TNyomtatoKeret> Frames;
    F<TNyomtatoSorok> Texts;
    F<TNyomtatoVonal> Lines;
    F<TNyomtatoNegyszog> Rectangles;
    F<TNyomtatoPoligon> Polygons;
};

// Calls fn(lists...) once for each kind, with that kind's member of every argument (the page's
// items, the history's copies, a step's ranges).
template <class Fn, class... PerKind>
void ForEachKind(Fn&& fn, PerKind&... p) {
    fn(p.Captions...);
    fn(p.Images...);
    fn(p.Frames...);
    fn(p.Texts...);
    fn(p.Lines...);
    fn(p.Rectangles...);
    fn(p.Polygons...);
}

// The item type a page list holds.
template <class List>
using ItemOf = std::remove_cvref_t<decltype(std::declval<List&>()[0])>;

// Brings seen (the history's copy of a list) level with the page's list and returns what
// differed. Lists of equal length are compared item by item, so a drag that moves a frame's
// scattered members keeps only those; otherwise the change is the range between the common
// head and tail (an item appended or removed, or a list replaced whole).
template <class List, class T = ItemOf<List>>
THunks<T> TakeChanges(const List& page, TSharedList<T>& seen) {
    THunks<T> hunks;
    const size_t n = static_cast<size_t>(page.Count());
    const size_t m = seen.size();
    const auto copyOf = [&page](size_t i) {
        return std::make_shared<const T>(page[static_cast<int>(i)]);
    };
    const auto same = [&](size_t i, size_t j) { return page[static_cast<int>(i)] == *seen[j]; };
    if (n == m) {
        for (size_t i = 0; i < n; ++i) {
            if (same(i, i)) continue;
            if (hunks.empty() || hunks.back().At + hunks.back().Before.size() != i)
                hunks.push_back(THunk<T>{i, {}, {}});
            THunk<T>& hunk = hunks.back();
            hunk.Before.push_back(std::move(seen[i]));
            seen[i] = copyOf(i);
            hunk.After.push_back(seen[i]);
        }
        return hunks;
    }
    size_t head = 0;
    while (head < n && head < m && same(head, head)) ++head;
    size_t tail = 0;
    while (tail < n - head && tail < m - head && same(n - 1 - tail, m - 1 - tail)) ++tail;
    THunk<T> hunk{head, {}, {}};
    const auto from = seen.begin() + static_cast<ptrdiff_t>(head);
    const auto to = seen.end() - static_cast<ptrdiff_t>(tail);
    hunk.Before.assign(std::make_move_iterator(from), std::make_move_iterator(to));
    for (size_t i = head; i < n - tail; ++i) hunk.After.push_back(copyOf(i));
    seen.insert(seen.erase(from, to), hunk.After.begin(), hunk.After.end());
    hunks.push_back(std::move(hunk));
    return hunks;
}

// Replaces `removed` items from index at by copies of items, in the page's list and in the
// history's copy of it (which takes the shared items themselves).
template <class List, class T = ItemOf<List>>
void Splice(List& page, TSharedList<T>& seen, size_t at, size_t removed,
            const std::vector<TShared<T>>& items) {
    const auto index = [at](size_t k) { return static_cast<int>(at + k); };
    const size_t common = std::min(removed, items.size());
    // Items replaced one for one are assigned in place, so they keep their addresses.
    for (size_t k = 0; k < common; ++k) page[index(k)] = *items[k];
    for (size_t k = removed; k > common; --k) page.Delete(index(k - 1));
    for (size_t k = common; k < items.size(); ++k)
        page.Insert(index(k), std::make_unique<T>(*items[k]));
    const auto from = seen.begin() + static_cast<ptrdiff_t>(at);
    seen.insert(seen.erase(from, from + static_cast<ptrdiff_t>(removed)), items.begin(),
                items.end());
}

// Calls fn(page's field, from's, to's) for each page setting. The bindings stop compiling
// when the settings gain a field, so none can be left out.
template <class Fn>
void ForEachSetting(TPageSettings& page, const TPageSettings& from, const TPageSettings& to,
                    Fn&& fn) {
    auto& [p0, p1, p2, p3, p4, p5, p6, p7, p8, p9, p10, p11] = page;
    const auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11] = from;
    const auto& [t0, t1, t2, t3, t4, t5, t6, t7, t8, t9, t10, t11] = to;
    fn(p0, f0, t0);
    fn(p1, f1, t1);
    fn(p2, f2, t2);
    fn(p3, f3, t3);
    fn(p4, f4, t4);
    fn(p5, f5, t5);
    fn(p6, f6, t6);
    fn(p7, f7, t7);
    fn(p8, f8, t8);
    fn(p9, f9, t9);
    fn(p10, f10, t10);
    fn(p11, f11, t11);
}

// The settings a step changed go from `from` to `to`; the others keep their values (the
// sheet's layout, say, when the window laid the page out again since).
void TakeChangedSettings(TPageSettings& page, const TPageSettings& from, const TPageSettings& to) {
    ForEachSetting(page, from, to, [](auto& field, const auto& f, const auto& t) {
        if (!(f == t)) field = t;
    });
}

struct TSettingsChange {
    TPageSettings Before;
    TPageSettings After;
};

struct TCompassChange {
    std::optional<TCompass> Before;
    std::optional<TCompass> After;
};

struct TStep {
    std::string What;
    // Names the page state the step leads to, for the saved mark.
    uint64_t Id = 0;
    TPerKind<THunks> Items;
    std::optional<TSettingsChange> Settings;
    std::optional<TCompassChange> Compass;

    bool Empty() const {
        bool empty = !Settings && !Compass;
        ForEachKind([&empty](const auto& hunks) { empty = empty && hunks.empty(); }, Items);
        return empty;
    }
};

// The page as the history last saw it.
struct TSeenPage {
    TPerKind<TSharedList> Items;
    TPageSettings Settings;
    std::optional<TCompass> Compass;
};

// Brings the history's copy level with the page and returns what differed (the step's
// name is left empty).
TStep TakeStep(const TPageEditor& e, TSeenPage& seen, bool keepSheet) {
    TStep step;
    ForEachKind([](const auto& page, auto& list, auto& hunks) { hunks = TakeChanges(page, list); },
                e.Items, seen.Items, step.Items);
    if (!(e.Settings == seen.Settings)) {
        TSettingsChange change{seen.Settings, e.Settings};
        if (keepSheet) {
            change.Before.BasePageRect = change.After.BasePageRect;
            change.Before.ClickThroughArea = change.After.ClickThroughArea;
        }
        if (!(change.Before == change.After)) step.Settings = change;
        seen.Settings = e.Settings;
    }
    if (e.Compass != seen.Compass) {
        step.Compass = TCompassChange{seen.Compass, e.Compass};
        seen.Compass = e.Compass;
    }
    return step;
}

// True when every range of the step lies inside the lists it applies to.
bool Fits(const TPageEditor& e, const TSeenPage& seen, const TStep& step, bool undo) {
    bool fits = true;
    const auto check = [&](const auto& page, const auto& list, const auto& hunks) {
        if (static_cast<size_t>(page.Count()) != list.size()) fits = false;
        for (const auto& hunk : hunks) {
            const size_t removed = undo ? hunk.After.size() : hunk.Before.size();
            if (hunk.At + removed > list.size()) fits = false;
        }
    };
    ForEachKind(check, e.Items, seen.Items, step.Items);
    return fits;
}

// Takes the step back (undo) or applies it again, on the page and on the history's copy.
void Apply(TPageEditor& e, TSeenPage& seen, const TStep& step, bool undo) {
    const auto apply = [undo](auto& page, auto& list, const auto& hunks) {
        // From the last range to the first, so each range's index still holds.
        for (auto hunk = hunks.rbegin(); hunk != hunks.rend(); ++hunk) {
            const auto& from = undo ? hunk->After : hunk->Before;
            const auto& to = undo ? hunk->Before : hunk->After;
            Splice(page, list, hunk->At, from.size(), to);
        }
    };
    ForEachKind(apply, e.Items, seen.Items, step.Items);
    if (step.Settings) {
        const TSettingsChange& c = *step.Settings;
        TakeChangedSettings(e.Settings, undo ? c.After : c.Before, undo ? c.Before : c.After);
        seen.Settings = e.Settings;
    }
    if (step.Compass) {
        e.Compass = undo ? step.Compass->Before : step.Compass->After;
        seen.Compass = e.Compass;
    }
}

// Pictures the step took off the page keep no copies made for drawing them: kept by the
// history, a page of photos loaded again and again would otherwise hold a scaled copy of
// every one of them for as long as the steps stay.
void ForgetDrawingCopiesOffThePage(const TPageEditor& e, const TStep& step) {
    std::unordered_set<const TMemBitmap*> shown;
    for (int i = 0; i < e.Items.Images.Count(); ++i) shown.insert(e.Items.Images[i].Picture.get());
    for (const auto& hunk : step.Items.Images) {
        for (const auto* side : {&hunk.Before, &hunk.After}) {
            for (const auto& image : *side)
                if (!shown.count(image->Picture.get())) image->Picture->ForgetDrawingCopies();
        }
    }
}

} // namespace

struct TUndoHistory::TState {
    TSeenPage Seen;
    std::deque<TStep> Done;
    std::vector<TStep> Undone;
    // Open steps (nested ones join the outermost); the outermost's name; whether any of them
    // keeps the sheet.
    int Depth = 0;
    std::string OpenName;
    bool KeepSheet = false;
    // State names: the page before the oldest kept step, the one marked saved, the next new.
    uint64_t BaseId = 0;
    uint64_t SavedId = 0;
    uint64_t NextId = 1;

    uint64_t Position() const { return Done.empty() ? BaseId : Done.back().Id; }

    // Takes changes made outside any step (a new layout of the sheet, scale captions) into the
    // history's copy, so that no step claims them.
    void CatchUp(const TPageEditor& e) { TakeStep(e, Seen, false); }

    std::optional<std::string> Move(TPageEditor& e, bool undo) {
        if (undo ? Done.empty() : Undone.empty()) return std::nullopt;
        CatchUp(e);
        TStep step;
        if (undo) {
            step = std::move(Done.back());
            Done.pop_back();
        } else {
            step = std::move(Undone.back());
            Undone.pop_back();
        }
        if (!Fits(e, Seen, step, undo)) {
            // The page no longer matches the recorded steps: they cannot be applied safely.
            Done.clear();
            Undone.clear();
            BaseId = NextId++;
            return std::nullopt;
        }
        Apply(e, Seen, step, undo);
        ForgetDrawingCopiesOffThePage(e, step);
        std::string what = step.What;
        if (undo) {
            Undone.push_back(std::move(step));
        } else {
            Done.push_back(std::move(step));
        }
        return what;
    }
};

TUndoHistory::TUndoHistory() : State(std::make_unique<TState>()) {}

TUndoHistory::~TUndoHistory() = default;
TUndoHistory::TUndoHistory(TUndoHistory&&) noexcept = default;
TUndoHistory& TUndoHistory::operator=(TUndoHistory&&) noexcept = default;

void TUndoHistory::Open(const TPageEditor& e, std::string what) {
    TState& s = *State;
    if (s.Depth++ > 0) return;
    s.CatchUp(e);
    s.OpenName = std::move(what);
    s.KeepSheet = false;
}

void TUndoHistory::Close(const TPageEditor& e, bool keepSheet) {
    TState& s = *State;
    if (s.Depth == 0) return;
    s.KeepSheet = s.KeepSheet || keepSheet;
    if (--s.Depth > 0) return;
    TStep step = TakeStep(e, s.Seen, s.KeepSheet);
    if (step.Empty()) return;
    step.What = std::move(s.OpenName);
    step.Id = s.NextId++;
    ForgetDrawingCopiesOffThePage(e, step);
    s.Undone.clear();
    s.Done.push_back(std::move(step));
    if (s.Done.size() > static_cast<size_t>(kMaxSteps)) {
        s.BaseId = s.Done.front().Id;
        s.Done.pop_front();
    }
}

bool TUndoHistory::IsOpen() const { return State->Depth > 0; }

void TUndoHistory::Restart(const TPageEditor& e) {
    TState& s = *State;
    if (s.Depth > 0) return;
    s.CatchUp(e);
    s.Done.clear();
    s.Undone.clear();
    s.BaseId = s.SavedId = s.NextId++;
}

bool TUndoHistory::Matches(const TPageEditor& e) const {
    const TSeenPage& seen = State->Seen;
    bool same = true;
    const auto compare = [&same](const auto& page, const auto& list) {
        if (static_cast<size_t>(page.Count()) != list.size()) {
            same = false;
            return;
        }
        for (size_t i = 0; i < list.size() && same; ++i)
            same = page[static_cast<int>(i)] == *list[i];
    };
    ForEachKind(compare, e.Items, seen.Items);
    TPageSettings settings = seen.Settings;
    settings.BasePageRect = e.Settings.BasePageRect;
    return same && settings == e.Settings && seen.Compass == e.Compass;
}

int TUndoHistory::UndoCount() const { return static_cast<int>(State->Done.size()); }

int TUndoHistory::RedoCount() const { return static_cast<int>(State->Undone.size()); }

std::optional<std::string> TUndoHistory::Undo(TPageEditor& e) {
    if (IsOpen()) return std::nullopt;
    return State->Move(e, true);
}

std::optional<std::string> TUndoHistory::Redo(TPageEditor& e) {
    if (IsOpen()) return std::nullopt;
    return State->Move(e, false);
}

void TUndoHistory::MarkSaved() { State->SavedId = State->Position(); }

bool TUndoHistory::IsModified() const { return State->Position() != State->SavedId; }

uint64_t TUndoHistory::StateId() const { return State->Position(); }
