#include "DocumentTestSupport.h"

#include "documents/DocumentFiles.h"
#include "documents/PlainText.h"
#include "toolkit/Cp932.h"
#include "toolkit/Error.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace sorvanti;
using namespace sorvanti::test;

namespace {

// The code page's duplicate codes, which read as a character whose canonical code differs.
bool isDuplicateCode(unsigned char lead, unsigned char trail) {
    const int code = lead << 8 | trail;
    return (code >= 0x8790 && code <= 0x8792) || (code >= 0x8795 && code <= 0x8797) ||
           (code >= 0x879A && code <= 0x879C) || (code >= 0xED40 && code <= 0xEEFC) ||
           (code >= 0xFA4A && code <= 0xFA54) || (code >= 0xFA58 && code <= 0xFA5B);
}

class PlainTextFiles : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

    // Opens `bytes` as a plain-text file in a text edit, shows it, and saves it again.
    std::string reopenAndSave(const std::string& bytes) {
        writeBytes(path("in.svt"), bytes);
        QTextEdit edit;
        edit.resize(400, 300);
        readDocument(*edit.document(), path("in.svt"), true, &format);
        edit.grab(); // lays the text out as the pane would show it
        writeDocument(*edit.document(), path("out.svt"), true, format);
        return readBytes(path("out.svt"));
    }

    QTemporaryDir dir_;
    plaintext::Format format; // as the last reopenAndSave() read it
};

QStringList blockTexts(const QTextDocument& doc) {
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines;
}

} // namespace

TEST_F(PlainTextFiles, EveryByteValueComesBackUnchanged) {
    // Each byte inside a line, alone on a line, at the end of a line and doubled; all on
    // CR LF lines. LF is the only byte that cannot appear inside a line.
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
        if (b == '\n')
            continue;
        const char c = char(b);
        bytes += std::string("x") + c + " \r\n" + c + "\r\n" + "z" + c + "\r\n";
        if (!isDuplicateCode(c, c))
            bytes += std::string(2, c) + "\r\n";
    }
    EXPECT_EQ(reopenAndSave(bytes), bytes);
}

TEST_F(PlainTextFiles, EveryTwoByteSequenceComesBackUnchanged) {
    std::string bytes;
    int onLine = 0;
    for (int lead = 0x80; lead < 0x100; ++lead) {
        for (int trail = 0; trail < 0x100; ++trail) {
            if (trail == '\n' || isDuplicateCode(lead, trail))
                continue;
            bytes += char(lead);
            bytes += char(trail);
            bytes += ' ';
            if (++onLine == 48) {
                bytes += "\r\n";
                onLine = 0;
            }
        }
    }
    EXPECT_EQ(reopenAndSave(bytes), bytes);
}

TEST_F(PlainTextFiles, AwkwardSequencesComeBackUnchanged) {
    const std::string cases[] = {
        "",
        "\r\n",
        "\r\n\r\n\r\n",
        "no line end",
        "ends with line end\r\n",
        "\r\r\n",                      // a CR before the CR LF
        "a\rb\r\nc\r",                 // CRs that end no line, one at the very end
        "\x81\r\n\x81",                // lead bytes before a line end and at the end
        "\x83\x5c\x83\x5c\r\n",        // katakana "so" ends in a backslash byte
        "\xb1\xb2\xb3 half-width\r\n", // half-width katakana
        "\xf0\x40\xf9\xfc user area\r\n",
        std::string("nul\0nul\0\0\r\n", 12),
        "\x0c\x0b\x7f\x1a\x1b[0m\x08\r\n",
        "\x82\xa0\x82\xa2\x82\xa4\r\n\x93\xfa\x96\x7b\x8c\xea\r\n",
        "\xef\xbb\xbf byte-order mark of UTF-8\r\n",
        "\xff\xfe\xfd\x80\xa0\r\n",
        "\x81\x0d\x0d\x0a\x82",
    };
    for (const std::string& bytes : cases)
        EXPECT_EQ(reopenAndSave(bytes), bytes) << "for " << ::testing::PrintToString(bytes);
}

TEST_F(PlainTextFiles, TextReadsAsLinesOfCodePage932) {
    writeBytes(path("a.txt"), "\x93\xfa\x96\x7b\x8c\xea\r\n\x82\x51\x8d\x73\x96\xda\nlf\r\n\x80!");
    QTextDocument doc;
    readDocument(doc, path("a.txt"), true);
    EXPECT_EQ(blockTexts(doc), (QStringList{u8("日本語"), u8("２行目"), "lf",
                                            QString(QChar(cp932::kRawByteBase + 0x80)) + "!"}));
}

