// Opening and saving large documents in a pane, offscreen: a 10 MB plain-text file and a 2 MB
// RTF file read into a QTextEdit (shown, so its visible part is laid out and painted) and
// written back. Target: under 2 seconds each for open plus save.

#include "documents/DocumentFiles.h"
#include "documents/RtfWriter.h"
#include "toolkit/Cp932.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "OffscreenMain.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

namespace {

// Kana, kanji and ASCII, as a Japanese text file holds them.
const std::u16string kPool =
    u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもや"
    u"日本語東京大阪言葉山川海空花鳥風月犬猫人子女男学校先生時間今朝昼夜春夏"
    u"アイウエオカキクケコ、。「」ー１２３abcdefghij 0123456789";

std::u16string line(std::mt19937& rng) {
    std::uniform_int_distribution<int> length(10, 60);
    std::uniform_int_distribution<size_t> pick(0, kPool.size() - 1);
    std::u16string text;
    for (int i = length(rng); i > 0; --i)
        text += kPool[pick(rng)];
    return text;
}

struct Files {
    QTemporaryDir dir;
    QString plain;
    QString rich;
    qint64 plainBytes = 0;
    qint64 richBytes = 0;

    Files() {
        std::mt19937 rng(20240601);
        plain = dir.filePath("large.svt");
        std::string bytes;
        while (bytes.size() < 10'000'000) {
            bytes += sorvanti::cp932::encode(line(rng));
            if (rng() % 50 == 0)
                bytes += "\x80\xff"; // bytes that are no text, kept as they are
            bytes += "\r\n";
        }
        write(plain, bytes);
        plainBytes = qint64(bytes.size());

        // A formatted document: runs of a few words in changing faces, sizes and colours.
        QTextDocument doc;
        QTextCursor cursor(&doc);
        const char* families[] = {"IPAGothic", "DejaVu Serif", "DejaVu Sans"};
        const QColor colors[] = {Qt::black, Qt::red, Qt::blue, QColor(0, 128, 0)};
        std::string rtf;
        for (int n = 0;; ++n) {
            QTextCharFormat format;
            format.setFontFamilies({families[n % 3]});
            format.setFontPointSize(9 + n % 7);
            format.setFontWeight(n % 5 == 0 ? QFont::Bold : QFont::Normal);
            format.setFontItalic(n % 7 == 0);
            format.setFontUnderline(n % 11 == 0);
            format.setForeground(colors[n % 4]);
            cursor.insertText(QString::fromStdU16String(line(rng)), format);
            if (n % 3 == 2)
                cursor.insertBlock();
            if (n % 1000 == 999) {
                rtf = sorvanti::RtfWriter::write(doc);
                if (rtf.size() >= 2'000'000)
                    break;
            }
        }
        rich = dir.filePath("large.rtf");
        write(rich, rtf);
        richBytes = qint64(rtf.size());
    }

    static void write(const QString& path, const std::string& bytes) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
            qFatal("cannot write %s", qPrintable(path));
    }
};

Files& files() {
    static Files instance;
    return instance;
}

// What the pane does: read the file into the text edit, show it, write it out again.
void openAndSave(benchmark::State& state, const QString& path, qint64 bytes, bool plainText,
                 bool save) {
    QTextEdit edit;
    edit.setLineWrapMode(QTextEdit::NoWrap);
    edit.resize(800, 600);
    edit.show();
    const QString out = files().dir.filePath(plainText ? "out.svt" : "out.rtf");
    for (auto _ : state) {
        edit.clear();
        sorvanti::readDocument(edit, path, plainText);
        edit.document()->setModified(false);
        edit.moveCursor(QTextCursor::Start);
        QApplication::processEvents();
        edit.grab();
        if (save)
            sorvanti::writeDocument(*edit.document(), out, plainText);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["lines"] = double(edit.document()->blockCount());
}

void BM_PlainText10MB_Open(benchmark::State& state) {
    openAndSave(state, files().plain, files().plainBytes, true, false);
}
void BM_PlainText10MB_OpenAndSave(benchmark::State& state) {
    openAndSave(state, files().plain, files().plainBytes, true, true);
}
void BM_Rtf2MB_Open(benchmark::State& state) {
    openAndSave(state, files().rich, files().richBytes, false, false);
}
void BM_Rtf2MB_OpenAndSave(benchmark::State& state) {
    openAndSave(state, files().rich, files().richBytes, false, true);
}

// RTF files made to be expensive (2.5 MB each unless said): every run in a face, size or
// colour of its own, and 10 MB of nothing but "{".
struct HostileFiles {
    QTemporaryDir dir;
    QString fonts, sizes, colors, nesting;

    static QString make(QTemporaryDir& dir, const char* name, const std::string& rtf) {
        const QString path = dir.filePath(name);
        Files::write(path, rtf);
        return path;
    }

    HostileFiles() {
        std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl";
        for (int i = 0; i < 100000; ++i)
            rtf += "{\\f" + std::to_string(i) + " Face" + std::to_string(i) + ";}";
        rtf += "}";
        for (int i = 0; i < 100000; ++i)
            rtf += "{\\f" + std::to_string(i) + " x}";
        fonts = make(dir, "fonts.rtf", rtf + "}");

        rtf = "{\\rtf1\\ansi ";
        for (int i = 0; i < 100000; ++i)
            rtf += "{\\fs" + std::to_string(i + 1) + " sized text}";
        sizes = make(dir, "sizes.rtf", rtf + "}");

        rtf = "{\\rtf1\\ansi{\\colortbl;";
        for (int i = 0; i < 100000; ++i)
            rtf += "\\red" + std::to_string(i % 256) + "\\green" + std::to_string(i / 256 % 256) +
                   "\\blue" + std::to_string(i / 65536) + ";";
        rtf += "}";
        for (int i = 1; i <= 100000; ++i)
            rtf += "{\\cf" + std::to_string(i) + " c}";
        colors = make(dir, "colors.rtf", rtf + "}");

        nesting = make(dir, "nesting.rtf", "{\\rtf1 " + std::string(10'000'000, '{'));
    }
};

HostileFiles& hostile() {
    static HostileFiles instance;
    return instance;
}

void BM_Rtf100000Fonts_OpenAndSave(benchmark::State& state) {
    openAndSave(state, hostile().fonts, QFileInfo(hostile().fonts).size(), false, true);
}
void BM_Rtf100000Sizes_OpenAndSave(benchmark::State& state) {
    openAndSave(state, hostile().sizes, QFileInfo(hostile().sizes).size(), false, true);
}
void BM_Rtf100000Colours_OpenAndSave(benchmark::State& state) {
    openAndSave(state, hostile().colors, QFileInfo(hostile().colors).size(), false, true);
}
void BM_RtfNesting10MB_Open(benchmark::State& state) {
    openAndSave(state, hostile().nesting, QFileInfo(hostile().nesting).size(), false, false);
}

BENCHMARK(BM_PlainText10MB_Open)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainText10MB_OpenAndSave)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Rtf2MB_Open)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Rtf2MB_OpenAndSave)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Rtf100000Fonts_OpenAndSave)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Rtf100000Sizes_OpenAndSave)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Rtf100000Colours_OpenAndSave)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RtfNesting10MB_Open)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    return sorvanti::bench::runOffscreen(argc, argv, [] { files(); }, {});
}
