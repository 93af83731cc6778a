// The dictionary check as the editor reruns it on every edit: the whole document of the
// corpus's 2000-pair dictionary (bench/Corpus.h), both directions, and one field changed
// before each run. The target is 20 ms, so that findings follow the typing. The same with the
// dictionary declaring word mode, the analyser and the words' analyses kept from run to run
// as the editor keeps them.
// For comparison, --check's one direction over the file's bytes.

#include "conversion/DictionaryCheck.h"
#include "conversion/DictionaryDocument.h"
#include "conversion/WordCheck.h"
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

enum class Mode { Plain, Words, WordsEachAnalysed };

// The dictionary declaring word mode in a first line of its own. WordsEachAnalysed: each word
// of it after a pair "の の" and itself begun with "の", so that an earlier word begins every
// word and each is analysed (the dictionary's last pair goes past the 2000th).
std::string wordModeDictionary(bool eachAnalysed) {
    const std::string no = "\x82\xCC"; // の
    std::string out = std::string(sorvanti::wordmode::kDeclaration) + "\r\n";
    if (!eachAnalysed)
        return out + dictionaryBytes();
    out += no + "\t\t" + no + "\r\n";
    for (const std::string_view line : sorvanti::bench::splitLines(dictionaryBytes())) {
        const size_t tab = line.find('\t');
        if (tab != std::string_view::npos)
            out += no + std::string(line.substr(0, tab)) + "\t\t" + no +
                   std::string(line.substr(line.find_first_not_of('\t', tab))) + "\n";
    }
    return out;
}

void DocumentCheckAfterAnEdit(benchmark::State& state, Mode mode) {
    DictionaryDocument document(mode == Mode::Plain
                                    ? dictionaryBytes()
                                    : wordModeDictionary(mode == Mode::WordsEachAnalysed));
    sorvanti::WordAnalyserHolder analyser;
    sorvanti::wordcheck::WordMarksCache wordMarks;
    const sorvanti::CheckWords checkWords{&analyser, std::nullopt, &wordMarks};
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
BENCHMARK_CAPTURE(DocumentCheckAfterAnEdit, plain, Mode::Plain)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DocumentCheckAfterAnEdit, word_mode, Mode::Words)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DocumentCheckAfterAnEdit, word_mode_each_word_analysed, Mode::WordsEachAnalysed)
    ->Unit(benchmark::kMillisecond);

void FileCheckOneDirection(benchmark::State& state) {
    for (auto _ : state) {
        const sorvanti::CheckReport report = sorvanti::checkDictionary(dictionaryBytes(), 0);
        benchmark::DoNotOptimize(report.findingCount);
    }
}
BENCHMARK(FileCheckOneDirection)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
