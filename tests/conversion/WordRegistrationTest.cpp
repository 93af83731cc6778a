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

// What the pair does during the run, and what the same file gives at the next load.
TEST(WordRegistration, TheRunAndTheNextLoadDifferOnlyWhereTheFileFormatSaysSo) {
    const std::string fifty(50, 'w');
    struct Case {
        const char* name;
        std::string standard, converted;
        int loadedCount;            // entries after the reload
        std::string loadedStandard; // its standard word, when there is one
    };
    const Case cases[] = {
        {"plain pair", "abc", "def", 1, "abc"},
        {"over-long word: 40 bytes in the table, whole in the file", fifty, "x", 1,
         fifty.substr(0, 40)},
        {"empty converted word: a one-word line at the next load", "abc", "", 0, ""},
        {"empty standard word: the converted word stands alone", "", "def", 0, ""},
        {"a '#' word: a comment at the next load", "#abc", "def", 0, ""},
        {"a blank inside: split at the next load", "a b", "c", 1, "a"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        DictionaryTable table;
        table.setPath(folder.write("d.txt", ""));
        ASSERT_EQ(wordregistration::registerPair(table, c.standard, c.converted),
                  Outcome::Registered)
            << c.name;
        ASSERT_EQ(table.count(), 1) << c.name;
        EXPECT_EQ(table.word(0, 0), c.standard.substr(0, 40)) << c.name;
        EXPECT_EQ(table.word(0, 1), c.converted) << c.name;
        EXPECT_EQ(readBytes(table.path()), c.standard + "\t\t" + c.converted + "\r\n") << c.name;

        DictionaryTable reloaded;
        loadDictionaryFile(reloaded, table.path());
        ASSERT_EQ(reloaded.count(), c.loadedCount) << c.name;
        if (c.loadedCount > 0) {
            EXPECT_EQ(reloaded.word(0, 0), c.loadedStandard) << c.name;
        }
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
