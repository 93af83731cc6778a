#include "DocumentTestSupport.h"

#include "documents/RtfReader.h"
#include "toolkit/FormFont.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <iconv.h>
#include <sys/resource.h>

#include <set>

#include <string>

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
    // The program's own face asks for the faces of Linux that stand in for it, as a pane does.
    EXPECT_EQ(formatAt(doc, u8("ゴシック")).fontFamilies().toStringList(), formFontFamilies());
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

namespace {

// `sample` as the system converter decodes it, converted in one go and flushed.
std::u16string systemDecode(const char* codeset, const std::string& sample) {
    iconv_t cd = iconv_open("UTF-16LE", codeset);
    if (cd == iconv_t(-1))
        return u"<no converter>";
    std::u16string out(sample.size() * 2 + 16, u'\0');
    char* in = const_cast<char*>(sample.data());
    size_t inLeft = sample.size();
    char* o = reinterpret_cast<char*>(out.data());
    size_t outLeft = out.size() * 2;
    const bool ok = iconv(cd, &in, &inLeft, &o, &outLeft) != size_t(-1) &&
                    iconv(cd, nullptr, nullptr, &o, &outLeft) != size_t(-1);
    iconv_close(cd);
    if (!ok)
        return u"<invalid sample>";
    out.resize((reinterpret_cast<char16_t*>(o) - out.data()));
    return out;
}

// Text in `codeset`: every byte from 0x20 that converts on its own, then the characters of
// a multilingual text that the code set has, as one stream (so shift states are right).
std::string sampleOf(const char* codeset) {
    std::string sample;
    for (int b = 0x20; b < 0x100; ++b) {
        const std::string one(1, char(b));
        const std::u16string decoded = systemDecode(codeset, one);
        if (!decoded.empty() && decoded[0] != u'<')
            sample += one;
    }
    iconv_t cd = iconv_open(codeset, "UTF-8");
    const std::string text =
        "日本語 中文 한국어 Ελληνικά Русский עברית العربية Tiếng Việt ไทย ÀÉÎõü";
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char buffer[1024];
    char* o = buffer;
    size_t outLeft = sizeof buffer;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &o, &outLeft) != size_t(-1))
            break;
        // A character the code set lacks: step over its UTF-8 bytes.
        do {
            ++in;
            --inLeft;
        } while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80);
    }
    iconv(cd, nullptr, nullptr, &o, &outLeft);
    iconv_close(cd);
    sample.append(buffer, size_t(o - buffer));
    return sample + "z"; // a last base character, which some converters hold back
}

} // namespace

TEST(RtfReader, TheLastCharacterOfARunIsNotHeldBack) {
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg1258 abc}"), "abc");
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg1255 abc}"), "abc");
    EXPECT_EQ(textOf("{\\rtf1\\ansi{\\fonttbl{\\f1\\fcharset163 Tahoma;}}\\f1 Vi\\'eat Nam}"),
              u8("Viêt Nam"));
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg1258 a\\'ecb}"), u8("áb")); // a combining mark
}

TEST(RtfReader, EveryCodePageDecodesAsTheSystemConverter) {
    const struct {
        int codepage;
        const char* codeset;
    } pages[] = {
        {437, "CP437"},       {850, "CP850"},    {874, "CP874"},    {1250, "CP1250"},
        {1251, "CP1251"},     {1252, "CP1252"},  {1253, "CP1253"},  {1254, "CP1254"},
        {1255, "CP1255"},     {1256, "CP1256"},  {1257, "CP1257"},  {1258, "CP1258"},
        {10000, "MACINTOSH"}, {936, "CP936"},    {949, "CP949"},    {950, "CP950"},
        {1361, "JOHAB"},      {20932, "EUC-JP"}, {51932, "EUC-JP"}, {50220, "ISO-2022-JP"},
        {65001, "UTF-8"},
    };
    for (const auto& page : pages) {
        const std::string sample = sampleOf(page.codeset);
        std::string rtf = "{\\rtf1\\ansi\\ansicpg" + std::to_string(page.codepage) + " ";
        for (unsigned char b : sample) {
            static const char hex[] = "0123456789abcdef";
            rtf += "\\'";
            rtf += hex[b >> 4];
            rtf += hex[b & 15];
        }
        rtf += "}";
        const std::u16string expected = systemDecode(page.codeset, sample);
        ASSERT_GT(expected.size(), 20u) << page.codeset;
        EXPECT_EQ(textOf(rtf), QString::fromStdU16String(expected)) << page.codeset;
    }
}

