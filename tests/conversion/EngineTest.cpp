#include "conversion/Engine.h"
#include "conversion/DictionaryLoader.h"
#include "conversion/DictionaryTable.h"
#include "conversion/WordMode.h"
#include "toolkit/Cp932.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

namespace sorvanti {
namespace {

DictionaryTable tableOf(std::initializer_list<std::pair<std::string, std::string>> pairs) {
    DictionaryTable table;
    for (const auto& [a, b] : pairs)
        table.appendEntry(a, b);
    return table;
}

std::string convert(const DictionaryTable& table, std::string_view line, int side = 0) {
    Engine engine(table);
    return engine.convertLine(line, side);
}

// Characters of the whole code page, first bytes 0xF0-0xFC among them, and codes it leaves
// undefined, where a lead byte stands alone and the next byte begins a character.
TEST(Engine, CharactersBeginWhereTheCodePageSaysTheyDo) {
    const auto sj = [](std::u16string_view text) { return cp932::encode(text); };
    struct Case {
        std::string word, other, line, expected;
    } cases[] = {
        // 羡 (FB 91): its second byte is a lead byte; the word after it still matches.
        {sj(u"切萇魚"), sj(u"戎"), sj(u"羡切萇魚"), sj(u"羡戎")},
        {sj(u"田"), "X", sj(u"髙田﨑田"), sj(u"髙") + "X" + sj(u"﨑") + "X"},
        // No word is found at the second byte of 馞 (FB FA), nor of 纊 (FA 5C).
        {"\x87\x54", "X", "\xFB\xFA\x4A", "\xFB\xFA\x4A"},
        {"\\", "Y", "\xFA\x5C\\", "\xFA\x5CY"},
        // EB F0 is no code: EB stands alone and F0 FA is the next character, so FA 54
        // (the twin of ¬) is not a character of this text.
        {"\x81\xCA", "X", "\xEB\xF0\xFA\x54", "\xEB\xF0\xFA\x54"},
        {"\x81\xCA", "X", "\xEB\xFA\x54", "\xEBX"},
        // A word ending on a lead byte ends only where the text has that byte alone.
        {"a\x82", "X", "a\x82\xA0", "a\x82\xA0"},
        {"a\x82", "X", "a\x82 a\x82", "X X"},
        // ⅠⅠ written as 87 54 87 54 matches 87 54 FA 4A.
        {"\x87\x54\x87\x54", "X", "\x87\x54\xFA\x4A!", "X!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.line));
        EXPECT_EQ(convert(tableOf({{c.word, c.other}}), c.line, 0), c.expected);
        EXPECT_EQ(convert(tableOf({{c.other, c.word}}), c.line, 1), c.expected);
    }
    // A shorter word ending on a lead byte gives way to a later one where it cannot end.
    EXPECT_EQ(convert(tableOf({{"a\x82", "X"}, {"a", "Y"}}), "a\x82\xA0"), "Y\x82\xA0");
}

TEST(Engine, EmptyInputsCopyUnchanged) {
    const DictionaryTable empty;
    EXPECT_EQ(convert(empty, ""), "");
    EXPECT_EQ(convert(empty, "abc \x82\xa0\xF0\xB1"), "abc \x82\xa0\xF0\xB1");
    EXPECT_EQ(convert(tableOf({{"a", "X"}}), ""), "");
}

// Code page 932 duplicate codes: a word written with one code of a character matches the
// text written with another, in both directions, and bytes left alone stay as they were.
TEST(Engine, DuplicateCodesMatchEachOther) {
    const std::string necSelected = "\xEE\xAC"; // 鉙 among the NEC-selected IBM extensions
    const std::string ibm = "\xFB\xC8";         // 鉙 among the IBM extensions
    struct Case {
        std::string word, other, line, expected;
    } cases[] = {
        {"\x82\xA0" + necSelected, "X", "\x82\xA0" + ibm + "!", "X!"},
        {"\x82\xA0" + ibm, "X", "\x82\xA0" + necSelected + "!", "X!"},
        {"\x87\x90", "=",
         "a\x81\xE0"
         "b",
         "a=b"}, // NEC row 13 against row 2
        {"\x81\xE0", "=",
         "a\x87\x90"
         "b",
         "a=b"},
        {"\xFA\x4A", "I", "\x87\x54", "I"},                // IBM against NEC row 13
        {"\xEE\xF9", "not", "\xFA\x54\x81\xCA", "notnot"}, // three codes of one character
        // Unmatched duplicates keep their own code, next to a replacement or not.
        {"\x82\xA0", "X", "\xED\x40\x82\xA0\x87\x90\xFA\x4A", "\xED\x40X\x87\x90\xFA\x4A"},
        // Neither lead byte is a character of one byte: no word starts inside them.
        {"\\", "Y", "\xFA\x5C", "\xFA\x5C"},
        {"\\", "Y", "\xED\x40", "\xED\x40"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.line));
        EXPECT_EQ(convert(tableOf({{c.word, c.other}}), c.line, 0), c.expected);
        EXPECT_EQ(convert(tableOf({{c.other, c.word}}), c.line, 1), c.expected);
    }
}

TEST(Engine, FirstEntryInTableOrderWinsAndNothingCascades) {
    EXPECT_EQ(convert(tableOf({{"a", "X"}, {"ab", "Y"}}), "ab"), "Xb");
    EXPECT_EQ(convert(tableOf({{"ab", "Y"}, {"a", "X"}}), "ab"), "Y");
    EXPECT_EQ(convert(tableOf({{"a", "b"}, {"b", "c"}}), "a"), "b");
    EXPECT_EQ(convert(tableOf({{"abc", "1"}, {"a", "2"}, {"ab", "3"}}), "abcabxa"), "12bx2");
    // Duplicate words: the earlier entry is the one used.
    EXPECT_EQ(convert(tableOf({{"k", "first"}, {"k", "second"}}), "kk"), "firstfirst");
}

TEST(Engine, BothDirectionsUseTheSameOrder) {
    const DictionaryTable table = tableOf({{"ab", "cd"}});
    EXPECT_EQ(convert(table, "xaby", 0), "xcdy");
    EXPECT_EQ(convert(table, "xcdy", 1), "xaby");
    // Side 1 is searched in table order too.
    const DictionaryTable two = tableOf({{"P", "z"}, {"Q", "zz"}});
    EXPECT_EQ(convert(two, "zzz", 1), "PPP");
}

TEST(Engine, WordsAreLookedForOnlyWhereACharacterBegins) {
    // 0x83 0x5C is one character; the backslash entry must not match its second byte.
    const DictionaryTable table = tableOf({{"\\", "Y"}, {"\x5c\x82", "Z"}});
    EXPECT_EQ(convert(table, "\x83\x5c\\"), "\x83\x5cY");
    EXPECT_EQ(convert(table, "\x83\x5c\x82\xa0"), "\x83\x5c\x82\xa0");

    // 0xF0 and 0x82 are a user-defined character; 0xFC and 0x82 are no code, so 0xFC is
    // alone and a word may match right after it; 0xFD-0xFF are single bytes.
    const DictionaryTable hira = tableOf({{"\x82\xa0", "A"}});
    EXPECT_EQ(convert(hira, "\xF0\x82\xa0\xFC\x82\xa0\xFF\x82\xa0"), "\xF0\x82\xa0\xFC"
                                                                     "A\xFF"
                                                                     "A");
    // 0xE0-0xEF lead: 0xE0 0x82 is one character, so the entry cannot match at 0x82.
    EXPECT_EQ(convert(hira, "\xE0\x82\xa0"), "\xE0\x82\xa0");

    // Half-width katakana are one-byte characters, matched and copied singly.
    EXPECT_EQ(convert(tableOf({{"\xB1", "a"}}), "\xB1\xB2\xB1"), "a\xB2"
                                                                 "a");
}

TEST(Engine, NoFoldingOfCaseOrWidth) {
    const DictionaryTable table = tableOf({{"a", "X"}});
    EXPECT_EQ(convert(table, "Aa\x82\x81"), "AX\x82\x81"); // 0x82 0x81 is full-width ａ
}

TEST(Engine, EmptyWordsAndCutWords) {
    // An empty side-p word is never found; an empty side-t word deletes.
    const DictionaryTable table = tableOf({{"", "gone"}, {"del", ""}});
    EXPECT_EQ(convert(table, "adelb", 0), "ab");
    EXPECT_EQ(convert(table, "xgoney", 1), "xy");
    EXPECT_EQ(convert(table, "del", 1), "del");

    // A word cut at 40 bytes matches and removes its 40 stored bytes.
    const std::string word45 = std::string(40, 'w') + "tail!";
    EXPECT_EQ(convert(tableOf({{word45, "W"}}), word45), "Wtail!");
}

TEST(Engine, ReplacementsLongerThanTheText) {
    const std::string forty(40, 'L');
    const DictionaryTable table = tableOf({{"s", forty}, {"\x82\xa0", ""}});
    std::string expected;
    for (int i = 0; i < 100; ++i)
        expected += forty + "x";
    std::string line;
    for (int i = 0; i < 100; ++i)
        line += "s\x82\xa0x";
    EXPECT_EQ(convert(table, line), expected);
}

TEST(Engine, LoneLeadByteAtLineEndIsCopied) {
    const DictionaryTable table = tableOf({{"a", "X"}});
    EXPECT_EQ(convert(table, "a\x82"), "X\x82");
    EXPECT_EQ(convert(table, "\x82"), "\x82");
    EXPECT_EQ(convert(table, "\x9F\xE0\xEF"), "\x9F\xE0\xEF"); // one pair, then a lone lead
    // An entry that matches at that byte still wins.
    EXPECT_EQ(convert(tableOf({{"\x82", "Z"}}), "ab\x82"), "abZ");
}

TEST(Engine, IndexFollowsAppendsAndReloads) {
    DictionaryTable table;
    table.appendEntry("abc", "1");
    Engine engine(table);
    EXPECT_EQ(engine.convertLine("abcab", 0), "1ab");

    // Registration during the run: the new entry converts at once, after older ones.
    table.appendEntry("ab", "2");
    table.appendEntry("a", "3");
    table.appendEntry("abc", "never");
    engine.sync(); // indexing ahead of the conversion changes nothing in its result
    EXPECT_EQ(engine.convertLine("abcab", 0), "12");
    EXPECT_EQ(engine.convertLine("3", 1), "a");

    // A reload to the same count with other words must not reuse the old index.
    test::TempFolder folder;
    const std::string path = folder.write("d.txt", "x\ty\nab\tZ\nabc\tQ\nq\tr\n");
    ASSERT_TRUE(loadDictionaryFile(table, path).opened);
    ASSERT_EQ(table.count(), 4);
    EXPECT_EQ(engine.convertLine("abcx", 0), "Zcy");

    // Emptied and refilled by hand through the loader's slot.
    table.clear();
    EXPECT_EQ(engine.convertLine("abcx", 0), "abcx");
    table.appendEntry("c", "C");
    EXPECT_EQ(engine.convertLine("abcx", 0), "abCx");
}

TEST(Engine, ConvertsLineByLine) {
    const DictionaryTable table = tableOf({{"a", "b"}});
    Engine engine(table);
    std::vector<std::string> out;
    for (const char* line : {"a", "", "ca", "\x82"})
        out.push_back(engine.convertLine(line, 0));
    EXPECT_EQ(out, (std::vector<std::string>{"b", "", "cb", "\x82"}));

    // convertLine appends to what the caller already holds.
    std::string buffer = "keep:";
    engine.convertLine("aa", 0, buffer);
    EXPECT_EQ(buffer, "keep:bb");
}

// Word mode against plain mode; the analysis (mecab-ipadic-utf8) is given beside each line.
TEST(Engine, WordModeMatchesOnlyBetweenWordBoundaries) {
    const auto sj = [](std::u16string_view text) { return cp932::encode(text); };
    const struct {
        DictionaryTable table;
        std::u16string_view line, plain, words;
    } cases[] = {
        {tableOf({{sj(u"ね"), sj(u"なあ")}}), u"ねこがね", u"なあこがなあ",
         u"ねこがなあ"}, // ねこ|が|ね
        {tableOf({{sj(u"だ"), sj(u"や")}}), u"もうだめだ", u"もうやめや",
         u"もうだめや"}, // もう|だめ|だ
        {tableOf({{sj(u"ありがとうございます"), "X"}}), u"本当にありがとうございます", u"本当にX",
         u"本当にX"}, // ありがとう|ござい|ます: from its first boundary to its last
        {tableOf({{sj(u"こが"), "X"}}), u"ねこがいる", u"ねXいる",
         u"ねこがいる"}, // begins inside ねこ
        {tableOf({{sj(u"ね"), "A"}, {sj(u"ねこが"), "C"}, {sj(u"ねこ"), "B"}}), u"ねこがいる",
         u"Aこがいる", u"Cいる"}, // the first in table order that qualifies
        {tableOf({{"ABC", "DEF"}}), u"\uF782ABC", u"\uF782DEF",
         u"\uF782DEF"}, // a stray lead byte (82 41 is no code), then the word ABC
    };
    WordAnalyserHolder analyser;
    ASSERT_TRUE(analyser.get()) << analyser.error();
    WordMode words(*analyser.get());
    for (const auto& c : cases) {
        Engine engine(c.table);
        std::string out;
        engine.convertLine(sj(c.line), 0, out, nullptr, &words);
        EXPECT_EQ(cp932::decode(out), c.words);
        EXPECT_EQ(cp932::decode(engine.convertLine(sj(c.line), 0)), c.plain);
    }
}

} // namespace
} // namespace sorvanti
