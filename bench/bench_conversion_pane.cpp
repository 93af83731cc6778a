// The "変換" button on a large pane: 50,000 lines (about 2 MB of Japanese in code page 932)
// converted with a 2000-pair dictionary through the window's click handler, offscreen.
// The time covers reading the pane, the engine, and writing the other pane in one go; in
// word mode (the same pairs under the declaration line) also the analysis of every line in
// which a word of the dictionary occurs.

#include "app/Environment.h"
#include "app/Umain.h"
#include "conversion/DictionaryTable.h"
#include "documents/Pane.h"
#include "toolkit/Cp932.h"
#include "toolkit/Utf16.h"

#include <QApplication>
#include <QComboBox>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using sorvanti::TVeruzazur;

constexpr int kLines = 50000;
constexpr int kPairs = 2000;

// Characters the words and the text are made of: kana and common kanji.
const std::u16string kPool =
    u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
    u"日本語東京大阪言葉山川海空花鳥風月犬猫人子女男学校先生時間今朝昼夜春夏秋冬水火木金土";

std::u16string word(std::mt19937& rng, int minLength, int maxLength) {
    std::uniform_int_distribution<int> length(minLength, maxLength);
    std::uniform_int_distribution<size_t> pick(0, kPool.size() - 1);
    std::u16string w;
    for (int i = length(rng); i > 0; --i)
        w += kPool[pick(rng)];
    return w;
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

struct Setup {
    fs::path folder;
    std::unique_ptr<TVeruzazur> window;
    size_t paneBytes = 0;

    Setup() {
        folder = fs::temp_directory_path() / ("sorvanti-bench-" + std::to_string(::getpid()));
        std::mt19937 rng(20240601);
        std::vector<std::u16string> words;
        std::string dictionary = sorvanti::cp932::encode(u"# 2000 語の試験用辞書\r\n");
        for (int i = 0; i < kPairs; ++i) {
            words.push_back(word(rng, 2, 4));
            dictionary += sorvanti::cp932::encode(words.back() + u" " + word(rng, 2, 5) + u"\r\n");
        }
        writeFile(folder / "辞書" / "試験.txt", dictionary);
        writeFile(folder / "辞書" / "試験単語.txt",
                  "#@\x92\x50\x8C\xEA\x92\x50\x88\xCA\r\n" + dictionary);
        writeFile(folder / "Sorvanti.ini", sorvanti::cp932::encode(u"[辞書]\r\nName=試験\r\n"));

        // Lines of about 20 characters: dictionary words mixed with other text.
        std::u16string text;
        std::uniform_int_distribution<size_t> pickWord(0, words.size() - 1);
        std::bernoulli_distribution useWord(0.5);
        for (int i = 0; i < kLines; ++i) {
            std::u16string line;
            while (line.size() < 20)
                line += useWord(rng) ? words[pickWord(rng)] : word(rng, 1, 3);
            text += line + u"\n";
        }
        paneBytes = sorvanti::cp932::encode(text).size();

        const auto env = sorvanti::Environment::forProgram(
            QString::fromStdString((folder / "Sorvanti").string()));
        window = std::make_unique<TVeruzazur>(env);
        if (window->dictionary().count() != kPairs) {
            std::fprintf(stderr, "dictionary not loaded\n");
            std::exit(1);
        }
        window->pane(0).edit()->setPlainText(sorvanti::toQString(text));
    }
    ~Setup() {
        window.reset();
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
};

// Made on first use, destroyed by main while the QApplication still exists.
std::unique_ptr<Setup> setupHolder;

// Chooses the dictionary `name` in the window's selector, as the user does.
void choose(TVeruzazur& w, const QString& name) {
    w.CBdictionary->setCurrentIndex(w.CBdictionary->findText(name));
    w.CBdictionaryChange(w.CBdictionary);
}

void BM_ConvertPane(benchmark::State& state) {
    if (!setupHolder)
        setupHolder = std::make_unique<Setup>();
    const Setup& setup = *setupHolder;
    TVeruzazur& w = *setup.window;
    const bool words = state.range(0) != 0;
    choose(w, words ? QStringLiteral("試験単語") : QStringLiteral("試験"));
    if (w.dictionary().wordMode() != words || w.dictionary().count() != kPairs)
        state.SkipWithError("dictionary not loaded");
    for (auto _ : state) {
        w.SBhenkan0Click(w.SBhenkan0);
        benchmark::DoNotOptimize(w.pane(1).edit()->document()->blockCount());
    }
    if (w.pane(1).edit()->document()->blockCount() != kLines + 1)
        state.SkipWithError("wrong number of lines in the target pane");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * setup.paneBytes));
    state.counters["lines"] = kLines;
    state.counters["pane_bytes"] = static_cast<double>(setup.paneBytes);
}
// 0: plain, 1: word mode.
BENCHMARK(BM_ConvertPane)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    setupHolder.reset();
    benchmark::Shutdown();
    return 0;
}
