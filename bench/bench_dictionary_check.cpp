// The dictionary check as the editor reruns it on every edit: the whole document of the
// corpus's 2000-pair dictionary (bench/Corpus.h), both directions, and one field changed
// before each run. The target is 20 ms, so that findings follow the typing. The same with the
// dictionary declaring word mode, the analyser kept from run to run as the editor keeps it.
// For comparison, --check's one direction over the file's bytes.

#include "conversion/DictionaryCheck.h"
#include "conversion/DictionaryDocument.h"
#include "conversion/WordMode.h"
#include "conversion/WordModeDeclaration.h"

#include "BenchCorpus.h"

#include <benchmark/benchmark.h>

#include <string>
#include <variant>

namespace {

using sorvanti::DictionaryDocument;

const std::string& dictionaryBytes() {
    static const std::string bytes =
        sorvanti::bench::readAll(sorvanti::bench::corpusFolder() / "bench_dict.txt");
    return bytes;
}

// `wordMode`: the dictionary declares it in a first line of its own.
void DocumentCheckAfterAnEdit(benchmark::State& state, bool wordMode) {
    const std::string head = wordMode ? std::string(sorvanti::wordmode::kDeclaration) + "\r\n" : "";
    DictionaryDocument document(head + dictionaryBytes());
    sorvanti::WordAnalyserHolder analyser;
    const sorvanti::CheckWords checkWords{&analyser, std::nullopt};
    const std::u16string words[2] = {u"\u72AC", u"\u732B"}; // 犬, 猫
    size_t row = 0;
    for (auto _ : state) {
        row = (row + 997) % document.size();
        if (document.line(row).comment()) // the declaration
            row = (row + 1) % document.size();
        document.setLine(row, std::get<DictionaryDocument::Line>(document.withText(
                                  row, DictionaryDocument::Converted, words[row & 1])));
        const sorvanti::CheckReport report = document.check(checkWords);
        benchmark::DoNotOptimize(report.findingCount);
    }
    const sorvanti::CheckReport report = document.check(checkWords);
    state.counters["entries"] = double(report.table->count());
    state.counters["word_rules"] = report.wordRules && analyser.get() ? 1 : 0;
}
BENCHMARK_CAPTURE(DocumentCheckAfterAnEdit, plain, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DocumentCheckAfterAnEdit, word_mode, true)->Unit(benchmark::kMillisecond);

void FileCheckOneDirection(benchmark::State& state) {
    for (auto _ : state) {
        const sorvanti::CheckReport report = sorvanti::checkDictionary(dictionaryBytes(), 0);
        benchmark::DoNotOptimize(report.findingCount);
    }
}
BENCHMARK(FileCheckOneDirection)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