TEST_F(PlainTextFiles, LinesEndingInLineFeedOnlyAreWrittenWithCrLf) {
    EXPECT_EQ(reopenAndSave("a\nb\r\nc\n"), "a\r\nb\r\nc\r\n");
}

TEST_F(PlainTextFiles, DuplicateCodesAreWrittenInTheirCanonicalForm) {
    // 0xED40 and 0xFA5C are the same character; only the second is written back.
    EXPECT_EQ(reopenAndSave("\xed\x40\xfa\x5c\r\n"), "\xfa\x5c\xfa\x5c\r\n");
}

TEST(PlainTextEncode, EditedTextIsWrittenLineByLine) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(u8("一行目"));
    cursor.insertBlock();
    cursor.insertText(u8("二行目") + QChar(QChar::LineSeparator) + u8("改行の後"));
    cursor.insertBlock();
    cursor.insertText(u8("no-break") + QChar(QChar::Nbsp) + "space\t" +
                      QChar(QChar::ObjectReplacementCharacter) + "x");
    EXPECT_EQ(plaintext::encode(doc), "\x88\xea\x8d\x73\x96\xda\r\n"
                                      "\x93\xf1\x8d\x73\x96\xda\r\n"
                                      "\x89\xfc\x8d\x73\x82\xcc\x8c\xe3\r\n"
                                      "no-break space\tx");
}

TEST_F(PlainTextFiles, TextWithoutCodePage932FormIsRefusedAndNothingWritten) {
    const std::string old = "old content\r\n";
    writeBytes(path("keep.txt"), old);
    QTextDocument doc;
    doc.setPlainText(u8("一行目\n二行目\nここに😀がある"));
    try {
        writeDocument(doc, path("keep.txt"), true);
        FAIL() << "saved text that code page 932 cannot hold";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "3行目の文字「😀」はテキストファイルに保存できません。"
                               "リッチテキスト(.rtf)で保存して下さい");
    }
    EXPECT_EQ(readBytes(path("keep.txt")), old);
    EXPECT_THROW(writeDocument(doc, path("new.svt"), true), Error);
    EXPECT_FALSE(QFile::exists(path("new.svt")));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.txt"});

    // An invisible character is named by its code.
    doc.setPlainText(u8("zero\u200Bwidth"));
    try {
        writeDocument(doc, path("new.svt"), true);
        FAIL() << "saved text that code page 932 cannot hold";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "1行目の文字「U+200B」はテキストファイルに保存できません。"
                               "リッチテキスト(.rtf)で保存して下さい");
    }
}

// UTF-8 files come back byte for byte with their mark and line ends, whatever they hold.
TEST_F(PlainTextFiles, Utf8FilesComeBackUnchanged) {
    using textencoding::Encoding;
    const struct {
        std::string bytes;
        Encoding encoding;
        bool bom, lf;
    } cases[] = {
        {"日本語\n二行目\n", Encoding::Utf8, false, true},
        {"日本語\r\n二行目\r\n", Encoding::Utf8, false, false},
        {"\xEF\xBB\xBF日本語\n", Encoding::Utf8, true, true},
        {"\xEF\xBB\xBF", Encoding::Utf8, true, true}, // the mark alone
        {"\xEF\xBB\xBF"
         "ascii\r\n",
         Encoding::Utf8, true, false},
        {"末尾に改行なし", Encoding::Utf8, false, true},
        {"a\rb は\n\r\nc\r", Encoding::Utf8, false, true},          // CRs in an LF file
        {"絵文字😀 ¥ 〜 \u00A0nbsp\n", Encoding::Utf8, false, true}, // no code page 932 form
        {"\uF741 私用領域\n", Encoding::Utf8, false, true},         // a raw-byte look-alike
        // Bytes that are no UTF-8 after a mark, and UTF-8 spoilt by one such byte.
        {"\xEF\xBB\xBF壊れた\xFF\x82バイト\r\n", Encoding::Utf8, true, false},
        {"日本\xFF語\n", Encoding::Cp932, false, false},
        {"plain ASCII\n", Encoding::Cp932, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes));
        const std::string back = reopenAndSave(c.bytes);
        EXPECT_EQ(format.encoding, c.encoding);
        EXPECT_EQ(format.bom, c.bom);
        EXPECT_EQ(format.lf, c.lf);
        // A code page 932 file is written with CR LF, as before.
        if (c.encoding == Encoding::Utf8) {
            EXPECT_EQ(back, c.bytes);
        }
    }
}

