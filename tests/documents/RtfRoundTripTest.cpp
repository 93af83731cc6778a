#include "DocumentTestSupport.h"

#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace sorvanti;
using namespace sorvanti::test;

namespace {

// A pane's worth of formatted Japanese text.
void fillFormatted(QTextDocument& doc) {
    QTextCursor c = paneCursor(doc);
    c.insertText(u8("標準語の"), format("IPAGothic", 10.5));
    c.insertText(u8("太字"), format("IPAGothic", 10.5, true));
    c.insertText(u8("と斜体"), format("ＭＳ 明朝", 12, false, true));
    c.insertText(u8("下線付き"), format("IPAGothic", 16, false, false, true));
    c.insertText(u8("取り消し"), format("IPAGothic", 9, false, false, false, true));
    c.insertText(u8("赤い文字"), format("DejaVu Serif", 11, true, true, true, true, Qt::red));
    c.insertBlock();
    c.insertText(u8("Latin {braces} \\back\\slash\ttab ｶﾀｶﾅ ①Ⅻ㈱ ソ表"),
                 format("DejaVu Sans", 10, false, false, false, false, QColor(0x12, 0x34, 0x56)));
    c.insertBlock();
    c.insertBlock();
    c.insertText(u8("外字 é ü 😀 𠮷 한국어 ∀") + QChar(QChar::LineSeparator) + u8("改行の後") +
                     QChar(QChar::Nbsp),
                 format("DejaVu Sans", 10, false, false, false, false, Qt::blue));
    c.insertBlock();
    c.insertText(QString(QChar(0xF780)) + QChar(0xF7FF), format("IPAGothic", 10.5));
}

} // namespace

TEST(RtfRoundTrip, FormattedJapaneseTextKeepsEveryRunsFormat) {
    QTextDocument original;
    fillFormatted(original);
    const std::string rtf = RtfWriter::write(original);
    QTextDocument back;
    back.setDefaultFont(QFont("DejaVu Sans", 20)); // not the writer's: the file must say it all
    ASSERT_TRUE(RtfReader::read(back, rtf));
    EXPECT_EQ(back.toRawText(), original.toRawText());
    EXPECT_EQ(shown(back), shown(original));
    // Written again from a pane of the same font, it is the same file.
    back.setDefaultFont(original.defaultFont());
    EXPECT_EQ(RtfWriter::write(back), rtf);
}

TEST(RtfRoundTrip, EmptyAndBlankDocumentsKeepTheirParagraphs) {
    for (const QString& text : {QString(), QString("\n"), QString("a\n\nb\n"), QString("\n\n")}) {
        QTextDocument doc;
        doc.setPlainText(text);
        QTextDocument back;
        ASSERT_TRUE(RtfReader::read(back, RtfWriter::write(doc)));
        EXPECT_EQ(back.blockCount(), doc.blockCount()) << text.toStdString();
        EXPECT_EQ(back.toPlainText(), text);
    }
}

TEST(RtfWriter, WritesJapaneseAsCodePage932Escapes) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(u8("あ"), format("IPAGothic", 12, true));
    c.insertText(u8("xソ😀"), format("DejaVu Sans", 10));
    const std::string rtf = RtfWriter::write(doc);
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg932\\deff0", 0), 0u) << rtf;
    EXPECT_NE(rtf.find("\\fcharset128 IPAGothic;"), std::string::npos) << rtf;
    // A Latin face carrying Japanese bytes declares code page 932 too.
    EXPECT_NE(rtf.find("\\fcharset128 DejaVu Sans;"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\b \\'82\\'a0"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("x\\'83\\'5c\\u-10179?\\u-8704?"), std::string::npos) << rtf;
    EXPECT_EQ(rtf.find("\\uc"), rtf.find("\\uc1"));
}

TEST(RtfWriter, UnrtfReadsTheJapaneseText) {
    const QString unrtf = QStandardPaths::findExecutable("unrtf");
    if (unrtf.isEmpty())
        GTEST_SKIP() << "unrtf is not installed";
    QTextDocument doc;
    fillFormatted(doc);
    QTemporaryDir dir;
    const QString file = dir.filePath("a.rtf");
    writeBytes(file, RtfWriter::write(doc));
    QProcess process;
    process.start(unrtf, {"--html", file});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0);
    QString html = QString::fromUtf8(process.readAllStandardOutput());
    // unrtf writes characters beyond ASCII as numeric references.
    static const QRegularExpression reference("&#(\\d+);");
    QString text;
    qsizetype last = 0;
    for (auto it = reference.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        text += html.mid(last, m.capturedStart() - last);
        const char32_t code = m.captured(1).toUInt();
        text += QString::fromUcs4(&code, 1);
        last = m.capturedEnd();
    }
    text += html.mid(last);
    for (const char* part : {"標準語の", "太字", "と斜体", "下線付き", "取り消し", "赤い文字",
                             "ｶﾀｶﾅ ①Ⅻ㈱ ソ表", "改行の後"})
        EXPECT_TRUE(text.contains(u8(part))) << part << "\n" << text.toStdString();
    EXPECT_TRUE(html.contains("<b>")) << html.toStdString();
    EXPECT_TRUE(html.contains("color=\"#ff0000\"")) << html.toStdString();
}

