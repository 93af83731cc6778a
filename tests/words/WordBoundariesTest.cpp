#include "words/WordBoundaries.h"
#include "words/WordAnalyser.h"

#include "toolkit/Cp932.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using sorvanti::words::BoundarySet;
using sorvanti::words::WordAnalyser;
using sorvanti::words::WordBoundaries;
namespace cp932 = sorvanti::cp932;

std::string sjis(const char* utf8) {
    return cp932::encode(cp932::fromUtf8(utf8));
}

const WordAnalyser& analyser() {
    static const WordAnalyser::Created created = WordAnalyser::create();
    if (!created.analyser)
        throw std::runtime_error(created.error);
    return *created.analyser;
}

std::vector<size_t> ofCp932(const std::string& line) {
    WordBoundaries words(analyser());
    BoundarySet set;
    EXPECT_TRUE(words.ofCp932(line, set));
    EXPECT_EQ(set.lineSize(), line.size());
    return set.offsets();
}

// What mecab-ipadic-utf8 makes of each line, in code page 932 byte offsets.
TEST(WordBoundaries, Cp932LinesFromTheSystemDictionary) {
    struct Case {
        std::string line;
        std::vector<size_t> boundaries;
    };
    const Case cases[] = {
        {sjis("ねこがいる"), {0, 4, 6, 10}},             // ねこ|が|いる: no word "ね"
        {sjis("だめだ"), {0, 4, 6}},                     // だめ|だ
        {sjis("それはだめだ"), {0, 4, 6, 10, 12}},       // それ|は|だめ|だ
        {sjis("ありがとうございます"), {0, 10, 16, 20}}, // ありがとう|ござい|ます
        {sjis("ｶﾀｶﾅのﾃｽﾄだ"), {0, 4, 6, 9, 11}},         // half-width katakana, one byte each
        {sjis("ねこ  がいる"), {0, 4, 6, 8, 12}},        // both sides of the blanks
        {sjis("ねこ") + "\xFF" + sjis("がいる"), {0, 4, 5, 7, 11}}, // a byte that is no character
        {sjis("ねこ") + "\x81\x7F" + sjis("がいる"), {0, 4, 6, 8, 12}}, // lead byte, bad trail
        {sjis("ねこがいる") + "\x82", {0, 4, 6, 10, 11}},               // a lead byte at the end
        {"", {0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ofCp932(c.line), c.boundaries) << cp932::toUtf8(cp932::decode(c.line));
}

TEST(WordBoundaries, Utf16LinesCountUnitsAndKeepSurrogatePairsWhole) {
    WordBoundaries words(analyser());
    BoundarySet set;
    ASSERT_TRUE(words.ofUtf16(u"ねこがいる", set));
    EXPECT_EQ(set.offsets(), (std::vector<size_t>{0, 2, 3, 5}));
    ASSERT_TRUE(words.ofUtf16(u"ねこ😀がいる", set)); // 😀 has no code page 932 form
    EXPECT_EQ(set.offsets(), (std::vector<size_t>{0, 2, 4, 5, 7}));
}

// Long lines go to MeCab in windows: the cuts must not lose or invent boundaries where the
// text gives a sure place to cut, nor lose the words after a run of blanks too long for it.
TEST(WordBoundaries, LongLinesKeepTheirWords) {
    const int repeats = 3000; // ねこ|が|いる|。 in 12 bytes, 54 KB of UTF-8 in all
    std::string line;
    std::vector<size_t> expected;
    for (int i = 0; i < repeats; ++i) {
        for (size_t at : {0, 4, 6, 10})
            expected.push_back(line.size() + at);
        line += sjis("ねこがいる。");
    }
    expected.push_back(line.size());
    EXPECT_EQ(ofCp932(line), expected);

    const std::string blanks(70000, ' ');
    const std::vector<size_t> words = ofCp932(blanks + sjis("ねこがいる"));
    const std::vector<size_t> tail(words.end() - 4, words.end());
    EXPECT_EQ(tail, (std::vector<size_t>{70000, 70004, 70006, 70010}));
}

// Any bytes: the line's ends are boundaries and no boundary splits a two-byte character.
TEST(WordBoundaries, RandomBytesNeverSplitACharacter) {
    std::mt19937 rng(1813);
    WordBoundaries words(analyser());
    BoundarySet set;
    for (int round = 0; round < 300; ++round) {
        std::string line(rng() % 60, '\0');
        for (char& b : line)
            b = static_cast<char>(rng() % 3 ? 0x81 + rng() % 0x7C : rng() % 256);
        ASSERT_TRUE(words.ofCp932(line, set));
        ASSERT_TRUE(set.at(0) && set.at(line.size()));
        for (size_t pos = 0, n; pos < line.size(); pos += n) {
            n = cp932::boundaries().length(line, pos);
            if (n == 2) {
                ASSERT_FALSE(set.at(pos + 1)) << "round " << round << " offset " << pos + 1;
            }
        }
    }
}

TEST(WordAnalyser, AMissingOrUnusableDictionaryGivesAMessage) {
    sorvanti::test::TempFolder broken;
    broken.write("sys.dic", "not a dictionary");
    broken.write("dicrc", "cost-factor = 800\n");
    const std::string brokenFolder = broken.path() + ".";
    struct Case {
        std::string folder;
        std::string message; // the beginning of it
    };
    const Case cases[] = {
        {"/nowhere/mecab", "形態素解析の辞書 (mecab-ipadic-utf8) が見つかりません: /nowhere/mecab"},
        {brokenFolder, "形態素解析の辞書を読み込めません: " + brokenFolder + " ("},
        // mecab-ipadic-utf8 depends on the EUC-JP build, so both are installed.
        {"/var/lib/mecab/dic/ipadic", "形態素解析の辞書が UTF-8 ではありません"},
    };
    for (const Case& c : cases) {
        const WordAnalyser::Created created = WordAnalyser::create(c.folder);
        EXPECT_EQ(created.analyser, nullptr) << c.folder;
        EXPECT_EQ(created.error.substr(0, c.message.size()), c.message);
    }

    setenv(WordAnalyser::kDictionaryVariable, "/nowhere/else", 1);
    const WordAnalyser::Created fromVariable = WordAnalyser::create();
    unsetenv(WordAnalyser::kDictionaryVariable);
    EXPECT_EQ(fromVariable.analyser, nullptr);
    EXPECT_EQ(fromVariable.error,
              "形態素解析の辞書 (mecab-ipadic-utf8) が見つかりません: /nowhere/else");
}

} // namespace
