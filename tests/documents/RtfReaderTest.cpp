#include "DocumentTestSupport.h"

#include "documents/RtfReader.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace sorvanti;
using namespace sorvanti::test;

namespace {

QString textOf(const std::string& rtf) {
    QTextDocument doc;
    if (!RtfReader::read(doc, rtf))
        return "<not rtf>";
    return doc.toRawText();
}

// The format of the first character of the first occurrence of `text`.
QTextCharFormat formatAt(const QTextDocument& doc, const QString& text) {
    const qsizetype at = doc.toRawText().indexOf(text);
    if (at < 0) {
        ADD_FAILURE() << "no \"" << text.toStdString() << "\" in " << doc.toRawText().toStdString();
        return {};
    }
    const QTextBlock block = doc.findBlock(int(at));
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (f.position() <= at && at < f.position() + f.length())
            return f.charFormat();
    }
    return {};
}

QString family(const QTextCharFormat& f) {
    return f.fontFamilies().toStringList().value(0);
}

const QChar kPara = QChar::ParagraphSeparator;

} // namespace

TEST(RtfReader, RecognisesRtfByItsOpeningOnly) {
    EXPECT_TRUE(RtfReader::isRtf("{\\rtf1}"));
    EXPECT_TRUE(RtfReader::isRtf("\xef\xbb\xbf\r\n\t {\\rtf1\\ansi x}"));
    EXPECT_FALSE(RtfReader::isRtf(""));
    EXPECT_FALSE(RtfReader::isRtf("{\\rt"));
    EXPECT_FALSE(RtfReader::isRtf("x{\\rtf1}"));
    EXPECT_FALSE(RtfReader::isRtf("{\\RTF1}"));
    QTextDocument doc;
    doc.setPlainText("kept");
    EXPECT_FALSE(RtfReader::read(doc, "plain text"));
    EXPECT_EQ(doc.toPlainText(), "kept");
}

TEST(RtfReader, JapaneseInCodePage932Escapes) {
    // As a Japanese word processor writes it: a font table with Japanese names in \'hh,
    // text under a font of character set 128.
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1033\\deflangfe1041"
        "{\\fonttbl{\\f0\\froman\\fprq1\\fcharset128 \\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}"
        "{\\f1\\fswiss\\fcharset0 Arial{\\*\\falt Helvetica};}"
        "{\\f2\\fnil\\fcharset128 {\\*\\panose 020b0604020202020204}\\'82\\'6c\\'82\\'72 "
        "\\'82\\'6f\\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}}\r\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n"
        "{\\stylesheet{\\s0 Normal;}}{\\info{\\title \\'95\\'b6\\'8f\\'91}{\\author x}}"
        "\\pard\\plain \\f0\\fs21 \\'93\\'fa\\'96\\'7b\\'8c\\'ea\\'82\\'cc\r\n\\'95\\'b6\\'8f\\'cd"
        "{\\f2\\fs28\\cf2 \\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e}\\par\r\n"
        "\\f1 Latin \\'83\\\\\\par}";
    QTextDocument doc;
    ASSERT_TRUE(RtfReader::read(doc, rtf));
    EXPECT_EQ(doc.toRawText(), u8("日本語の文章ゴシック") + kPara + "Latin " + QChar(0x192) + "\\");
    EXPECT_EQ(family(formatAt(doc, u8("日本"))), u8("ＭＳ 明朝"));
    EXPECT_EQ(formatAt(doc, u8("日本")).fontPointSize(), 10.5);
    EXPECT_EQ(family(formatAt(doc, u8("ゴシック"))), u8("ＭＳ Ｐゴシック"));
    EXPECT_EQ(formatAt(doc, u8("ゴシック")).fontPointSize(), 14);
    EXPECT_EQ(formatAt(doc, u8("ゴシック")).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(family(formatAt(doc, "Latin")), "Arial");
}

TEST(RtfReader, DoubleByteCharactersSplitOverEscapesAndLiterals) {
    // "ソ" is 0x83 0x5C: the second byte is a backslash, written escaped or as \'5c.
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg932 \\'83\\'5c\\'83\\\\\\'83\\'5cA}"), u8("ソソソA"));
    // Raw bytes of the code page in the file are text as well.
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg932 \x82\xa0\\'82\xa2}"), u8("あい"));
}

TEST(RtfReader, UnicodeEscapesSkipTheirFallback) {
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg932\\uc2 \\u26085\\'93\\'fa\\u26412\\'96\\'7b!}"),
              u8("日本!"));
    EXPECT_EQ(textOf("{\\rtf1\\uc1\\u-10179?\\u-8704?\\u12354 ?x}"), u8("😀あx"));
    EXPECT_EQ(textOf("{\\rtf1{\\uc0\\u20104}\\u20105 ?}"), QString(QChar(20104)) + QChar(20105));
    // The skipped fallback ends with its group.
    EXPECT_EQ(textOf("{\\rtf1\\uc3{\\u12354}x}"), u8("あx"));
}