TEST_F(PlainTextFiles, Utf8TextReadsAsItsCharacters) {
    writeBytes(path("u.txt"), "\xEF\xBB\xBF日本語\n😀と鉙\r\n");
    QTextDocument doc;
    plaintext::Format f;
    readDocument(doc, path("u.txt"), true, &f);
    // An LF file: the CR before the second LF is part of that line, as a mark of its own.
    const QStringList lines = blockTexts(doc);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], u8("日本語"));
    EXPECT_EQ(lines[1].chopped(1), u8("😀と鉙"));
    EXPECT_TRUE(lines[1].back().isLowSurrogate());
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(plaintext::formatLabel(f), "UTF-8 (BOM) LF");
    EXPECT_EQ(plaintext::formatLabel({}), "CP932");
}

// The pieces of `text` between '|', as bytes; a piece "0" stands for a zero byte.
std::vector<std::string> pieces(std::string_view text) {
    std::vector<std::string> out(1);
    for (const char c : text)
        c == '|' ? out.emplace_back() : out.back() += c;
    for (std::string& piece : out)
        piece = piece == "0" ? std::string(1, '\0') : piece;
    return out;
}

// Characters that the text document uses for its own structure, or that stand for raw bytes in
// code page 932 text, are characters like any other in a UTF-8 file: each comes back as itself,
// with or without a mark and bytes that are no UTF-8 beside it, and the lines stay as they were.
TEST_F(PlainTextFiles, Utf8FilesKeepEveryCharacterTheyHold) {
    for (const std::string& c : pieces(
             "\u2028|\u2029|\uFDD0|\uFDD1|\uFFFC|\uF70D|\uF741|\uF700|\uF7FF|\uFEFF|\uFFFD|\r|0")) {
        for (const std::string& bytes :
             {"日本" + c + "語\n二行目", "\xEF\xBB\xBF" + c + "日\xFF語" + c + "\r\n\xC3\xA9\r\n",
              "Stra\xC3\x9F" + c + "e\n"}) {
            SCOPED_TRACE(::testing::PrintToString(bytes));
            EXPECT_EQ(reopenAndSave(bytes), bytes);
            EXPECT_EQ(plaintext::decode(bytes).count(QLatin1Char('\n')),
                      qsizetype(std::count(bytes.begin(), bytes.end(), '\n')));
        }
    }
}

// Open, edit (cut a piece out), save in the file's format or another one, reopen: the text is
// the text saved, over seeded files made of awkward pieces. Where the format would read back
// otherwise (katakana look-alikes of UTF-8, "é" left alone in UTF-8, code page 932 bytes that
// are valid UTF-8 such as "縺、"), the save has to pick the format that does.
TEST(PlainTextEncode, OpenEditSaveReopenGivesTheSameText) {
    const std::vector<std::string> parts =
        pieces("a|\r|\n|\r\n|\xC8|\xBA|\xC3\xA9|日|\u2028|\u2029|\uFDD0|\uFDD1|\uFFFC|\uF70D|"
               "\uF741|\uFEFF|\xFF|"
               "\x80|\x82|\xA0|\x82\xA0|\xE3\x81\x81\x41|\U00010000|\U001024D3|0");
    std::mt19937 random(15);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = random() % 4 == 0 ? "\xEF\xBB\xBF" : "";
        for (int n = int(random() % 12); n > 0; --n)
            bytes += parts[random() % parts.size()];
        plaintext::Format format;
        const QString opened = plaintext::decode(bytes, &format);
        QTextDocument doc;
        plaintext::setDocumentText(doc, opened);
        QTextCursor cut(&doc);
        cut.movePosition(QTextCursor::NextCharacter, QTextCursor::MoveAnchor,
                         int(random() % uint(doc.characterCount())));
        cut.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, int(random() % 3));
        cut.removeSelectedText();
        QString text = doc.toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        if (random() % 2 != 0)
            format = {textencoding::Encoding(random() % 2), random() % 2 != 0, random() % 2 != 0};
        plaintext::Format written;
        std::string saved;
        try {
            saved = plaintext::encode(doc, format, &written);
        } catch (const Error&) {
            // Only characters code page 932 lacks, or carried bytes that an edit put side by
            // side, are refused.
            ASSERT_TRUE(format.encoding == textencoding::Encoding::Cp932 || text != opened);
            continue;
        }
        // Code page 932 holds a carried byte as its raw-byte character (where it has one; else
        // the save was refused).
        for (QChar& c : text)
            if (written.encoding == textencoding::Encoding::Cp932 && c >= QChar(0xDC80) &&
                c <= QChar(0xDCFF))
                c = QChar(cp932::kRawByteBase + (c.unicode() - 0xDC00));
        ASSERT_EQ(plaintext::decode(saved), text)
            << ::testing::PrintToString(bytes) << " saved as " << ::testing::PrintToString(saved);
    }
}
