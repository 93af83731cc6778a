#include "conversion/UnicodeConversion.h"

#include "conversion/DictionaryTable.h"
#include "toolkit/Cp932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace sorvanti;

namespace {

class UnicodeConversion : public ::testing::Test {
protected:
    // Entries are given as Unicode and stored as code page 932 bytes, as a file holds them.
    void add(std::u16string_view standard, std::u16string_view converted) {
        ASSERT_TRUE(table->appendEntry(cp932::encode(standard), cp932::encode(converted)));
    }
    std::u16string line(std::u16string_view text, int side = 0) {
        return convertUnicodeLine(engine, text, side);
    }
    // A text line by line, as the conversion paths take it: split at '\n', with a "\r"
    // before it kept in the line end.
    std::u16string lines(std::u16string_view text, int side = 0) {
        std::u16string out;
        for (size_t pos = 0; pos < text.size();) {
            const size_t lf = std::min(text.find(u'\n', pos), text.size());
            const size_t end = lf > pos && lf < text.size() && text[lf - 1] == u'\r' ? lf - 1 : lf;
            convertUnicodeLine(engine, text.substr(pos, end - pos), side, out);
            out.append(text.substr(end, std::min(lf + 1, text.size()) - end));
            pos = lf + 1;
        }
        return out;
    }

    std::unique_ptr<DictionaryTable> table = std::make_unique<DictionaryTable>();
    Engine engine{*table};
};

} // namespace

TEST_F(UnicodeConversion, ConvertsBothWays) {
    add(u"犬", u"ワンコ");
    add(u"猫", u"ニャンコ");
    EXPECT_EQ(line(u"犬と猫"), u"ワンコとニャンコ");
    EXPECT_EQ(line(u"ワンコとニャンコ", 1), u"犬と猫");
    EXPECT_EQ(line(u""), u"");
}

TEST_F(UnicodeConversion, MicrosoftFormsMatch) {
    // The dictionary's 0x81 0x60 is U+FF5E; U+301C is another character and has no form.
    add(u"\uFF5E", u"から");
    add(u"①", u"一");
    EXPECT_EQ(line(u"1\uFF5E2①"), u"1から2一");
    EXPECT_EQ(line(u"1\u301C2"), u"1\u301C2");
}

TEST_F(UnicodeConversion, CharactersWithoutAFormPassAndSplitRuns) {
    add(u"犬", u"猫");
    add(u"ab", u"X");
    EXPECT_EQ(line(u"犬😀犬"), u"猫😀猫");
    EXPECT_EQ(line(u"😀"), u"😀");
    EXPECT_EQ(line(u"a😀b"), u"a😀b"); // no word matches across the emoji
    EXPECT_EQ(line(u"ab\u00A5ab"), u"X\u00A5X");
    EXPECT_EQ(line(u"\xD800"
                   u"ab"),
              u"\xD800X"); // a lone surrogate is kept too
}

// Replacements in UTF-16 units of the line and of its output, across a character that code
// page 932 lacks and replacements that change the length.
TEST_F(UnicodeConversion, ReportsWhereEachReplacementIs) {
    add(u"犬", u"ワンコ");
    add(u"ねこ", u"猫");
    std::u16string out;
    std::vector<TextMatch> matches;
    convertUnicodeLine(engine, u"犬😀ねこと犬", 0, out, RawByteEscapes::AsBytes, &matches);
    EXPECT_EQ(out, u"ワンコ😀猫とワンコ");
    const std::vector<TextMatch> expected = {{0, 1, 0, 3, 0}, {3, 2, 5, 1, 1}, {6, 1, 7, 3, 0}};
    EXPECT_EQ(matches, expected);
}

TEST_F(UnicodeConversion, RawByteEscapes) {
    add(u"A", u"B");
    // Decoded from bytes: the escape is the byte 0x41 again and takes part.
    std::u16string escaped = u"\uF741";
    EXPECT_EQ(line(escaped), u"B");
    // From elsewhere: an ordinary private-use character, left alone.
    std::u16string out;
    convertUnicodeLine(engine, u"\uF741A", 0, out, RawByteEscapes::AsCharacters);
    EXPECT_EQ(out, u"\uF741B");
    // A broken byte of a decoded document survives a conversion.
    std::u16string broken = cp932::decode("A\x82");
    EXPECT_EQ(cp932::encode(line(broken)), "B\x82");
}

TEST_F(UnicodeConversion, TextKeepsItsLines) {
    add(u"a", u"X");
    EXPECT_EQ(lines(u"", 0), u"");
    EXPECT_EQ(lines(u"a", 0), u"X");
    EXPECT_EQ(lines(u"a\n", 0), u"X\n");
    EXPECT_EQ(lines(u"a\r\nba\nca", 0), u"X\r\nbX\ncX");
    EXPECT_EQ(lines(u"\n\n", 0), u"\n\n");
    EXPECT_EQ(lines(u"a\rb\r", 0), u"X\rb\r"); // lone CR: in the line
    EXPECT_EQ(lines(u"X\r\n", 1), u"a\r\n");
}

// Pane text reaches the engine in the encoder's codes; a dictionary written by another
// tool may hold the other code of the same character, and still matches.
TEST_F(UnicodeConversion, DictionaryWordsInTheOtherDuplicateCodeMatchPaneText) {
    ASSERT_TRUE(table->appendEntry(cp932::encode(u"犬") + "\xEE\xAC", cp932::encode(u"猫")));
    ASSERT_TRUE(table->appendEntry("\x87\x90", "="));   // ≒ in NEC row 13
    ASSERT_TRUE(table->appendEntry("\xFA\x4A", "one")); // Ⅰ among the IBM extensions
    EXPECT_EQ(line(u"犬鉙と犬≒Ⅰ"), u"猫と犬=one");
    EXPECT_EQ(line(u"猫=one", 1), u"犬鉙≒Ⅰ");
}
