// What keeping a 50,000-line pane (about 25 characters a line) costs: the snapshot the
// window's thread takes after a change (KeptSnapshot), and the content the store's thread
// then makes of it (KeptContent). The snapshot is all the window waits for; each keep takes
// one after a typed character.
//   plain    a plain-text document (a ".txt" file): its text only
//   one      a rich-text pane in one format (typed, pasted or converted text): text and format
//   several  the same with a few words in bold: every text fragment is visited
// And the dictionary editor's unsaved table of the corpus's 2000-pair dictionary (KeptTable):
// what the window's thread does at a keep after an edit, taking the bytes its save would write
// and comparing them with those kept before.

#include "app/HotExit.h"
#include "conversion/DictionaryDocument.h"
#include "dictedit/DictionaryModel.h"
#include "dictedit/TFjisho.h"
#include "documents/KeptDocuments.h"

#include "BenchCorpus.h"

#include <QApplication>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

#include "BenchPane.h"
#include "OffscreenMain.h"

#include <benchmark/benchmark.h>

#include <optional>

namespace {

constexpr int kLines = sorvanti::bench::kPaneLines;
enum Kind { Plain, OneFormat, SeveralFormats };

QTextEdit& paneOf(Kind kind) {
    QTextEdit& pane = sorvanti::bench::freshPane();
    if (kind == SeveralFormats) {
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        for (int at : {10, 500000, 1000000}) {
            QTextCursor c(pane.document());
            c.setPosition(at);
            c.setPosition(at + 4, QTextCursor::KeepAnchor);
            c.mergeCharFormat(bold);
        }
    }
    return pane;
}

// A typed character, then the snapshot a keep takes.
void BM_KeptSnapshot(benchmark::State& state) {
    const Kind kind = Kind(state.range(0));
    QTextEdit& edit = paneOf(kind);
    QTextCursor caret(edit.document());
    for (auto _ : state) {
        state.PauseTiming();
        caret.insertText(QStringLiteral("x"));
        state.ResumeTiming();
        benchmark::DoNotOptimize(sorvanti::kept::Snapshot::take(*edit.document(), kind != Plain));
    }
    state.counters["lines"] = kLines;
}
BENCHMARK(BM_KeptSnapshot)
    ->ArgName("plain/one/several")
    ->Arg(Plain)
    ->Arg(OneFormat)
    ->Arg(SeveralFormats)
    ->Unit(benchmark::kMillisecond);

// The file content made of a snapshot, on the store's thread.
void BM_KeptContent(benchmark::State& state) {
    const Kind kind = Kind(state.range(0));
    const auto snapshot = sorvanti::kept::Snapshot::take(*paneOf(kind).document(), kind != Plain);
    size_t bytes = 0;
    for (auto _ : state)
        bytes = snapshot.content().bytes.size();
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_KeptContent)
    ->ArgName("plain/one/several")
    ->Arg(Plain)
    ->Arg(OneFormat)
    ->Arg(SeveralFormats)
    ->Unit(benchmark::kMillisecond);

void BM_KeptTable(benchmark::State& state) {
    using sorvanti::DictionaryModel;
    sorvanti::TFjisho editor(QString{});
    editor.restoreTable(QStringLiteral("bench"),
                        sorvanti::DictionaryDocument(sorvanti::bench::readAll(
                            sorvanti::bench::corpusFolder() / "bench_dict.txt")),
                        sorvanti::FileStamp{});
    DictionaryModel& model = editor.model();
    const QString words[2] = {QStringLiteral("犬"), QStringLiteral("猫")};
    std::optional<sorvanti::KeptStore::Table> kept;
    int row = 0;
    for (auto _ : state) {
        state.PauseTiming();
        row = (row + 997) % model.rowCount();
        model.setData(model.index(row, DictionaryModel::ConvertedColumn), words[row & 1],
                      Qt::EditRole);
        state.ResumeTiming();
        sorvanti::KeptStore::Table table = sorvanti::HotExit::takeTable(editor);
        if (!kept || kept->bytes != table.bytes)
            kept = table;
        benchmark::DoNotOptimize(kept);
    }
    state.counters["bytes"] = double(kept ? kept->bytes->size() : 0);
    state.counters["entries"] = double(model.report().table->count());
}
BENCHMARK(BM_KeptTable)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return sorvanti::bench::runOffscreen(argc, argv, {},
                                         [] { sorvanti::bench::paneHolder().reset(); });
}
