// Find and replace on a 50,000-line pane (about 25 characters a line), and painting its view
// at 100 % and zoomed, offscreen. Finding a word that is not there walks the whole document;
// "すべて置換" replaces one word on every line as one undo step.

#include "editing/PaneZoom.h"
#include "editing/TextSearch.h"

#include <QApplication>
#include <QPixmap>
#include <QTextBlock>
#include <QTextEdit>

#include "BenchPane.h"
#include "OffscreenMain.h"

#include <benchmark/benchmark.h>

namespace {

using sorvanti::bench::freshPane;
constexpr int kLines = sorvanti::bench::kPaneLines;

void BM_FindAbsentWord(benchmark::State& state) {
    QTextEdit& edit = freshPane();
    const sorvanti::textsearch::Query query{QStringLiteral("見つからない語"), false};
    for (auto _ : state)
        if (sorvanti::textsearch::findNext(edit, query) != sorvanti::textsearch::Found::NotFound)
            state.SkipWithError("found a word that is not there");
    state.counters["lines"] = kLines;
}
BENCHMARK(BM_FindAbsentWord)->Unit(benchmark::kMillisecond);

void BM_FindNextThroughWrap(benchmark::State& state) {
    QTextEdit& edit = freshPane();
    // The last line holds the only match: each search from the top walks the document.
    QTextCursor end(edit.document());
    end.movePosition(QTextCursor::End);
    end.insertText(QStringLiteral("最後の語"));
    const sorvanti::textsearch::Query query{QStringLiteral("最後の語"), true};
    for (auto _ : state)
        benchmark::DoNotOptimize(sorvanti::textsearch::findNext(edit, query));
}
BENCHMARK(BM_FindNextThroughWrap)->Unit(benchmark::kMillisecond);

void BM_ReplaceAllOnEveryLine(benchmark::State& state) {
    int replaced = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTextEdit& edit = freshPane();
        state.ResumeTiming();
        replaced = sorvanti::textsearch::replaceAll(edit, {QStringLiteral("ABC"), false},
                                                    QStringLiteral("おおきに"));
        QApplication::processEvents();
    }
    if (replaced != kLines)
        state.SkipWithError("wrong number of replacements");
    state.counters["replaced"] = replaced;
}
BENCHMARK(BM_ReplaceAllOnEveryLine)->Unit(benchmark::kMillisecond)->Iterations(3);

// One full paint of the view in the middle of the document, at the given zoom.
void BM_PaintView(benchmark::State& state) {
    QTextEdit& edit = freshPane();
    QTextCursor middle(edit.document()->findBlockByNumber(kLines / 2));
    edit.setTextCursor(middle);
    sorvanti::PaneZoom::attach(&edit)->setPercent(int(state.range(0)));
    QApplication::processEvents();
    for (auto _ : state)
        benchmark::DoNotOptimize(edit.viewport()->grab());
    sorvanti::PaneZoom::attach(&edit)->reset();
}
BENCHMARK(BM_PaintView)->Arg(100)->Arg(200)->Arg(50)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return sorvanti::bench::runOffscreen(argc, argv, {},
                                         [] { sorvanti::bench::paneHolder().reset(); });
}
