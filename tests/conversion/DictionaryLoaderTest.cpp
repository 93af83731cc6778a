#include "conversion/DictionaryLoader.h"
#include "conversion/DictionaryTable.h"
#include "conversion/WordModeDeclaration.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sorvanti {
namespace {

using Pair = std::pair<std::string, std::string>;

std::optional<Pair> parseLine(std::string_view line) {
    DictionaryEntry slot{};
    const size_t pos = readField(line, 0, 0, slot);
    if (pos == std::string_view::npos)
        return std::nullopt;
    if (readField(line, pos, 1, slot) == std::string_view::npos)
        return std::nullopt;
    EXPECT_EQ(std::string(slot.word[0]).size(), static_cast<size_t>(slot.length[0]));
    EXPECT_EQ(std::string(slot.word[1]).size(), static_cast<size_t>(slot.length[1]));
    return Pair{std::string(slot.word[0], slot.length[0]),
                std::string(slot.word[1], slot.length[1])};
}

std::vector<Pair> entriesOf(const DictionaryTable& table) {
    std::vector<Pair> out;
    for (int32_t i = 0; i < table.count(); ++i)
        out.emplace_back(std::string(table.word(i, 0)), std::string(table.word(i, 1)));
    return out;
}

TEST(FieldReader, SeparatorsCommentsAndSingleWords) {
    const Pair abcDef{"abc", "def"};
    const std::vector<std::pair<std::string, std::optional<Pair>>> cases = {
        {"abc\tdef", abcDef},
        {"  abc   def", abcDef},
        {"\t\tabc\t\tdef", abcDef},
        {"abc\tdef\n", abcDef},
        {"abc\tdef\tghi", abcDef},
        {"abc def ghi jkl\n", abcDef},
        {"abc", std::nullopt},
        {"abc\t", std::nullopt},
        {"abc   \n", std::nullopt},
        {"", std::nullopt},
        {"\n", std::nullopt},
        {" \t \n", std::nullopt},
        {"#abc\tdef", std::nullopt},
        {"  #abc\tdef", std::nullopt},
        {"abc\t#def", Pair{"abc", "#def"}},
        {"a#b\tc", Pair{"a#b", "c"}},
        // Full-width space (0x81 0x40) is part of the word.
        {"\x82\xa0\x81\x40\x82\xa2\tx", Pair{"\x82\xa0\x81\x40\x82\xa2", "x"}},
        // Only blank and tab separate: other control bytes belong to the word.
        {"a\vb\tc\rd", Pair{"a\vb", "c\rd"}},
        // A zero byte ends the line as it would in the line buffer.
        {std::string("ab\0c\tdef", 8), std::nullopt},
        {std::string("ab\tde\0f", 7), Pair{"ab", "de"}},
    };
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(line));
        EXPECT_EQ(parseLine(line), expected);
    }
}

TEST(FieldReader, WordsAreCutAtFortyBytesAndTheRestPassedOver) {
    const std::string long45(45, 'x');
    EXPECT_EQ(parseLine(long45 + "\tdef"), (Pair{std::string(40, 'x'), "def"}));
    const std::string longConverted(50, 'y');
    EXPECT_EQ(parseLine("abc " + longConverted + " z"), (Pair{"abc", std::string(40, 'y')}));

    // A double-byte character straddling byte 40 loses its second byte.
    std::string straddling(39, 'a');
    straddling += "\x82\xa0";
    const auto cut = parseLine(straddling + "\tv");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->first, std::string(39, 'a') + "\x82");

    // The position handed back is after the whole word, not after the stored part.
    DictionaryEntry slot{};
    EXPECT_EQ(readField(long45 + "\tdef", 0, 0, slot), 45u);
    EXPECT_EQ(slot.length[0], 40);
}

class LoaderTest : public testing::Test {
protected:
    LoadResult load(std::string_view bytes) {
        return loadDictionaryFile(table, folder.write("dict.txt", bytes));
    }
    test::TempFolder folder;
    DictionaryTable table;
};

TEST_F(LoaderTest, TextModeLineEnds) {
    // CR directly before LF is dropped; any other CR is an ordinary byte.
    auto r = load("abc\tdef\r\nghi\tjkl\r\nmno\tp\rq\r\r\nlast\tline");
    EXPECT_TRUE(r.opened);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.entries, 4);
    EXPECT_EQ(
        entriesOf(table),
        (std::vector<Pair>{{"abc", "def"}, {"ghi", "jkl"}, {"mno", "p\rq\r"}, {"last", "line"}}));

    // A CR that is the last byte of one read and an LF that starts the next.
    std::string padding(65531, 'x');
    padding[0] = '#';
    padding += '\n';
    ASSERT_EQ(padding.size() + 3, 65535u);
    load(padding + "a\tb\r\nc\td\r\n");
    EXPECT_EQ(entriesOf(table), (std::vector<Pair>{{"a", "b"}, {"c", "d"}}));

    // A CR ending the file ends its last line, as it does once an LF is added after it.
    load("abc\tdef\r");
    EXPECT_EQ(entriesOf(table), (std::vector<Pair>{{"abc", "def"}}));
}