TEST(RtfReader, GroupsNestedBeyondTheBoundAreSkippedWhole) {
    auto nested = [](int depth, const std::string& inner) {
        return std::string(size_t(depth), '{') + inner + std::string(size_t(depth), '}');
    };
    EXPECT_EQ(textOf("{\\rtf1 a" + nested(2000, "b") + "c}"), "abc");
    EXPECT_EQ(textOf("{\\rtf1 a" + nested(5000, "b\\par") + "c\\b d}"), "acd");
    // Formatting inside the skipped groups does not leak out of them.
    QTextDocument doc;
    ASSERT_TRUE(RtfReader::read(doc, "{\\rtf1 " + nested(3500, "\\b x") + "y}"));
    EXPECT_EQ(doc.toRawText(), "y");
    EXPECT_FALSE(formatAt(doc, "y").font().bold());
}

TEST(RtfReader, NestingMemoryStaysNearTheFileSize) {
    // Ten million "{" in a 10 MB file: each kept group would hold a copy of the state.
    const std::string rtf = "{\\rtf1 " + std::string(10'000'000, '{') + "x";
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    EXPECT_EQ(textOf(rtf), "");
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024) << "kB more at the peak";
}

TEST(RtfReader, FontsPastTheTableBoundTakeTheDefaultFace) {
    // 100,000 faces, each used once: the layout would look each of them up.
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl";
    for (int i = 0; i < 100000; ++i)
        rtf += "{\\f" + std::to_string(i) + " Face" + std::to_string(i) + ";}";
    rtf += "}";
    for (int i = 0; i < 100000; i += 97)
        rtf += "{\\f" + std::to_string(i) + " t" + std::to_string(i) + "}";
    rtf += "}";
    QTextDocument doc;
    ASSERT_TRUE(RtfReader::read(doc, rtf));
    EXPECT_EQ(family(formatAt(doc, "t97")), "Face97");
    EXPECT_EQ(family(formatAt(doc, "t388")), "Face388");
    EXPECT_EQ(family(formatAt(doc, "t485")), "Face0");
    EXPECT_EQ(family(formatAt(doc, "t99910")), "Face0");
    // Equal formats are one format of the document.
    std::set<QString> families;
    for (const QTextFormat& f : doc.allFormats())
        if (f.isCharFormat())
            families.insert(family(f.toCharFormat()));
    EXPECT_LE(families.size(), 6u);
    // Sizes past the largest a word processor offers are that size.
    ASSERT_TRUE(RtfReader::read(doc, "{\\rtf1 {\\fs100000 big}{\\fs3276 max}}"));
    EXPECT_EQ(formatAt(doc, "big").fontPointSize(), 1638);
    EXPECT_EQ(formatAt(doc, "max").fontPointSize(), 1638);
}

TEST(RtfReader, ADocumentOfTooManySizesTakesTheNearestStandardSizes) {
    // Up to 64 distinct sizes are kept as they are, odd ones too.
    std::string few = "{\\rtf1 {\\fs27 odd}";
    for (int pt = 10; pt < 73; ++pt)
        few += "{\\fs" + std::to_string(2 * pt) + " s" + std::to_string(pt) + "}";
    QTextDocument doc;
    ASSERT_TRUE(RtfReader::read(doc, few + "}"));
    EXPECT_EQ(formatAt(doc, "odd").fontPointSize(), 13.5);
    EXPECT_EQ(formatAt(doc, "s35").fontPointSize(), 35);

    // One more, and every size takes the nearest of the standard steps, 96 points at most.
    ASSERT_TRUE(RtfReader::read(doc, few + "{\\fs400 huge}}"));
    const struct {
        const char* text;
        double points;
    } cases[] = {{"odd", 13}, {"s10", 10}, {"s35", 36}, {"s72", 72}, {"s71", 72}, {"huge", 96}};
    for (const auto& c : cases)
        EXPECT_EQ(formatAt(doc, c.text).fontPointSize(), c.points) << c.text;
}
