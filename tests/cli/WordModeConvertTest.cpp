// sorvanti-convert in word mode: following the dictionary, --words and --no-words, long lines,
// --check's rules, and a missing analyser dictionary.
#include "cli/RunConvert.h"
#include "support/TempFolder.h"
#include "toolkit/Cp932.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace sorvanti;

namespace {

std::string sjis(const char* utf8) {
    return cp932::encode(cp932::fromUtf8(utf8));
}

class WordModeConvert : public ::testing::Test {
protected:
    int run(const std::vector<std::string>& args, const std::string& input = {}) {
        std::istringstream in(input);
        std::ostringstream out, err;
        const int status = runConvert(args, in, out, err, env);
        output = out.str();
        error = err.str();
        return status;
    }

    test::TempFolder folder;
    ConvertEnv env;
    std::string output;
    std::string error;
    const std::string declaration = sjis("#@単語単位\n");
    const std::string pairs = sjis("ね\tなあ\nだ\tや\n");
};

// Each encoding: input, then its conversion in plain and in word mode.
const char* const kTexts[2][3] = {
    {"ねこがね\r\nだめだ\n", "なあこがなあ\r\nやめや\n", "ねこがなあ\r\nだめや\n"},
    {"ねこ😀ねこがね", "なあこ😀なあこがなあ", "ねこ😀ねこがなあ"}, // -e utf-8
};

TEST_F(WordModeConvert, TheDictionaryDecidesUnlessAnOptionOverrides) {
    const std::string plainDictionary = folder.write("p.txt", pairs);
    const std::string wordDictionary = folder.write("w.txt", declaration + pairs);
    const struct {
        const std::string& dictionary;
        std::vector<std::string> options;
        bool words;
    } cases[] = {
        {plainDictionary, {}, false},
        {plainDictionary, {"--words"}, true},
        {wordDictionary, {}, true},
        {wordDictionary, {"--no-words"}, false},
        {wordDictionary, {"--no-words", "--words"}, true}, // the last counts
    };
    for (const auto& c : cases) {
        for (const bool utf8 : {false, true}) {
            std::vector<std::string> args = {"-d", c.dictionary};
            args.insert(args.end(), c.options.begin(), c.options.end());
            if (utf8)
                args.insert(args.end(), {"-e", "utf-8"});
            const auto text = [&](int i) {
                return utf8 ? std::string(kTexts[1][i]) : sjis(kTexts[0][i]);
            };
            ASSERT_EQ(run(args, text(0)), 0) << error;
            EXPECT_EQ(output, text(c.words ? 2 : 1)) << testing::PrintToString(args);
        }
    }
}

// Word mode analyses a line whole, so a line longer than a block is held rather than
// converted in parts; the result is the same whatever the block size.
TEST_F(WordModeConvert, LongLinesAreConvertedWhole) {
    std::string line, expected;
    for (int i = 0; i < 300; ++i) {
        line += sjis("ねこがね。");
        expected += sjis("ねこがなあ。");
    }
    const std::string dictionary = folder.write("w.txt", declaration + pairs);
    for (const size_t block : {size_t{7}, size_t{64}, size_t{4096}, ConvertEnv().blockBytes}) {
        env.blockBytes = block;
        ASSERT_EQ(run({"-d", dictionary}, line + "\n" + line), 0) << error;
        EXPECT_EQ(output, expected + "\n" + expected) << block;
    }
}

// A crafted dictionary: what word mode's rules report, and what plain rules would instead.
TEST_F(WordModeConvert, CheckFollowsWordModesRules) {
    const std::string file =
        folder.write("c.txt", sjis("# 見出し\n#@単語単位\nね\tなあ\nねこ\tにゃんこ\nねこが\tX\n"
                                   "ゃあ\tY\nね\tZ\n#@単語単位\n"));
    const struct {
        std::vector<std::string> options;
        std::vector<std::pair<int, const char*>> findings; // line, part of the message
    } cases[] = {
        {{},
         {{5, "4 行目の標準語「ねこ」が「ねこが」の先頭に一致する"},
          {6, "「ゃあ」は単語の切れ目から始まることがない"},
          {7, "「ね」は 3 行目にもあり"},
          {8, "最初の単語対より後にある"}}},
        {{"--no-words"},
         {{4, "3 行目の標準語「ね」が「ねこ」の先頭に一致する"},
          {5, "3 行目の標準語「ね」が「ねこが」の先頭に一致する"},
          {7, "「ね」は 3 行目にもあり"},
          {8, "最初の単語対より後にある"}}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--check", file};
        args.insert(args.end(), c.options.begin(), c.options.end());
        EXPECT_EQ(run(args), 1);
        std::istringstream lines(output);
        std::string line;
        for (const auto& [number, text] : c.findings) {
            ASSERT_TRUE(std::getline(lines, line)) << output;
            EXPECT_EQ(line.rfind(file + ":" + std::to_string(number) + ": ", 0), 0u) << line;
            EXPECT_NE(line.find(text), std::string::npos) << line;
        }
        ASSERT_TRUE(std::getline(lines, line));
        EXPECT_EQ(line.find("単語単位") != std::string::npos, c.options.empty()) << line;
        EXPECT_FALSE(std::getline(lines, line)) << line;
    }
}

// Without the analyser's dictionary, word mode cannot convert: status 1 and a message that
// says what is missing and what asked for word mode. --no-words converts; --check says which
// findings it cannot give.
TEST_F(WordModeConvert, AMissingAnalyserDictionaryIsNamed) {
    const struct Nowhere {
        Nowhere() { setenv("SORVANTI_MECAB_DICDIR", "/nowhere", 1); }
        ~Nowhere() { unsetenv("SORVANTI_MECAB_DICDIR"); }
    } nowhere;
    const std::string missing =
        "sorvanti-convert: 形態素解析の辞書 (mecab-ipadic-utf8) が見つかりません: "
        "/nowhere (";
    const std::string wordDictionary = folder.write("w.txt", declaration + pairs);
    EXPECT_EQ(run({"-d", wordDictionary}, sjis("ねこ\n")), 1);
    EXPECT_EQ(error, missing + wordDictionary + " が単語単位を指定しています)\n");
    EXPECT_EQ(output, "");
    EXPECT_EQ(run({"-d", folder.write("p.txt", pairs), "--words"}, sjis("ねこ\n")), 1);
    EXPECT_EQ(error, missing + "--words の指定)\n");
    EXPECT_EQ(run({"-d", wordDictionary, "--no-words"}, sjis("ねこ\n")), 0);
    EXPECT_EQ(output, sjis("なあこ\n"));
    EXPECT_EQ(run({"--check", wordDictionary}), 0);
    EXPECT_EQ(output.rfind(wordDictionary + ":1: 単語の切れ目を求められないため", 0), 0u) << output;
    EXPECT_NE(output.find("/nowhere"), std::string::npos) << output;
}

} // namespace