TEST_F(LoaderTest, EmptyAndCommentOnlyFilesGiveAnEmptyTable) {
    table.appendEntry("old", "entry");
    auto r = load("");
    EXPECT_TRUE(r.opened);
    EXPECT_EQ(table.count(), 0);
    load("# comment\n\n   \n\t#x\ty\nsingle\n");
    EXPECT_EQ(table.count(), 0);
}

TEST_F(LoaderTest, DuplicatesKeepFileOrder) {
    load("a\t1\na\t2\nb\tb\n");
    EXPECT_EQ(entriesOf(table), (std::vector<Pair>{{"a", "1"}, {"a", "2"}, {"b", "b"}}));
}

TEST_F(LoaderTest, LongLinesAreReadIn255BytePieces) {
    // 300 bytes: a piece of 255 bytes and one of 45, each a line of its own.
    std::string line = "A\tB" + std::string(252, ' ') + "C\tD" + std::string(42, ' ');
    ASSERT_EQ(line.size(), 300u);
    load(line + "\nE\tF\n");
    EXPECT_EQ(entriesOf(table), (std::vector<Pair>{{"A", "B"}, {"C", "D"}, {"E", "F"}}));

    // The cut falls inside a word: its tail starts the next piece.
    line = "X\t" + std::string(253, 'y') + "zz\tQ";
    load(line + "\n");
    EXPECT_EQ(entriesOf(table), (std::vector<Pair>{{"X", std::string(40, 'y')}, {"zz", "Q"}}));

    // Exactly 255 bytes: the line feed is read alone and yields nothing.
    line = "G\tH" + std::string(252, ' ');
    load(line + "\nI\tJ\n");
    EXPECT_EQ(entriesOf(table), (std::vector<Pair>{{"G", "H"}, {"I", "J"}}));
}

TEST_F(LoaderTest, EntriesKeepTheLineOfTheFileTheyCameFrom) {
    const std::string longLine = "A\tB" + std::string(252, ' ') + "C\tD" + std::string(42, ' ');
    const struct {
        std::string file;
        std::vector<int32_t> lines;
    } cases[] = {
        {"# c\n\nA\tB\nC\tD", {3, 4}},
        {"A\tB\r\n\r\nC\tD\r\n", {1, 3}},
        {longLine + "\nE\tF\n", {1, 1, 2}}, // both pieces of a long line are its line
        {"A\tB\rC\tD\nE\tF\r", {1, 2}},     // a lone CR ends no line but the last
        // UTF-8: a line with a character code page 932 lacks is left out, and still counted.
        {"\xE7\x8A\xAC\tx\n\xF0\x9F\x98\x80\ty\n\xE7\x8C\xAB\tz\n", {1, 3}},
    };
    for (const auto& c : cases) {
        load(c.file);
        std::vector<int32_t> lines;
        for (int32_t i = 0; i < table.count(); ++i)
            lines.push_back(table.line(i));
        EXPECT_EQ(lines, c.lines) << c.file;
    }
}

TEST_F(LoaderTest, CarriageReturnIsDroppedBeforeTheBufferSplitsLines) {
    // 254 bytes, then CRLF: the CR goes first, so the line fits one piece with its LF.
    // Were the CR counted, it would end the first piece and stick to the word "BB".
    const std::string line = "A\t" + std::string(250, ' ') + "BB";
    ASSERT_EQ(line.size(), 254u);
    load(line + "\r\nC\tD\r\n");
    EXPECT_EQ(entriesOf(table), (std::vector<Pair>{{"A", "BB"}, {"C", "D"}}));
}

TEST_F(LoaderTest, FailedLoadKeepsTheTableAndReplacesThePath) {
    load("abc\tdef\n");
    const auto missing = folder.path() + "missing.txt";
    auto r = loadDictionaryFile(table, missing);
    EXPECT_FALSE(r.opened);
    EXPECT_EQ(r.error, ENOENT);
    EXPECT_EQ(table.path(), missing);
    EXPECT_EQ(entriesOf(table), (std::vector<Pair>{{"abc", "def"}}));

    // A folder opens on this platform but is no dictionary.
    r = loadDictionaryFile(table, folder.path());
    EXPECT_FALSE(r.opened);
    EXPECT_NE(r.error, 0);
    EXPECT_EQ(table.count(), 1);
}

