// The undo history on a page of 10,000 items of all seven kinds: how long recording a step
// takes (the history compares the whole page twice), how long undo and redo take, and how much
// memory the history's copy of the page and 100 steps hold. Memory is counted by this
// program's own allocation functions, so the counters are exact heap bytes.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

#include "editor/ChangeStep.h"
#include "editor/commands/ItemOperations.h"
#include "editor/Keys.h"
#include "editor/MousePage.h"

namespace {

std::atomic<int64_t> gHeapBytes{0};

} // namespace

void* operator new(size_t n) {
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    gHeapBytes += static_cast<int64_t>(malloc_usable_size(p));
    return p;
}

void operator delete(void* p) noexcept {
    if (!p) return;
    gHeapBytes -= static_cast<int64_t>(malloc_usable_size(p));
    std::free(p);
}

void operator delete(void* p, size_t) noexcept { operator delete(p); }

namespace {

constexpr int kItems = 10000;
// Each image holds a picture of this many bytes; copies of the page share them.
constexpr size_t kPictureBytes = 16 * 1024;

// Items spread over the A4 sheet, boxes 5 to 30 mm, with short texts.
std::unique_ptr<TMousePage> MakePage() {
    auto p = std::make_unique<TMousePage>();
    std::mt19937 random(8);
    std::uniform_int_distribution<int32_t> x(4, 170), y(4, 260), size(5, 30);
    for (int i = 0; i < kItems; ++i) {
        const int32_t left = x(random), top = y(random);
        const TRect r{left, top, left + size(random), top + size(random)};
        switch (i % 7) {
        case 0: p->AddCaption(r).Text = "Caption " + std::to_string(i); break;
        case 1: p->AddText(r).Text = "First line\r\nsecond line " + std::to_string(i); break;
        case 2: p->AddImage(r).Picture->DibBlock.assign(kPictureBytes, 7); break;
        case 3: p->AddRectangle(r); break;
        case 4: p->AddLine({{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}}); break;
        case 5: p->AddPolygon({{r.Left, r.Top}, {r.Right, r.Top}, {r.Left, r.Bottom}}); break;
        case 6: p->AddFrame(r).Title = "Frame"; break;
        }
    }
    return p;
}

// A step that changes one rectangle's colour, as Modify does.
void ModifyRectangle(TPageEditor& e, int i) {
    const int index = i % e.Items.Rectangles.Count();
    ModifyItem(e, ikRectangle, index, [&e, index, i] { e.Items.Rectangles[index].Color = i; });
}

void RecordAStep(benchmark::State& state) {
    auto page = MakePage();
    int i = 0;
    for (auto _ : state) ModifyRectangle(page->E, ++i);
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(RecordAStep)->Unit(benchmark::kMicrosecond);

void UndoAndRedoAStep(benchmark::State& state) {
    auto page = MakePage();
    ModifyRectangle(page->E, 1);
    for (auto _ : state) {
        UndoChange(page->E);
        RedoChange(page->E);
    }
}
BENCHMARK(UndoAndRedoAStep)->Unit(benchmark::kMicrosecond);

// The heap bytes the history holds, found by dropping it.
int64_t DropHistory(TPageEditor& e) {
    const int64_t before = gHeapBytes;
    e.History = TUndoHistory();
    return before - gHeapBytes;
}

// The history's copy of the page, then 100 steps on top of it, each on a different item.
template <class MakeSteps>
double BytesPerStep(int64_t copyBytes, MakeSteps&& makeSteps) {
    auto page = MakePage();
    TPageEditor& e = page->E;
    makeSteps(e);
    return static_cast<double>(DropHistory(e) - copyBytes) / 100;
}

// Heap bytes of the page itself (pictures apart), the history's copy of it, and one step of
// each kind (averaged over 100 steps, so 100 steps cost a hundred times as much).
void MemoryOf100Steps(benchmark::State& state) {
    for (auto _ : state) {
        const int64_t start = gHeapBytes;
        auto page = MakePage();
        TPageEditor& e = page->E;
        const int64_t pictures = int64_t{kItems / 7 + 1} * static_cast<int64_t>(kPictureBytes);
        state.counters["page"] = static_cast<double>(gHeapBytes - start - pictures);
        { const TChangeStep nothing(e, "nothing"); }
        const int64_t copy = DropHistory(e);
        state.counters["history_copy"] = static_cast<double>(copy);

        state.counters["modify_step"] = BytesPerStep(copy, [](TPageEditor& p) {
            for (int i = 0; i < 100; ++i) ModifyRectangle(p, i);
        });
        state.counters["drag_step"] = BytesPerStep(copy, [](TPageEditor& p) {
            for (int i = 0; i < 100; ++i) {
                const TChangeStep step(p, "moved caption");
                OffsetRect(p.Items.Captions[i].Rect, 1, 1);
            }
        });
        // Deleting from the front moves every later item: the step still keeps only the one.
        state.counters["delete_step"] = BytesPerStep(copy, [](TPageEditor& p) {
            for (int i = 0; i < 100; ++i) RemoveItem(p, ikCaption, 0);
        });
        // A whole page replaced, as Load does: the step keeps the page it replaced.
        state.counters["load_step"] = BytesPerStep(copy, [](TPageEditor& p) {
            for (int i = 0; i < 100; ++i) {
                auto other = MakePage();
                const TChangeStep step(p, "loaded document");
                p.Items = std::move(other->E.Items);
            }
        });
    }
}
BENCHMARK(MemoryOf100Steps)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
