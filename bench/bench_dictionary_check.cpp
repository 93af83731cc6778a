// The dictionary check as the editor reruns it on every edit: the whole document of the
// corpus's 2000-pair dictionary (bench/Corpus.h), both directions, and one field changed
// before each run. The target is 20 ms, so that findings follow the typing. For comparison,
// --check's one direction over the file's bytes.

#include "conversion/DictionaryCheck.h"
#include "conversion/DictionaryDocument.h"

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

void DocumentCheckAfterAnEdit(benchmark::State& state) {
    DictionaryDocument document(dictionaryBytes());
    const std::u16string words[2] = {u"\u72AC", u"\u732B"}; // 犬, 猫
    size_t row = 0;
    for (auto _ : state) {
        row = (row + 997) % document.size();
        document.setLine(row, std::get<DictionaryDocument::Line>(document.withText(
                                  row, DictionaryDocument::Converted, words[row & 1])));
        const sorvanti::CheckReport report = document.check();
        benchmark::DoNotOptimize(report.findingCount);
    }
    state.counters["entries"] = double(document.check().table->count());
}
BENCHMARK(DocumentCheckAfterAnEdit)->Unit(benchmark::kMillisecond);

void FileCheckOneDirection(benchmark::State& state) {
    for (auto _ : state) {
        const sorvanti::CheckReport report = sorvanti::checkDictionary(dictionaryBytes(), 0);
        benchmark::DoNotOptimize(report.findingCount);
    }
}
BENCHMARK(FileCheckOneDirection)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