TEST_F(LoaderTest, LoadsByNameFromTheDictionaryFolder) {
    folder.write("辞書/方言.txt", "\x82\xa0\t\x82\xa2\n");
    EXPECT_EQ(dictionaryPath("/opt/x/", "n"), "/opt/x/辞書/n.txt");
    EXPECT_EQ(dictionaryPath("/opt/x", "n"), "/opt/x/辞書/n.txt");
    auto r = loadDictionary(table, folder.path(), "方言");
    EXPECT_TRUE(r.opened);
    EXPECT_EQ(table.path(), folder.path() + "辞書/方言.txt");
    EXPECT_EQ(entriesOf(table), (std::vector<Pair>{{"\x82\xa0", "\x82\xa2"}}));
}

TEST_F(LoaderTest, CapacityStopsAtTwoThousandAndCountsTheRest) {
    std::string file;
    for (int i = 0; i < 2100; ++i) {
        const std::string number = std::to_string(i);
        file.append("w").append(number).append("\tv").append(number).append("\r\n");
        if (i % 7 == 0)
            file += "# comment\r\nsingle\r\n";
    }
    auto r = load(file);
    EXPECT_TRUE(r.opened);
    EXPECT_EQ(r.entries, DictionaryTable::kCapacity);
    EXPECT_EQ(r.entriesDropped, 100);
    EXPECT_EQ(table.count(), DictionaryTable::kCapacity);
    EXPECT_EQ(table.word(0, 0), "w0");
    EXPECT_EQ(table.word(1999, 0), "w1999");
    EXPECT_EQ(table.word(1999, 1), "v1999");

    // Registration on a full table is refused and changes nothing.
    EXPECT_TRUE(table.full());
    EXPECT_FALSE(table.appendEntry("new", "word"));
    EXPECT_EQ(table.count(), DictionaryTable::kCapacity);
    EXPECT_EQ(table.word(1999, 0), "w1999");

    // A reload below capacity reports nothing dropped and takes registrations again.
    r = load("a\tb\n");
    EXPECT_EQ(r.entriesDropped, 0);
    EXPECT_TRUE(table.appendEntry("c", "d"));
    EXPECT_EQ(table.count(), 2);
}

TEST_F(LoaderTest, AFileThatNeverEndsIsReadUpToTheSizeBound) {
    // /dev/zero: before the bound, the load read it for ever.
    auto r = loadDictionaryFile(table, "/dev/zero");
    EXPECT_TRUE(r.opened);
    EXPECT_TRUE(r.complete);
    EXPECT_TRUE(r.sizeLimitReached);
    EXPECT_EQ(r.entries, 0);

    // Entries up to the bound count; a line cut by it is taken as a last line.
    std::string file = "a\tb\n";
    file += std::string(size_t(kMaxDictionaryBytes) - file.size() - 4, '#') + "\n";
    r = load(file + "c\td\ne\tf\n");
    EXPECT_TRUE(r.sizeLimitReached);
    EXPECT_EQ(entriesOf(table), (std::vector<Pair>{{"a", "b"}, {"c", "d"}}));

    r = load(file);
    EXPECT_FALSE(r.sizeLimitReached);
}

// Word mode is declared on a comment line before the first line that gives an entry.
TEST_F(LoaderTest, WordModeIsDeclaredBeforeTheFirstEntry) {
    const std::string decl(wordmode::kDeclaration), entry = "a b\n";
    const std::pair<std::string, bool> cases[] = {
        {std::string("# x\r\n\r\n \t").append(decl) + " rest\r\n" + entry, true},
        {std::string("lonely\n").append(decl) + "\n" + entry, true}, // a lone word: no entry
        {entry + decl + "\n", false},
        {decl.substr(0, 6) + "\n" + entry, false},
        {"\xEF\xBB\xBF#@単語単位\na b\n", true},                             // UTF-8
        {std::string(1, '#').append(254, 'x') + decl + "\n" + entry, false}, // a second piece
    };
    for (const auto& [file, wordMode] : cases) {
        EXPECT_EQ(load(file).wordMode, wordMode) << file;
        EXPECT_EQ(DictionaryTable(table).wordMode(), wordMode) << file;
    }
}

TEST(DictionaryTable, AppendStoresFortyBytesAndAllowsEmptyWords) {
    DictionaryTable table;
    EXPECT_TRUE(table.appendEntry(std::string(50, 'q'), ""));
    EXPECT_EQ(table.word(0, 0), std::string(40, 'q'));
    EXPECT_EQ(table.entry(0).length[0], 40);
    EXPECT_EQ(table.entry(0).word[0][40], '\0');
    EXPECT_EQ(table.entry(0).length[1], 0);

    const uint64_t before = table.generation();
    table.appendEntry("x", "y");
    EXPECT_EQ(table.generation(), before);
    table.clear();
    EXPECT_NE(table.generation(), before);
    EXPECT_EQ(table.count(), 0);

    DictionaryTable copy = table;
    EXPECT_NE(copy.generation(), table.generation());
}

} // namespace
} // namespace sorvanti
