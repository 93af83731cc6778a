#include "conversion/DictionaryEncoding.h"
#include "conversion/DictionaryLoader.h"
#include "conversion/DictionaryTable.h"
#include "conversion/Engine.h"
#include "conversion/Shadowing.h"
#include "toolkit/Cp932.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace sorvanti {
namespace {

namespace fs = std::filesystem;
using textencoding::Encoding;

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string toUtf8(std::string_view cp932) {
    return cp932::toUtf8(cp932::decode(cp932));
}

void expectSameTables(const DictionaryTable& a, const DictionaryTable& b) {
    ASSERT_EQ(a.count(), b.count());
    for (int32_t i = 0; i < a.count(); ++i) {
        for (int side = 0; side < 2; ++side)
            EXPECT_EQ(a.word(i, side), b.word(i, side)) << "entry " << i << " side " << side;
    }
}

// The sample dictionaries turned into UTF-8 (with and without the mark, with LF line
// ends) load into the same table and convert every text the same way.
TEST(Utf8Dictionary, SampleDictionariesGiveTheSameTableAndConversions) {
    test::TempFolder folder;
    const fs::path samples = fs::path(SORVANTI_TEST_SOURCE_DIR) / "resources" / "辞書";
    for (const auto& file : fs::directory_iterator(samples)) {
        SCOPED_TRACE(file.path().filename().string());
        const std::string cp932Bytes = readAll(file.path());
        std::string lf = toUtf8(cp932Bytes);
        for (size_t at; (at = lf.find("\r\n")) != std::string::npos;)
            lf.erase(at, 1);
        const std::string variants[] = {toUtf8(cp932Bytes), "\xEF\xBB\xBF" + toUtf8(cp932Bytes),
                                        lf};

        auto original = std::make_unique<DictionaryTable>();
        ASSERT_TRUE(loadDictionaryFile(*original, folder.write("cp932.txt", cp932Bytes)).opened);
        ASSERT_GT(original->count(), 100);
        Engine reference(*original);

        // Texts: every word of both sides, run together and spread over lines.
        std::vector<std::string> texts;
        for (int32_t i = 0; i < original->count(); ++i) {
            if (i % 7 == 0)
                texts.emplace_back();
            texts.back() += std::string(original->word(i, i % 2)) + "\x81\x41" +
                            std::string(original->word(i, 1 - i % 2));
        }
        for (const std::string& utf8 : variants) {
            auto table = std::make_unique<DictionaryTable>();
            const LoadResult r = loadDictionaryFile(*table, folder.write("utf8.txt", utf8));
            EXPECT_EQ(r.encoding, Encoding::Utf8);
            EXPECT_EQ(r.linesNotTaken, 0);
            expectSameTables(*original, *table);
            Engine engine(*table);
            for (const std::string& text : texts) {
                for (int side = 0; side < 2; ++side)
                    EXPECT_EQ(engine.convertLine(text, side), reference.convertLine(text, side));
            }
        }
    }
}

TEST(Utf8Dictionary, LimitsCountCodePage932BytesAndUnfitLinesAreSkipped) {
    test::TempFolder folder;
    // 21 kanji: 63 bytes of UTF-8 but 42 of code page 932, cut to the first 20 kanji.
    std::string longWord;
    for (int i = 0; i < 21; ++i)
        longWord += "\xE7\x8A\xAC";                         // 犬
    const std::string utf8 = "\xE7\x8A\xAC\t\xE7\x8C\xAB\n" // 犬 猫
                             "\xF0\x9F\x98\x80\tx\n"        // 😀: no code page 932 form
                             "\xEF\xA3\x80\ty\n"            // U+F8C0 (private use)
                             + longWord + "\tz\n" +
                             "\xE9\x89\x99\t\xE3\x81\x82"; // 鉙 あ, no final LF
    auto table = std::make_unique<DictionaryTable>();
    const LoadResult r = loadDictionaryFile(*table, folder.write("d.txt", utf8));
    EXPECT_EQ(r.encoding, Encoding::Utf8);
    EXPECT_EQ(r.linesNotTaken, 2);
    EXPECT_EQ(r.firstLineNotTaken, 2);
    ASSERT_EQ(table->count(), 3);
    EXPECT_EQ(table->word(0, 0), "\x8C\xA2");
    EXPECT_EQ(table->word(1, 0).size(), 40u);
    EXPECT_EQ(table->word(1, 1), "z");
    EXPECT_EQ(table->word(2, 1), "\x82\xA0");
    EXPECT_EQ(linesNotTakenNotice(r.linesNotTaken, r.firstLineNotTaken),
              "辞書の2行目など2行は、使えない文字があるため読み飛ばしました。");
    EXPECT_EQ(linesNotTakenNotice(1, 7), "辞書の7行目は、使えない文字があるため読み飛ばしました。");
}

TEST(DictionaryFormat, ReadsTheFileAndWritesLinesToMatch) {
    test::TempFolder folder;
    struct Case {
        const char* name;
        std::string bytes;
        Encoding encoding;
        bool bom;
        std::string lineEnd;
    } cases[] = {
        {"program's own", "\x8C\xA2\t\t\x94\x4C\r\n", Encoding::Cp932, false, "\r\n"},
        {"empty", "", Encoding::Cp932, false, "\r\n"},
        {"UTF-8, LF", "\xE7\x8A\xAC\t\xE7\x8C\xAB\n", Encoding::Utf8, false, "\n"},
        {"mark, CR LF",
         "\xEF\xBB\xBF"
         "a\tb\r\n",
         Encoding::Utf8, true, "\r\n"},
        {"ASCII, no line end", "a\tb", Encoding::Cp932, false, "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DictionaryFileFormat f = dictionaryFileFormat(folder.write("f.txt", c.bytes));
        EXPECT_EQ(f.encoding, c.encoding);
        EXPECT_EQ(f.bom, c.bom);
        EXPECT_EQ(f.lineEnd, c.lineEnd);
    }
    EXPECT_EQ(dictionaryFileFormat(folder.path() + "missing.txt").encoding, Encoding::Cp932);

    const DictionaryFileFormat utf8{Encoding::Utf8, false, "\n", {}};
    EXPECT_EQ(dictionaryLine("\x8C\xA2", "\x94\x4C", utf8), "\xE7\x8A\xAC\t\t\xE7\x8C\xAB\n");
    EXPECT_EQ(dictionaryLine("\x8C\xA2", "\x94\x4C", DictionaryFileFormat{}),
              "\x8C\xA2\t\t\x94\x4C\r\n");
    // A byte that is no character has no UTF-8 form.
    EXPECT_EQ(dictionaryLine("\x82", "x", utf8), std::nullopt);
    EXPECT_EQ(dictionaryLine("\x82", "x", DictionaryFileFormat{}), "\x82\t\tx\r\n");
}

TEST(Shadowing, NamesTheFirstEarlierEntryWhoseWordIsAPrefix) {
    DictionaryTable table;
    const std::pair<std::string, std::string> pairs[] = {
        {"ab", "1"},       // 0
        {"a", "12"},       // 1: not hidden; "ab" is longer
        {"abc", "3"},      // 2: hidden by 0 at side 0; by nothing at side 1
        {"\x87\x90", "x"}, // 3
        {"\x81\xE0"
         "z",
         "xy"},                // 4: ≒ in its other code: hidden by 3; side 1 by 3
        {"\x82", "q"},         // 5: a lone lead byte ...
        {"\x82\xA0", ""},      // 6: ... is not the character it starts,
        {"\x82 ", "r"},        // 7: but hides a word where it stays alone
        {"\x82\xFA\x4A", "s"}, // 8: and where the next character's twin 87 54 would not
    };
    for (const auto& [a, b] : pairs)
        table.appendEntry(a, b);
    const int32_t expected[][2] = {{-1, -1}, {-1, 0},  {0, -1}, {-1, -1}, {3, 3},
                                   {-1, -1}, {-1, -1}, {5, -1}, {5, -1}};
    for (int side = 0; side < 2; ++side) {
        const std::vector<int32_t> all = shadowingEntries(table, side);
        for (int32_t i = 0; i < table.count(); ++i) {
            EXPECT_EQ(shadowingEntry(table, side, i), expected[i][side]) << i << " side " << side;
            EXPECT_EQ(all[size_t(i)], expected[i][side]) << i << " side " << side;
        }
    }
}

} // namespace
} // namespace sorvanti
