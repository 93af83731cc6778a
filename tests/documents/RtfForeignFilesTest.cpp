// RTF written by other programs (made by data/make-data.sh) read into a document.
#include "DocumentTestSupport.h"

#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"

#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace sorvanti;
using namespace sorvanti::test;

namespace {

std::unique_ptr<QTextDocument> readDataFile(const char* name) {
    auto doc = std::make_unique<QTextDocument>();
    const std::string bytes = readBytes(QStringLiteral(DOCUMENTS_TEST_DATA "/") + name);
    EXPECT_TRUE(RtfReader::read(*doc, bytes)) << name;
    return doc;
}

// The character formats of `text` where it first occurs, as the pane shows them.
std::vector<Shown> shownAt(const QTextDocument& doc, const char* text) {
    const QString wanted = u8(text);
    const std::vector<Shown> all = shown(doc);
    QString chars;
    for (const Shown& s : all)
        chars += s.ch;
    const qsizetype at = chars.indexOf(wanted);
    if (at < 0) {
        ADD_FAILURE() << "no \"" << text << "\" in " << chars.toStdString();
        return {};
    }
    return {all.begin() + at, all.begin() + at + wanted.size()};
}

bool allOf(const std::vector<Shown>& run, auto predicate) {
    return !run.empty() && std::all_of(run.begin(), run.end(), predicate);
}

// The document given to LibreOffice as sorvanti-sample.rtf.
void writerSample(QTextDocument& doc) {
    QTextCursor c = paneCursor(doc);
    c.insertText(u8("標準語の"), format("IPAGothic", 10.5));
    c.insertText(u8("太字"), format("IPAGothic", 10.5, true));
    c.insertText(u8("と斜体"), format("IPAGothic", 12, false, true));
    c.insertText(u8("と下線"), format("IPAGothic", 16, false, false, true));
    c.insertText(u8("と取り消し"), format("IPAGothic", 9, false, false, false, true));
    c.insertText(u8("赤い明朝"), format("IPAMincho", 14, false, false, false, false, Qt::red));
    c.insertBlock();
    c.insertText(u8("Latin text in DejaVu Serif, "),
                 format("DejaVu Serif", 11, false, false, false, false, Qt::blue));
    c.insertText(u8("半角ｶﾀｶﾅ①と外字😀"), format("DejaVu Serif", 11, true));
    c.insertBlock();
    c.insertText(u8("最後の行"), format("IPAGothic", 10.5));
}

} // namespace

TEST(RtfForeignFiles, TheSampleGivenToLibreOfficeIsTheWritersOutput) {
    QTextDocument doc;
    writerSample(doc);
    EXPECT_EQ(RtfWriter::write(doc), readBytes(DOCUMENTS_TEST_DATA "/sorvanti-sample.rtf"))
        << "the writer changed: run data/make-data.sh to remake the files LibreOffice wrote";
}

TEST(RtfForeignFiles, LibreOfficeReadsTheWritersFormattingBack) {
    // LibreOffice opened the writer's file and saved it again in its own way: every
    // character keeps its face, size, weight, slant, lines and colour.
    QTextDocument original;
    writerSample(original);
    const auto resaved = readDataFile("libreoffice-resaved-sample.rtf");
    EXPECT_EQ(resaved->toRawText(), original.toRawText());
    EXPECT_EQ(shown(*resaved), shown(original));
}

TEST(RtfForeignFiles, LibreOfficeWriterDocument) {
    const auto doc = readDataFile("libreoffice-writer-sample.rtf");
    const QChar para = QChar::ParagraphSeparator;
    EXPECT_EQ(doc->toRawText(), u8("標準語の見本です。") + para +
                                    u8("太字の文字と斜体の文字と下線の文字と取り消し線。") + para +
                                    u8("赤い Latin text と 青いゴシック。") + para +
                                    u8("絵の前絵の後") + para + u8("表の一\t表の二") + para +
                                    u8("三番目\t四番目") + para +
                                    u8("表の後の段落。半角ｶﾀｶﾅと記号①②。"));
    EXPECT_TRUE(allOf(shownAt(*doc, "標準語の見本です。"),
                      [](const Shown& s) { return s.family == "IPAGothic" && s.points == 14; }));
    EXPECT_TRUE(allOf(shownAt(*doc, "太字の文字"), [](const Shown& s) { return s.bold; }));
    EXPECT_TRUE(allOf(shownAt(*doc, "斜体の文字"), [](const Shown& s) { return s.italic; }));
    EXPECT_TRUE(allOf(shownAt(*doc, "下線の文字"), [](const Shown& s) { return s.underline; }));
    EXPECT_TRUE(allOf(shownAt(*doc, "取り消し線"), [](const Shown& s) { return s.strike; }));
    // The "と" between the runs is plain.
    const std::vector<Shown> between = shownAt(*doc, "と斜体");
    ASSERT_FALSE(between.empty());
    EXPECT_FALSE(between[0].bold || between[0].italic || between[0].underline ||
                 between[0].strike || between[0].color != 0);
    EXPECT_TRUE(between[1].italic);
    EXPECT_TRUE(allOf(shownAt(*doc, "赤い Latin text"),
                      [](const Shown& s) { return s.color == qRgb(255, 0, 0); }));
    EXPECT_TRUE(allOf(shownAt(*doc, "Latin text"),
                      [](const Shown& s) { return s.family == "DejaVu Serif"; }));
    EXPECT_TRUE(allOf(shownAt(*doc, "青いゴシック"), [](const Shown& s) {
        return s.color == qRgb(0, 0, 255) && s.family == "IPAGothic";
    }));
}

TEST(RtfForeignFiles, PandocDocument) {
    const auto doc = readDataFile("pandoc-sample.rtf");
    const QChar para = QChar::ParagraphSeparator;
    EXPECT_EQ(doc->toRawText(),
              u8("見出しの文") + para + u8("これは太字と斜体の入った日本語の段落です。") + para +
                  u8("•\t箇条書きの一") + para + u8("•\t箇条書きの二") + para + u8("最後の段落。"));
    EXPECT_TRUE(allOf(shownAt(*doc, "見出しの文"), [](const Shown& s) {
        return s.bold && s.points == 18 && s.family == "Helvetica";
    }));
    EXPECT_TRUE(allOf(shownAt(*doc, "太字"), [](const Shown& s) { return s.bold && !s.italic; }));
    EXPECT_TRUE(allOf(shownAt(*doc, "斜体"), [](const Shown& s) { return s.italic && !s.bold; }));
    EXPECT_TRUE(allOf(shownAt(*doc, "これは"), [](const Shown& s) { return !s.bold; }));
}
