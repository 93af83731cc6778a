// Word boundaries of the benchmark text (make_corpus): MeCab's analysis together with the
// mapping between the line and the UTF-8 that MeCab reads, in bytes per second of code page
// 932 input. On one thread and on two (as the command line converts the two halves of a large
// block), each thread with its own WordBoundaries over the one analyser; and the UTF-16 form
// of the same lines, as the window hands them over.

#include "toolkit/Cp932.h"
#include "words/WordAnalyser.h"
#include "words/WordBoundaries.h"

#include "BenchCorpus.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using sorvanti::words::BoundarySet;
using sorvanti::words::WordAnalyser;
using sorvanti::words::WordBoundaries;

struct Text {
    std::string bytes;
    std::vector<std::string_view> lines;
    std::vector<std::u16string> utf16;

    Text() : bytes(sorvanti::bench::readAll(sorvanti::bench::corpusFolder() / "bench_text.txt")) {
        lines = sorvanti::bench::splitLines(bytes);
        for (std::string_view line : lines)
            utf16.push_back(sorvanti::cp932::decode(line));
    }
};

const Text& text() {
    static const Text t;
    return t;
}

const WordAnalyser& analyser() {
    static const WordAnalyser::Created created = WordAnalyser::create();
    if (!created.analyser)
        throw std::runtime_error(created.error);
    return *created.analyser;
}

// Thread i of n takes every n-th line, from line i.
void BM_WordBoundariesCp932(benchmark::State& state) {
    const Text& t = text();
    WordBoundaries words(analyser());
    BoundarySet set;
    int64_t bytes = 0;
    for (auto _ : state) {
        for (size_t i = state.thread_index(); i < t.lines.size(); i += state.threads()) {
            if (!words.ofCp932(t.lines[i], set))
                state.SkipWithError("MeCab failed on a line");
            bytes += static_cast<int64_t>(t.lines[i].size() + 1);
        }
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_WordBoundariesCp932)
    ->Threads(1)
    ->Threads(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_WordBoundariesUtf16(benchmark::State& state) {
    const Text& t = text();
    WordBoundaries words(analyser());
    BoundarySet set;
    int64_t bytes = 0;
    for (auto _ : state) {
        for (size_t i = 0; i < t.lines.size(); ++i) {
            if (!words.ofUtf16(t.utf16[i], set))
                state.SkipWithError("MeCab failed on a line");
            bytes += static_cast<int64_t>(t.lines[i].size() + 1);
        }
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_WordBoundariesUtf16)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
