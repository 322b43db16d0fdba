// Presses and idle pointer moves on a page of 10,000 items of all seven kinds: how long the
// pick (and the edge and point search of an idle move) takes when it has to look at every
// item.
#include <benchmark/benchmark.h>

#include <random>

#include "editor/HitTest.h"
#include "editor/MousePage.h"
#include "editor/MouseTools.h"

namespace {

constexpr int kItems = 10000;

// Items spread over the printable area of the A4 sheet at zoom 1, boxes 5 to 30 mm.
TMousePage& FullPage() {
    static TMousePage* page = [] {
        auto* p = new TMousePage;
        p->E.SetZoomPosition(TPageEditor::ZoomMin);
        std::mt19937 random(8);
        std::uniform_int_distribution<int32_t> x(4, 170), y(4, 260), size(5, 30);
        const auto box = [&] {
            const int32_t left = x(random), top = y(random);
            return TRect{left, top, left + size(random), top + size(random)};
        };
        for (int i = 0; i < kItems; ++i) {
            const TRect r = box();
            switch (i % 7) {
            case 0: p->AddCaption(r); break;
            case 1: p->AddText(r); break;
            case 2: p->AddImage(r); break;
            case 3: p->AddRectangle(r); break;
            case 4:
                p->AddLine({{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}},
                           i % 3 == 0 ? 5 : 1);
                break;
            case 5: p->AddPolygon({{r.Left, r.Top}, {r.Right, r.Top}, {r.Left, r.Bottom}}); break;
            case 6: p->AddFrame(r); break;
            }
        }
        return p;
    }();
    return *page;
}

// A press beside the sheet, where no item lies: every list is searched to its end.
void PressWhereNothingLies(benchmark::State& state) {
    const TMousePage& page = FullPage();
    for (auto _ : state) benchmark::DoNotOptimize(PickItem(page.E, 5, 5));
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(PressWhereNothingLies)->Unit(benchmark::kMicrosecond);

// A press in the middle of the sheet, where the topmost item is found early.
void PressInTheCrowd(benchmark::State& state) {
    const TMousePage& page = FullPage();
    const TPoint p = page.Pixel(100, 150);
    for (auto _ : state) benchmark::DoNotOptimize(PickItem(page.E, p.X, p.Y));
}
BENCHMARK(PressInTheCrowd)->Unit(benchmark::kMicrosecond);

// An idle move beside the sheet: every edge and every point box is looked at.
void IdleMoveWhereNothingLies(benchmark::State& state) {
    TMousePage& page = FullPage();
    for (auto _ : state) {
        MouseMove(page.E, page.Core, 5, 5);
        benchmark::DoNotOptimize(page.E.Mode);
    }
}
BENCHMARK(IdleMoveWhereNothingLies)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
