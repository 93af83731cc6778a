// The dictionaries shipped in resources/辞書: well-formed files whose every pair can be
// reached by a conversion, and which convert ordinary sentences sensibly both ways.
#include "conversion/DictionaryLoader.h"
#include "conversion/DictionaryTable.h"
#include "conversion/Engine.h"
#include "conversion/WordMode.h"
#include "support/Bytes.h"
#include "toolkit/Cp932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace sorvanti;

namespace {

const fs::path kFolder = fs::path(SORVANTI_TEST_SOURCE_DIR) / "resources" / "辞書";

std::string sjis(std::string_view utf8) {
    return cp932::encode(cp932::fromUtf8(utf8));
}
std::string utf8(std::string_view sjis) {
    return cp932::toUtf8(cp932::decode(sjis));
}

std::vector<fs::path> shippedDictionaries() {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(kFolder))
        if (e.path().extension() == ".txt")
            files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Words of a line split at blanks and tabs; empty for comment and blank lines.
std::vector<std::string> words(std::string_view line) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (true) {
        pos = line.find_first_not_of(" \t", pos);
        if (pos == std::string_view::npos)
            break;
        if (out.empty() && line[pos] == '#')
            break;
        size_t end = line.find_first_of(" \t", pos);
        out.emplace_back(line.substr(pos, end - pos));
        pos = end;
    }
    return out;
}

TEST(SampleDictionaries, AtLeastTwoAreShipped) {
    EXPECT_GE(shippedDictionaries().size(), 2u);
}

TEST(SampleDictionaries, AreCodePage932WithCrLfLinesOfExactlyTwoWords) {
    for (const fs::path& file : shippedDictionaries()) {
        SCOPED_TRACE(file.filename().string());
        const std::string bytes = sorvanti::test::readBytes(file.string());
        ASSERT_FALSE(bytes.empty());
        EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF") << "no byte-order mark";
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");

        const std::u16string text = cp932::decode(bytes);
        for (char16_t c : text)
            ASSERT_FALSE(c >= cp932::kRawByteBase && c <= cp932::kRawByteBase + 0xFF)
                << "bytes that are not code page 932";

        size_t lineNo = 0;
        int pairs = 0;
        for (size_t pos = 0; pos < bytes.size(); ++lineNo) {
            size_t lf = bytes.find('\n', pos);
            ASSERT_NE(lf, std::string::npos);
            ASSERT_TRUE(lf > pos && bytes[lf - 1] == '\r') << "line " << lineNo + 1;
            std::string_view line(bytes.data() + pos, lf - 1 - pos);
            ASSERT_EQ(line.find('\r'), std::string_view::npos) << "line " << lineNo + 1;
            pos = lf + 1;

            std::vector<std::string> w = words(line);
            if (w.empty())
                continue;
            // A third word would be ignored: a stray blank inside a phrase.
            EXPECT_EQ(w.size(), 2u) << "line " << lineNo + 1 << ": " << utf8(line);
            for (const std::string& word : w)
                EXPECT_LE(word.size(), size_t(DictionaryTable::kMaxWordBytes))
                    << "line " << lineNo + 1 << ": " << utf8(word);
            ++pairs;
        }
        EXPECT_GE(pairs, 200);
    }
}

TEST(SampleDictionaries, LoadEveryPairAndShadowNone) {
    for (const fs::path& file : shippedDictionaries()) {
        SCOPED_TRACE(file.filename().string());
        auto table = std::make_unique<DictionaryTable>();
        LoadResult result = loadDictionaryFile(*table, file.string());
        ASSERT_TRUE(result.opened) << result.error;
        EXPECT_EQ(result.entriesDropped, 0);

        int expected = 0;
        std::istringstream lines(sorvanti::test::readBytes(file.string()));
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            expected += words(line).empty() ? 0 : 1;
        }
        EXPECT_EQ(table->count(), expected) << "a pair line that the loader skipped";

        // The match order is the file order: an earlier word that begins a later one would
        // win wherever the later one could match. On the standard side a repeated word is
        // as unreachable; on the converted side several standard words may share one
        // converted word, and the first of them is what the reverse conversion gives.
        for (int32_t j = 0; j < table->count(); ++j) {
            for (int32_t i = 0; i < j; ++i) {
                std::string_view a0 = table->word(i, 0), b0 = table->word(j, 0);
                EXPECT_FALSE(b0.substr(0, a0.size()) == a0)
                    << utf8(b0) << " is hidden behind the earlier " << utf8(a0);
                std::string_view a1 = table->word(i, 1), b1 = table->word(j, 1);
                EXPECT_FALSE(a1.size() < b1.size() && b1.substr(0, a1.size()) == a1)
                    << utf8(b1) << " is hidden behind the earlier " << utf8(a1);
            }
        }
    }
}

struct Sentence {
    const char* dictionary;
    const char* standard;
    const char* converted;
};

// 関西弁 is a word-mode dictionary without guard pairs.
TEST(SampleDictionaries, ConvertSentencesBothWays) {
    WordAnalyserHolder analyser;
    ASSERT_TRUE(analyser.get()) << analyser.error();
    WordMode words(*analyser.get());
    const Sentence cases[] = {
        {"関西弁", "本当にありがとうございます。", "ほんまにおおきに。"},
        {"関西弁", "そんなことをしてはいけない。", "そないなことをしたらあかん。"},
        {"関西弁", "これはいくらですか？", "これはなんぼでっか？"},
        {"関西弁", "おはようございます。元気ですか？", "おはようさん。もうかりまっか？"},
        {"関西弁", "しなければならないことがたくさんある。", "せなあかんことがぎょうさんある。"},
        {"関西弁", "そんなに怒らないでください。", "そないに怒らんといてちょうだい。"},
        {"関西弁", "明日は雨が降りますように。", "明日は雨が降りますように。"},
        {"関西弁", "ダメージが大きいです。つよいマックスをごあんないします。",
         "ダメージが大きいわ。つよいマックスをごあんないします。"}, // ダメ, マック, よい, あんな
        {"関西弁", "おでんわをください。わからないのです。",
         "おでんわをちょうだい。わからへんねん。"},
        {"忍者語", "私は忍者です。", "拙者は忍びの者でござる。"},
        {"忍者語", "早く逃げろ！警察が来る。", "疾くどろんせよ！奉行所が参上する。"},
        {"忍者語", "この秘密は誰にも言わないでください。",
         "この門外不出は何奴にも言わぬよう願い申す。"},
        {"忍者語", "わかりました。すぐにメールを送ります。",
         "承知つかまつった。即刻矢文を送りまする。"},
        {"忍者語", "外国人が日本に来た。", "南蛮人が日ノ本に参上した。"},
    };
    for (const Sentence& c : cases) {
        SCOPED_TRACE(c.standard);
        auto table = std::make_unique<DictionaryTable>();
        const fs::path file = kFolder / (std::string(c.dictionary) + ".txt");
        ASSERT_TRUE(loadDictionaryFile(*table, file.string()).opened) << file;
        Engine engine(*table);
        for (int side = 0; side < 2; ++side) {
            std::string out;
            engine.convertLine(sjis(side ? c.converted : c.standard), side, out, nullptr,
                               table->wordMode() ? &words : nullptr);
            EXPECT_EQ(utf8(out), side ? c.standard : c.converted);
        }
    }
}

} // namespace