TEST(RtfReader, OtherCodePagesAreDecodedTheirWay) {
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 \\'93q\\'94}"), u8("café “q”"));
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}"), u8("При"));
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset204 "
                     "B;}{\\f2\\fcharset134 C;}}\\f0 \\'e9\\f1 \\'cf\\f2 \\'d6\\'d0}"),
              u8("éП中"));
    EXPECT_EQ(textOf("{\\rtf1\\mac \\'8e}"), u8("é"));
}

TEST(RtfReader, CharacterFormattingFollowsGroupsAndPlain) {
    QTextDocument doc;
    ASSERT_TRUE(RtfReader::read(
        doc, "{\\rtf1{\\colortbl;\\red0\\green0\\blue255;}"
             "n{\\b b{\\i bi\\b0 i}\\ul u\\ulnone B}{\\strike s\\strike0 S}\\ul\\cf1 U\\plain P"
             "{\\fs40 big}{\\ulw w\\uld d}{\\ulc1 c}\\i\\i0 r}"));
    EXPECT_EQ(doc.toRawText(), "nbbiiuBsSUPbigwdcr");
    auto check = [&](const char* at, bool b, bool i, bool u, bool s) {
        const QTextCharFormat f = formatAt(doc, at);
        EXPECT_EQ(f.font().bold(), b) << at;
        EXPECT_EQ(f.fontItalic(), i) << at;
        EXPECT_EQ(f.fontUnderline(), u) << at;
        EXPECT_EQ(f.fontStrikeOut(), s) << at;
    };
    check("n", false, false, false, false);
    check("bb", true, false, false, false);
    check("bi", true, true, false, false);
    check("iu", false, true, false, false);
    check("uB", true, false, true, false);
    check("B", true, false, false, false);
    check("sS", false, false, false, true);
    check("SU", false, false, false, false);
    check("UP", false, false, true, false);
    check("P", false, false, false, false);
    check("w", false, false, true, false);
    check("d", false, false, true, false);
    check("c", false, false, false, false); // \\ulc is the colour of underlines, not one
    check("r", false, false, false, false);
    EXPECT_EQ(formatAt(doc, "U").foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(formatAt(doc, "P").foreground().style(), Qt::NoBrush);
    EXPECT_EQ(formatAt(doc, "big").fontPointSize(), 20);
    EXPECT_EQ(formatAt(doc, "P").fontPointSize(), 12);
}

TEST(RtfReader, ParagraphsBreaksAndSpecialCharacters) {
    EXPECT_EQ(textOf("{\\rtf1 a\\par b\\line c\\tab d\\par}"),
              QString("a") + kPara + "b" + QChar(QChar::LineSeparator) + "c\td");
    EXPECT_EQ(textOf("{\\rtf1 a\\par\\par}"), QString("a") + kPara);
    EXPECT_EQ(textOf("{\\rtf1 a\\\r\nb}"), QString("a") + kPara + "b");
    EXPECT_EQ(textOf("{\\rtf1 a\r\nb\rc\nd}"), "abcd");
    EXPECT_EQ(textOf("{\\rtf1 \\{\\}\\\\\\~\\-\\_\\emdash\\endash\\bullet\\lquote\\rquote"
                     "\\ldblquote\\rdblquote x}"),
              u8("{}\\\u00A0\u2011—–•‘’“”x"));
}

TEST(RtfReader, DestinationsWithoutBodyTextAreSkipped) {
    const std::string rtf =
        "{\\rtf1\\ansi{\\*\\generator Writer 1.0;}{\\*\\unknown {nested} text}"
        "{\\header head}{\\footer foot}{\\info{\\title t}}"
        "before{\\footnote note}{\\pict\\pngblip\\picw8 89504e47{\\*\\blipuid 00}\\bin4 }}}}"
        "0a1b}after "
        "{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}} "
        "{\\object\\objemb{\\*\\objclass Paint}{\\*\\objdata 0102}{\\result shown}}"
        "{\\shp{\\*\\shpinst{\\sp{\\sn t}{\\sv v}}{\\shptxt box}}{\\shprslt fallback}}"
        "{\\listtext 1.\\tab}item{\\v hidden}.}";
    EXPECT_EQ(textOf(rtf), "beforeafter link shownfallbackitem.");
}

TEST(RtfReader, TablesBecomeTabsAndLines) {
    const std::string rtf =
        "{\\rtf1 before\\par"
        "\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl a1\\cell a2\\cell\\cell\\row"
        "\\trowd\\cellx1000\\cellx2000\\pard\\intbl b1\\cell b2\\cell\\row"
        "\\pard after\\par}";
    EXPECT_EQ(textOf(rtf),
              QString("before") + kPara + "a1\ta2\t" + kPara + "b1\tb2" + kPara + "after");
}

TEST(RtfReader, MalformedNestingIsTolerated) {
    EXPECT_EQ(textOf("{\\rtf1 open {\\b group"), "open group");
    EXPECT_EQ(textOf("{\\rtf1 done} ignored {more}"), "done");
    EXPECT_EQ(textOf("{\\rtf1 \\'"), "");
    EXPECT_EQ(textOf("{\\rtf1 \\'4"), "\x04");
    EXPECT_EQ(textOf("{\\rtf1 \\bin99999999 x}"), "");
    EXPECT_EQ(textOf("{\\rtf1 \\fs99999999999999999999 \\u99999999 \\uc-5 x\\"), "x");
}
