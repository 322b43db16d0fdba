// Resizing the editor window with a page of 1,000 mixed items: the window takes its new size,
// lays out its controls, makes the page picture anew at that size, draws the page into it and
// paints the whole window, the work a window system asks for on every step of a resize. A
// frame of a 60 Hz screen is 16 ms.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "controls/CursorImage.h"
#include "CrowdedPage.h"
#include "editor/window/EditorWindow.h"
#include "editor/window/Forms.h"
#include "support/ScriptedServices.h"
#include "support/TestPrinters.h"

namespace {

// The window between two sizes of its page picture, width x height each: one resize and
// repaint per iteration.
void ResizeAndRepaint(benchmark::State& state) {
    TScriptedServices scripted;
    TA4Printer a4;
    scripted.Printer = &a4;
    TEditorServices services = scripted.Services();
    TForms forms;
    CreateForms(forms, services);
    TNyomtatoOldalDlg& window = *forms.NyomtatoOldalDlg;
    FillCrowdedPage(window.Editor, static_cast<int>(state.range(4)));
    window.show();
    QApplication::processEvents();
    const QSize sizes[] = {
        QSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))),
        QSize(static_cast<int>(state.range(2)), static_cast<int>(state.range(3)))};
    // The window's controls around the picture keep their size once it is larger than its
    // smallest.
    QSize chrome = window.size() - window.imLap->size();
    window.resize(sizes[0] + chrome);
    QApplication::processEvents();
    chrome = window.size() - window.imLap->size();
    int next = 1;
    auto resize = [&] {
        const QSize picture = sizes[next];
        next = 1 - next;
        window.resize(picture + chrome);
        for (int i = 0; i < 10 && window.imLap->size() != picture; ++i)
            QApplication::processEvents();
        window.repaint(); // the whole window, as an expose after a resize
    };
    resize();
    resize();
    if (window.imLap->size() != sizes[0] || window.Editor.PictureWidth != sizes[0].width()) {
        state.SkipWithError("the picture did not take the window's new size");
        return;
    }
    for (auto _ : state) resize();
    window.hide();
}

} // namespace

// Picture sizes (from, to) and the number of items.
BENCHMARK(ResizeAndRepaint)
    ->Args({1600, 1200, 1200, 900, 1000})
    ->Args({1600, 1200, 1600, 1100, 1000})
    ->Args({1600, 1200, 1200, 900, 0})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // No window is shown on a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