TEST(RtfRoundTrip, EmptyParagraphsKeepTheirOwnFormatting) {
    // "a", "" (20 pt bold), "b", "" (20 pt bold): an empty paragraph has only its mark.
    QTextDocument doc;
    QTextCursor c = paneCursor(doc);
    const QTextCharFormat plain = format("IPAGothic", 10);
    const QTextCharFormat big = format("IPAGothic", 20, true);
    c.setBlockCharFormat(plain);
    c.insertText("a", plain);
    c.insertBlock(QTextBlockFormat(), big);
    c.insertBlock(QTextBlockFormat(), plain);
    c.insertText("b", plain);
    c.insertBlock(QTextBlockFormat(), big);

    const std::string rtf = RtfWriter::write(doc);
    QTextDocument back;
    back.setDefaultFont(doc.defaultFont());
    ASSERT_TRUE(RtfReader::read(back, rtf));
    ASSERT_EQ(back.blockCount(), 4);
    const double expectedPoints[] = {10, 20, 10, 20};
    int i = 0;
    for (QTextBlock block = back.begin(); block.isValid(); block = block.next(), ++i) {
        const QTextCharFormat shownFormat =
            block.length() > 1 ? block.begin().fragment().charFormat() : block.charFormat();
        EXPECT_EQ(shownFormat.fontPointSize(), expectedPoints[i]) << "block " << i;
        EXPECT_EQ(shownFormat.fontWeight() == QFont::Bold, expectedPoints[i] == 20) << i;
    }
    // Read and written again, the file stays the same, however often.
    EXPECT_EQ(RtfWriter::write(back), rtf);
}

TEST(RtfRoundTrip, FaceNamesKeepCharactersThatBodyTextWritesAsControlWords) {
    for (const char* face : {"A\tB",
                             "A\xE2\x80\xA8"
                             "B",
                             "A\xC2\xA0"
                             "B",
                             "A;B{}\\"}) {
        QTextDocument doc;
        QTextCursor c = paneCursor(doc);
        c.insertText("x", format(face, 12));
        const std::string rtf = RtfWriter::write(doc);
        QTextDocument back;
        back.setDefaultFont(doc.defaultFont());
        ASSERT_TRUE(RtfReader::read(back, rtf));
        EXPECT_EQ(shown(back), shown(doc)) << face;
        EXPECT_EQ(RtfWriter::write(back), rtf) << face;
    }
}

TEST(RtfRoundTrip, AFileCutOffInItsFontTableReadsAsIfTheEntryEnded) {
    // The last face name is taken whole (its bytes decoded, blanks around it trimmed), so the
    // document writes the same file each time it is read and written.
    for (const char* rtf :
         {"{\\rtf1\\deff0{\\fonttbl{\\f0 Face\\'0c", "{\\rtf1{\\fonttbl{\\f0 A \\u66?",
          "{\\rtf1\\deff0{\\fonttbl{\\f0\\fcharset128 \\'82\\'a0 x\\par"}) {
        QTextDocument doc;
        ASSERT_TRUE(RtfReader::read(doc, rtf));
        const std::string written = RtfWriter::write(doc);
        QTextDocument back;
        back.setDefaultFont(doc.defaultFont());
        ASSERT_TRUE(RtfReader::read(back, written));
        EXPECT_EQ(RtfWriter::write(back), written) << rtf;
    }
}
