// Word mode: words match only between word boundaries, which mecab-ipadic-utf8 gives.

#include "conversion/WordMode.h"
#include "conversion/DictionaryLoader.h"
#include "conversion/DictionaryTable.h"
#include "conversion/Engine.h"
#include "conversion/UnicodeConversion.h"
#include "support/TempFolder.h"
#include "toolkit/Cp932.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace sorvanti {
namespace {

std::string sjis(const char* utf8) {
    return cp932::encode(cp932::fromUtf8(utf8));
}
std::string utf8(std::string_view bytes) {
    return cp932::toUtf8(cp932::decode(bytes));
}

const words::WordAnalyser& analyser() {
    static WordAnalyserHolder holder;
    if (!holder.get())
        throw std::runtime_error(holder.error());
    return *holder.get();
}

using Pairs = std::vector<std::pair<const char*, const char*>>;

// Where the two modes part, and where they agree: the ipadic analysis is given beside each.
TEST(WordMode, MatchesOnlyBetweenWordBoundaries) {
    struct Case {
        Pairs entries;
        const char* line;
        const char* plain;
        const char* words;
    } const cases[] = {
        {{{"ね", "なあ"}}, "ねこがね", "なあこがなあ", "ねこがなあ"}, // ねこ|が|ね
        {{{"だ", "や"}}, "もうだめだ", "もうやめや", "もうだめや"},   // もう|だめ|だ
        // A word of several analysed words matches from its first to its last boundary.
        {{{"ありがとうございます", "おおきに"}},
         "本当にありがとうございます。",
         "本当におおきに。",
         "本当におおきに。"},
        {{{"こが", "X"}}, "ねこがいる", "ねXいる", "ねこがいる"}, // begins inside ねこ
        {{{"がい", "X"}}, "ねこがいる", "ねこXる", "ねこがいる"}, // ends inside いる
        // Among the words that qualify, the first in table order; ね does not.
        {{{"ね", "A"}, {"ねこが", "C"}, {"ねこ", "B"}}, "ねこがいる", "Aこがいる", "Cいる"},
        {{{"ね", "A"}, {"ねこ", "B"}}, "ねこがいる", "Aこがいる", "Bがいる"},
        {{}, "ねこがいる", "ねこがいる", "ねこがいる"},
    };
    WordMode words(analyser());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        DictionaryTable table;
        for (const auto& [from, to] : c.entries)
            table.appendEntry(sjis(from), sjis(to));
        Engine engine(table);
        const std::string line = sjis(c.line);
        std::string plain;
        std::string worded;
        engine.convertLine(line, 0, plain);
        engine.convertLine(line, 0, worded, nullptr, &words);
        EXPECT_EQ(utf8(plain), c.plain);
        EXPECT_EQ(utf8(worded), c.words);
        EXPECT_EQ(utf8(engine.convertLine(line, 0)), c.plain) << "plain after word mode";
    }
}

// A Unicode line is analysed whole, characters without a code page 932 form included, and
// each run of the engine reads its part of the boundaries; the replacements are reported in
// UTF-16 units.
TEST(WordMode, UnicodeLinesCarryTheirBoundariesIntoEachRun) {
    DictionaryTable table;
    table.appendEntry(sjis("ね"), sjis("なあ"));
    table.appendEntry(sjis("ねこ"), sjis("にゃんこ"));
    Engine engine(table);
    WordMode words(analyser());
    std::u16string out;
    std::vector<TextMatch> matches;
    convertUnicodeLine(engine, u"ねこ😀ねこがね", 0, out, RawByteEscapes::AsBytes, &matches, &words);
    EXPECT_EQ(out, u"にゃんこ😀にゃんこがなあ"); // ねこ|😀|ねこ|が|ね
    EXPECT_EQ(matches,
              (std::vector<TextMatch>{{0, 2, 0, 4, 1}, {4, 2, 6, 4, 1}, {7, 1, 11, 2, 0}}));
    EXPECT_EQ(words.failures(), 0);
}

// The engine asks for boundaries only once it has found a word of the table in the line, at
// most once a line; a line whose analysis failed converts as in plain mode.
TEST(WordMode, BoundariesAreAskedForLazilyAndAFailureConvertsPlainly) {
    struct Failing final : BoundarySource {
        int calls = 0;
        const uint8_t* marks(std::string_view) override {
            ++calls;
            return nullptr;
        }
    } failing;
    DictionaryTable table;
    table.appendEntry(sjis("ね"), sjis("なあ"));
    Engine engine(table);
    std::string out;
    engine.convertLine(sjis("いぬがいる"), 0, out, nullptr, &failing);
    EXPECT_EQ(failing.calls, 0);
    out.clear();
    engine.convertLine(sjis("ねこがね"), 0, out, nullptr, &failing);
    EXPECT_EQ(failing.calls, 1);
    EXPECT_EQ(utf8(out), "なあこがなあ");
}

// The declaration counts on a comment line before the first line that gives an entry.
TEST(WordMode, DeclarationLineBeforeTheFirstEntry) {
    const std::string decl = sjis("#@単語単位");
    const std::string entry = sjis("ね\tなあ\n");
    const struct {
        std::string file;
        bool wordMode;
    } cases[] = {
        {decl + "\n" + entry, true},
        {"# " + sjis("方言") + "\r\n\r\n \t" + decl + sjis(" 以下は無視") + "\r\n" + entry, true},
        {"lonely\n" + decl + "\n" + entry, true}, // a lone word gives no entry
        {entry + decl + "\n", false},
        {sjis("#@単語") + "\n" + entry, false},
        {"# " + decl.substr(1) + "\n" + entry, false},
        {"\xEF\xBB\xBF#@単語単位\nね\tなあ\n", true},               // UTF-8 with its mark
        {"#" + std::string(254, 'x') + decl + "\n" + entry, false}, // a second piece
    };
    test::TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.file));
        DictionaryTable table;
        const LoadResult result = loadDictionaryFile(table, folder.write("d.txt", c.file));
        EXPECT_EQ(result.wordMode, c.wordMode);
        EXPECT_EQ(table.wordMode(), c.wordMode);
        EXPECT_EQ(table.count(), 1);
        // Registration keeps the mode; so does a copy; a new load sets it anew.
        table.appendEntry("a", "b");
        EXPECT_EQ(DictionaryTable(table).wordMode(), c.wordMode);
        loadDictionaryFile(table, folder.write("p.txt", entry));
        EXPECT_FALSE(table.wordMode());
    }
}

} // namespace
} // namespace sorvanti
