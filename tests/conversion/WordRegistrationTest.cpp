// Registration's file side: the line a pair adds, the end of the file it follows, and the
// table during the run against the table after the next load.
#include "conversion/WordRegistration.h"
#include "conversion/DictionaryLoader.h"
#include "conversion/DictionaryTable.h"
#include "support/Bytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

namespace sorvanti::test {
namespace {

using wordregistration::Outcome;

TEST(WordRegistration, TheLineFollowsWhateverTheFileEndsWith) {
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"ends with CR LF", "a b\r\n", "a b\r\nx\t\ty\r\n"},
        {"ends with LF: the file's own line end", "a b\n", "a b\nx\t\ty\n"},
        // The last pair would otherwise run on into the new one.
        {"last line without a line end", "a b", "a b\r\nx\t\ty\r\n"},
        {"ends with a lone CR", "a b\r", "a b\r\nx\t\ty\r\n"},
        {"empty file", "", "x\t\ty\r\n"},
        // A UTF-8 file gets the line in UTF-8, with the line ends of its first line.
        {"UTF-8 with LF", "\xE7\x8A\xAC \xE7\x8C\xAB\n", "\xE7\x8A\xAC \xE7\x8C\xAB\nx\t\ty\n"},
        {"UTF-8, one line without a line end: CR LF", "\xE7\x8A\xAC \xE7\x8C\xAB",
         "\xE7\x8A\xAC \xE7\x8C\xAB\r\nx\t\ty\r\n"},
        {"UTF-8 with its mark and CR LF", "\xEF\xBB\xBF\xE7\x8A\xAC a\r\n",
         "\xEF\xBB\xBF\xE7\x8A\xAC a\r\nx\t\ty\r\n"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        DictionaryTable table;
        table.setPath(folder.write("d.txt", c.before));
        EXPECT_EQ(wordregistration::registerPair(table, "x", "y"), Outcome::Registered) << c.name;
        EXPECT_EQ(readBytes(table.path()), c.after) << c.name;
        ASSERT_EQ(table.count(), 1) << c.name;
        EXPECT_EQ(table.word(0, 0), "x");
        EXPECT_EQ(table.word(0, 1), "y");
    }
}

TEST(WordRegistration, AMissingFileIsCreatedWithTheNewLineOnly) {
    TempFolder folder;
    DictionaryTable table;
    table.setPath(folder.path() + "消えた.txt");
    EXPECT_EQ(wordregistration::registerPair(table, "abc", "def"), Outcome::Registered);
    EXPECT_EQ(readBytes(table.path()), "abc\t\tdef\r\n");
}

// A pair is written only when both words read back from the file as they were typed; the
// others are refused with what is wrong, and nothing is written.
TEST(WordRegistration, OnlyWordsThatReadBackAsTypedAreWritten) {
    const std::string forty(40, 'w');
    const std::string kanji = "\x8A\xBF"; // 漢, two bytes
    std::string longWord;
    for (int i = 0; i < 22; ++i)
        longWord += kanji;
    longWord += 'a'; // 45 bytes
    struct Case {
        std::string standard, converted;
        const char* message; // empty: registered, and read back alike at the next load
    };
    const Case cases[] = {
        {"abc", "def", ""},
        {forty, "x", ""},
        {"abc", "#def", ""},
        {"\x81\x40"
         "abc",
         "x", ""}, // an ideographic space is no separator
        {longWord, "x", "標準語が長すぎます（45バイト、40バイトまで）。"},
        {"x", forty + "y", "変換語が長すぎます（41バイト、40バイトまで）。"},
        {"abc", "", "変換語を入れて下さい。"},
        {"", "def", "標準語を入れて下さい。"},
        {"#abc", "def", "標準語は「#」で始められません。"},
        {"a b", "c", "標準語に空白やタブは使えません。"},
        {"ab\t", "c", "標準語に空白やタブは使えません。"},
        {"ab", "c d", "変換語に空白やタブは使えません。"},
        {"a\nb", "c", "標準語に改行は使えません。"},
        {"ab", "c\r", "変換語に改行は使えません。"},
        {"ab", std::string("c\0d", 3), "変換語に改行は使えません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.standard + "|" + c.converted);
        TempFolder folder;
        DictionaryTable table;
        table.setPath(folder.write("d.txt", ""));
        wordregistration::WordProblem problem;
        const Outcome outcome =
            wordregistration::registerPair(table, c.standard, c.converted, &problem);
        EXPECT_EQ(wordregistration::wordProblemMessage(problem), c.message);
        if (*c.message) {
            EXPECT_EQ(outcome, Outcome::WordRefused);
            EXPECT_EQ(table.count(), 0);
            EXPECT_EQ(readBytes(table.path()), "");
            continue;
        }
        ASSERT_EQ(outcome, Outcome::Registered);
        DictionaryTable reloaded;
        loadDictionaryFile(reloaded, table.path());
        ASSERT_EQ(reloaded.count(), 1);
        EXPECT_EQ(reloaded.word(0, 0), c.standard);
        EXPECT_EQ(reloaded.word(0, 1), c.converted);
    }
}

// Whatever the file ends with and whatever the pair holds, the table of the run after a
// registration is the table the next start loads (entries on the same file lines); a pair that
// would change how the whole file reads is refused instead.
TEST(WordRegistration, TheRunAndTheNextStartHaveTheSameTable) {
    const struct {
        std::string file, standard, converted;
        Outcome outcome;
    } cases[] = {
        {"abc\tdef\r", "x", "y", Outcome::Registered},
        {"abc\tdef", "x", "y", Outcome::Registered},
        {"\xE7\x8A\xAC\tdef\n\r", "x", "y", Outcome::Registered},
        {"", "\xC8\xBA", "neko", Outcome::Registered}, // ﾈｺ
        {"abc\tdef\r\n", "\xC8\xBA", "neko", Outcome::Registered},
        {"abc\tdef\r\n", "\xE3\x81\x81\x41", "x", Outcome::WouldReadAsUtf8}, // 縺、
        {"", "\xE3\x81\x81\x41", "x", Outcome::WouldReadAsUtf8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.file + "+" + c.standard));
        TempFolder folder;
        DictionaryTable run;
        loadDictionaryFile(run, folder.write("d.txt", c.file));
        EXPECT_EQ(wordregistration::registerPair(run, c.standard, c.converted), c.outcome);
        if (c.outcome != Outcome::Registered) {
            EXPECT_EQ(readBytes(run.path()), c.file);
        }
        DictionaryTable next;
        loadDictionaryFile(next, run.path());
        ASSERT_EQ(next.count(), run.count());
        for (int32_t i = 0; i < run.count(); ++i)
            EXPECT_TRUE(next.word(i, 0) == run.word(i, 0) && next.word(i, 1) == run.word(i, 1) &&
                        next.line(i) == run.line(i))
                << i;
    }
}

TEST(WordRegistration, NothingChangesWhenTheFileCannotTakeThePair) {
    TempFolder folder;
    DictionaryTable table;
    table.appendEntry("a", "b");
    // A folder where the file should be cannot be opened for appending.
    table.setPath(folder.path() + "d.txt");
    ::mkdir(table.path().c_str(), 0700);
    EXPECT_EQ(wordregistration::registerPair(table, "x", "y"), Outcome::CannotOpen);
    EXPECT_EQ(table.count(), 1);

    // /dev/full opens but refuses every byte: the write fails and the table stays.
    table.setPath("/dev/full");
    EXPECT_EQ(wordregistration::registerPair(table, "x", "y"), Outcome::WriteFailed);
    EXPECT_EQ(table.count(), 1);

    DictionaryTable full;
    full.setPath(folder.write("full.txt", ""));
    while (!full.full())
        full.appendEntry("a", "b");
    EXPECT_EQ(wordregistration::registerPair(full, "x", "y"), Outcome::TableFull);
    EXPECT_EQ(readBytes(full.path()), "");

    // In a UTF-8 file a stray lead byte has no form: nothing is written.
    DictionaryTable utf8;
    utf8.setPath(folder.write("u.txt", "\xE7\x8A\xAC a\n"));
    EXPECT_EQ(wordregistration::registerPair(utf8, "\x82", "y"), Outcome::NoFileForm);
    EXPECT_EQ(readBytes(utf8.path()), "\xE7\x8A\xAC a\n");
    EXPECT_EQ(utf8.count(), 0);
}

} // namespace
} // namespace sorvanti::test
