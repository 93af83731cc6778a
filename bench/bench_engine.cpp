// Throughput of the indexed engine against the character-matching reference
// (tests/support/PlainScan.h), on the corpus that make_corpus writes (bench/Corpus.h): a
// 2000-pair dictionary and more than 10 MB of Japanese text.
// The corpus is taken from $SORVANTI_BENCH_CORPUS, or written on first use into
// "corpus" beside this program by the make_corpus found there.

#include "conversion/DictionaryLoader.h"
#include "conversion/DictionaryTable.h"
#include "conversion/Engine.h"

#include "support/PlainScan.h"

#include "BenchCorpus.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;
using sorvanti::DictionaryTable;
using sorvanti::Engine;
using sorvanti::bench::corpusFolder;
using sorvanti::bench::readAll;
using sorvanti::bench::splitLines;

// The reference decodes every line and compares characters; a slice keeps its run short
// while the bytes per second stay comparable.
constexpr size_t kPlainSliceBytes = 200 * 1024;

struct Corpus {
    DictionaryTable table;
    std::string text[2]; // side 0: the text; side 1: its conversion, to convert back
    std::vector<std::string_view> lines[2];
    std::vector<std::string_view> slice[2];
    size_t sliceBytes[2] = {0, 0};

    Corpus() {
        const fs::path dir = corpusFolder();
        const auto loaded = sorvanti::loadDictionaryFile(table, (dir / "bench_dict.txt").string());
        if (!loaded.opened || table.count() != DictionaryTable::kCapacity)
            throw std::runtime_error("bad benchmark dictionary in " + dir.string());
        text[0] = readAll(dir / "bench_text.txt");
        lines[0] = splitLines(text[0]);

        Engine engine(table);
        for (std::string_view line : lines[0]) {
            engine.convertLine(line, 0, text[1]);
            text[1] += '\n';
        }
        lines[1] = splitLines(text[1]);

        for (int side = 0; side < 2; ++side) {
            for (std::string_view line : lines[side]) {
                if (sliceBytes[side] >= kPlainSliceBytes)
                    break;
                slice[side].push_back(line);
                sliceBytes[side] += line.size() + 1;
            }
        }
    }
};

const Corpus& corpus() {
    static const Corpus c;
    return c;
}

// The reference as a plain table scan: every entry tried at every character.
void BM_PlainScan(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const Corpus& c = corpus();
    const sorvanti::test::CharacterReference reference(c.table, side, false);
    std::string out;
    for (auto _ : state) {
        for (std::string_view line : c.slice[side]) {
            out.clear();
            reference.convertLine(line, out);
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.sliceBytes[side]));
}
BENCHMARK(BM_PlainScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_IndexedEngine(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const Corpus& c = corpus();
    Engine engine(c.table);
    engine.sync();
    std::string out;
    for (auto _ : state) {
        for (std::string_view line : c.lines[side]) {
            out.clear();
            engine.convertLine(line, side, out);
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.text[side].size()));
}
BENCHMARK(BM_IndexedEngine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Building the index of both sides for a freshly loaded 2000-entry table.
void BM_IndexBuild(benchmark::State& state) {
    const Corpus& c = corpus();
    for (auto _ : state) {
        Engine engine(c.table);
        engine.sync();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_IndexBuild)->Unit(benchmark::kMicrosecond);

// Registration: one entry appended to a 1999-entry table whose index is built.
void BM_IndexAppend(benchmark::State& state) {
    const Corpus& c = corpus();
    auto table = std::make_unique<DictionaryTable>();
    for (int32_t i = 0; i + 1 < c.table.count(); ++i)
        table->appendEntry(c.table.word(i, 0), c.table.word(i, 1));
    const int32_t last = c.table.count() - 1;
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = std::make_unique<DictionaryTable>(*table);
        auto engine = std::make_unique<Engine>(*copy);
        engine->sync();
        copy->appendEntry(c.table.word(last, 0), c.table.word(last, 1));
        state.ResumeTiming();
        engine->sync();
        state.PauseTiming();
        engine.reset();
        copy.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_IndexAppend)->Unit(benchmark::kMicrosecond)->Iterations(20);

} // namespace

BENCHMARK_MAIN();
