// The editor's document: lines kept byte for byte, edits that rewrite only their line, the
// check on the lines as they stand, lines appended elsewhere, and new dictionary names.
#include "conversion/DictionaryDocument.h"
#include "conversion/DictionaryFile.h"
#include "conversion/DictionaryLoader.h"
#include "conversion/NewDictionary.h"
#include "conversion/WordCheck.h"
#include "conversion/WordMode.h"
#include "conversion/WordRegistration.h"
#include "toolkit/Cp932.h"

#include "support/Bytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace sorvanti {
namespace {

using Doc = DictionaryDocument;

std::string sjis(std::string_view utf8) {
    return cp932::encode(cp932::fromUtf8(utf8));
}

Doc::Line edited(const Doc& doc, size_t row, Doc::Field field, std::string_view utf8) {
    return std::get<Doc::Line>(doc.withText(row, field, cp932::fromUtf8(utf8)));
}

TEST(DictionaryDocument, OneChangedFieldRewritesOnlyItsLine) {
    const std::string bom(textencoding::kUtf8Bom);
    struct Case {
        std::string file;
        size_t row;
        Doc::Field field;
        const char* text;
        std::string expected;
    };
    const Case cases[] = {
        // Comments, blank lines and notes stay; the words keep the blanks around them.
        {sjis("# 見出し\r\n\r\n犬  わんこ\t# 鳴く\r\n  \r\n猫\t\tにゃんこ\r\n"), 2, Doc::Converted,
         "わんわん", sjis("# 見出し\r\n\r\n犬  わんわん\t# 鳴く\r\n  \r\n猫\t\tにゃんこ\r\n")},
        {bom + "犬\tわんこ\n# c\n猫 にゃんこ 備考\n", 2, Doc::Note, "メモ",
         bom + "犬\tわんこ\n# c\n猫 にゃんこ メモ\n"},
        {sjis("犬 わんこ\r\n猫 にゃんこ"), 1, Doc::Standard, "ねこ",
         sjis("犬 わんこ\r\nねこ にゃんこ")},
        {"a b\r", 0, Doc::Standard, "c", "c b\r"},
        // A word or a note where there was none gets its gap.
        {sjis("犬\r\n"), 0, Doc::Converted, "わん", sjis("犬\t\tわん\r\n")},
        {"a b\n", 0, Doc::Note, "  x y", "a b\t  x y\n"},
        // A comment's note is the whole line; without its "#" it is a pair again.
        {sjis("# 犬 わん\r\nx y\r\n"), 0, Doc::Note, "犬 わん", sjis("犬 わん\r\nx y\r\n")},
    };
    for (const Case& c : cases) {
        Doc doc(c.file);
        EXPECT_EQ(doc.fileBytes(), c.file) << c.text;
        doc.setLine(c.row, edited(doc, c.row, c.field, c.text));
        EXPECT_EQ(doc.fileBytes(), c.expected) << c.text;
        // What the field then shows: the text, less the blanks that went into its gap.
        if (!Doc(c.file).line(c.row).comment()) {
            EXPECT_EQ(doc.text(c.row, c.field),
                      cp932::fromUtf8(std::string_view(c.text).substr(c.text[0] == ' ' ? 2 : 0)));
        }
    }
}

TEST(DictionaryDocument, NewAndMovedLinesTakeTheFileLineEnd) {
    struct Case {
        const char* file;
        void (*edit)(Doc&);
        const char* expected;
    };
    const Case cases[] = {
        {"a 1\nb 2", [](Doc& d) { d.insertLines(2, {edited(d, 0, Doc::Converted, "3")}); },
         "a 1\nb 2\na 3"},
        {"a 1\nb 2",
         [](Doc& d) {
             d.permute(std::vector<size_t>{1, 0});
         },
         "b 2\na 1"},
        {"a 1\r\nb 2\r\n", [](Doc& d) { d.removeLines(0, 1); }, "b 2\r\n"},
        {"a 1\r\nb 2\r",
         [](Doc& d) {
             d.permute(std::vector<size_t>{1, 0});
         },
         "b 2\r\na 1\r"},
        {"",
         [](Doc& d) {
             d.insertLines(0, {Doc::Line{}, Doc::Line{}});
         },
         "\r\n\r\n"},
    };
    for (const Case& c : cases) {
        Doc doc(c.file);
        c.edit(doc);
        EXPECT_EQ(doc.fileBytes(), c.expected) << c.file;
    }
}

// What the editor shows is what --check says of the bytes the editor would save.
TEST(DictionaryDocument, FindingsAreThoseOfTheCheckOfTheSavedBytes) {
    std::string crafted = "# comment\nab\tX\nabc\tY\nlonely\nab\tX\n\t \n" + std::string(45, 'w') +
                          "\tZ\nk\tK\t" + std::string(251, 'v') + "\n\x82\tbad\n\x87\x90\tE\n" +
                          "\x81\xE0" + "1\tF\nq\tXY\n";
    for (int i = 0; i < 1992; ++i)
        crafted += std::to_string(10000 + i) + "\tv" + std::to_string(i) + "\r\n";
    crafted += "last\tone";
    // Word mode: ね does not hide ねこ but ね。, ねこ hides ねこが, a word that begins with a
    // small kana never matches, a declaration after the first pair declares nothing.
    const std::string files[] = {
        crafted, "\xEF\xBB\xBF犬\tいぬ\n😀\tx\n犬\tいぬ\n犬小屋\tx\n",
        sjis("#@単語単位\r\nね なあ\r\nねこ x\r\nねこが y\r\nね。 w\r\nゃあ z\r\n#@単語単位")};
    WordAnalyserHolder analyser;
    wordcheck::WordMarksCache kept; // the editor's: words analysed in round 0 are kept
    const CheckWords wordRules{&analyser, std::nullopt}, keptWords{&analyser, std::nullopt, &kept};
    for (const std::string& file : files) {
        Doc doc(file);
        for (int round = 0; round < 2; ++round) {
            const CheckReport mine = doc.check(keptWords);
            for (int side = 0; side < 2; ++side) {
                const CheckReport theirs = checkDictionary(doc.fileBytes(), side, wordRules);
                std::vector<std::string> a, b;
                for (const CheckFinding& f : mine.findings)
                    if ((f.kind != FindingKind::Hidden &&
                         f.kind != FindingKind::StartsInsideWord) ||
                        f.side == side)
                        a.push_back(std::to_string(f.line) + ": " + f.message);
                for (const CheckFinding& f : theirs.findings)
                    b.push_back(std::to_string(f.line) + ": " + f.message);
                EXPECT_EQ(a, b) << "round " << round << " side " << side;
            }
            // The same after an edit that hides line 2 in both directions.
            doc.insertLines(1, {edited(doc, 1, Doc::Converted, "")});
            doc.setLine(1, edited(doc, 1, Doc::Standard, "a"));
            doc.setLine(1, edited(doc, 1, Doc::Converted, "X"));
        }
    }
}

TEST(DictionaryDocument, TextsThatTheLineCannotHoldAreRefused) {
    struct Case {
        const char* file;
        Doc::Field field;
        const char* text;
        Doc::Refusal::Reason reason;
        const char* character;
    };
    const Case cases[] = {
        {"a b\r\n", Doc::Standard, "x y", Doc::Refusal::Separator, " "},
        {"a b\r\n", Doc::Converted, "x\ty", Doc::Refusal::Separator, "\t"},
        {"a b\r\n", Doc::Note, "x\ny", Doc::Refusal::LineBreak, "\n"},
        {"a b\r\n", Doc::Converted, "犬😀", Doc::Refusal::NoFileForm, "😀"},
    };
    for (const Case& c : cases) {
        const auto result = Doc(c.file).withText(0, c.field, cp932::fromUtf8(c.text));
        ASSERT_TRUE(std::holds_alternative<Doc::Refusal>(result)) << c.text;
        EXPECT_EQ(std::get<Doc::Refusal>(result).reason, c.reason) << c.text;
        EXPECT_EQ(std::get<Doc::Refusal>(result).character, cp932::fromUtf8(c.character));
    }
    // UTF-8 holds it; the check then says the line is skipped.
    Doc utf8("犬 いぬ\n");
    utf8.setLine(0, edited(utf8, 0, Doc::Converted, "😀"));
    EXPECT_EQ(utf8.check().findings.at(0).kind, FindingKind::NoCp932Form);
}

TEST(DictionaryDocument, FieldsThatTheLoaderReadsOtherwiseAreTold) {
    Doc doc("a b c\n# x\n");
    doc.setLine(0, edited(doc, 0, Doc::Converted, ""));
    ASSERT_TRUE(doc.misread(0));
    EXPECT_EQ(doc.misread(0)->parts[3], "c");
    doc.setLine(0, edited(doc, 0, Doc::Standard, ""));
    doc.setLine(0, edited(doc, 0, Doc::Converted, "#b"));
    ASSERT_TRUE(doc.misread(0));
    EXPECT_TRUE(doc.misread(0)->comment());
    EXPECT_FALSE(doc.misread(1)); // a comment read as one
}

// A "登録" made while the editor holds the file: the appended line joins the document.
TEST(DictionaryDocument, LinesAppendedElsewhereJoinTheDocument) {
    const char* files[] = {"a 1\r\n", "a 1", "a 1\r", "\xEF\xBB\xBF犬 いぬ\n", ""};
    for (const char* file : files) {
        test::TempFolder folder;
        const std::string path = folder.write("d.txt", file);
        const DictionaryFileRead read = readDictionaryFile(path);
        Doc doc(read.bytes);
        const bool edit = doc.size() > 0;
        if (edit)
            doc.setLine(0, edited(doc, 0, Doc::Standard, "z"));
        DictionaryTable table;
        loadDictionaryFile(table, path);
        ASSERT_EQ(wordregistration::registerPair(table, "b", "2"),
                  wordregistration::Outcome::Registered);
        const FileLook look = lookAgain(path, read.stamp);
        ASSERT_EQ(look.change, FileChange::Appended) << file;
        ASSERT_TRUE(doc.appendFileBytes(look.appended));
        Doc fresh(look.now.bytes);
        if (edit)
            fresh.setLine(0, edited(fresh, 0, Doc::Standard, "z"));
        EXPECT_EQ(doc.fileBytes(), fresh.fileBytes()) << file;
    }
    Doc open("a 1");
    EXPECT_FALSE(open.appendFileBytes("2\r\n")); // goes on with the last line
    EXPECT_EQ(open.fileBytes(), "a 1");
}

TEST(DictionaryDocument, TheFileKeepsReadingInItsEncoding) {
    Doc utf8("\xE7\x8A\xAC \xC3\xA9\n"); // 犬 é
    utf8.removeLines(0, 1);
    utf8.insertLines(0, {Doc("caf\xC3\xA9 x\n").line(0)});
    EXPECT_EQ(utf8.reading(), Doc::Reading::NeedsMark);
    Doc cp932(sjis("犬 いぬ\r\n"));
    cp932.setLine(0, edited(cp932, 0, Doc::Converted, "縺、"));
    cp932.setLine(0, edited(cp932, 0, Doc::Standard, "A"));
    EXPECT_EQ(cp932.reading(), Doc::Reading::OtherEncoding);
    EXPECT_EQ(Doc("a b\n").reading(), Doc::Reading::Same);
}

TEST(DictionaryFile, ChangesMadeElsewhereAreTold) {
    test::TempFolder folder;
    const std::string path = folder.write("d.txt", "a 1\n");
    FileStamp stamp = readDictionaryFile(path).stamp;
    EXPECT_EQ(lookAgain(path, stamp).change, FileChange::None);
    ASSERT_EQ(writeDictionaryFile(path, "b 2\n", stamp), 0);
    EXPECT_EQ(lookAgain(path, stamp).change, FileChange::None);
    folder.write("d.txt", "c 2\n");
    EXPECT_EQ(lookAgain(path, stamp).change, FileChange::Changed);
    std::filesystem::remove(path);
    EXPECT_EQ(lookAgain(path, stamp).change, FileChange::Missing);
    EXPECT_EQ(readDictionaryFile(folder.path()).error, EISDIR);
}

TEST(NewDictionary, NamesThatCannotBeFileNamesAreRefused) {
    using newdictionary::NameProblem;
    test::TempFolder folder;
    folder.write("辞書/関西弁.txt", "");
    const struct {
        std::string name;
        NameProblem problem;
    } cases[] = {
        {"", NameProblem::Empty},
        {"a/b", NameProblem::Slash},
        {std::string("a\0b", 3), NameProblem::Zero},
        {".", NameProblem::Dots},
        {"..", NameProblem::Dots},
        {"関西弁", NameProblem::Exists},
        {std::string(252, 'x'), NameProblem::TooLong},
        {std::string(251, 'x'), NameProblem::None},
        {"新しい辞書", NameProblem::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(newdictionary::checkName(folder.path(), c.name), c.problem) << c.name;
    ASSERT_EQ(newdictionary::create(folder.path(), "新しい辞書"), 0);
    EXPECT_EQ(test::readBytes(folder.path() + "辞書/新しい辞書.txt"), "");
    EXPECT_EQ(newdictionary::create(folder.path(), "新しい辞書"), EEXIST);
    EXPECT_EQ(newdictionary::checkName(folder.path(), "新しい辞書"), NameProblem::Exists);
}

} // namespace
} // namespace sorvanti
