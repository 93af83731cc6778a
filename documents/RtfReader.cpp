#include "documents/RtfReader.h"

#include "toolkit/Cp932.h"
#include "toolkit/Utf16.h"

#include <QColor>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace sorvanti {

namespace {

// What the text of the current group is for.
enum class Dest : unsigned char {
    Text,       // body text
    Skip,       // ignored with everything nested in it
    FontTable,  // font entries
    ColorTable, // colour entries
    Container,  // an object or shape: only its result group holds text
};

struct CharProps {
    int font = -1; // -1: the default font (\deff)
    int halfPoints = 24;
    int color = 0; // 0: automatic
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    bool operator==(const CharProps&) const = default;
};

struct CharPropsHash {
    size_t operator()(const CharProps& p) const {
        size_t h = std::hash<int>()(p.font);
        auto mix = [&h](size_t v) { h ^= v + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2); };
        mix(std::hash<int>()(p.halfPoints));
        mix(std::hash<int>()(p.color));
        mix(size_t(p.bold) | size_t(p.italic) << 1 | size_t(p.underline) << 2 |
            size_t(p.strike) << 3 | size_t(p.hidden) << 4);
        return h;
    }
};

// Font table entries past this many are not kept: text in them takes the default face.
// Real documents name a few dozen faces; every distinct face costs the text layout a font
// look-up of its own (some milliseconds each), which with thousands of them takes seconds.
constexpr size_t kMaxFonts = 400;

// The largest size word processors offer (1638 pt, in half points); larger ones are taken as
// this. Rasterising glyphs of tens of thousands of points takes the layout minutes.
constexpr int kMaxHalfPoints = 3276;

// A document of more distinct sizes than this gets each size as the nearest of kSizeSteps.
// Real documents use a dozen; each distinct size is a font engine of its own, and with
// thousands of them Qt's font cache evicts and reloads engines for seconds, as it lays out
// runs of hundreds of points for seconds too: such a document's sizes stop at 96 points. The
// steps are fewer than the bound and map to themselves, so a file written from such a
// document reads back with the same sizes.
constexpr size_t kMaxSizes = 64;
constexpr int kSizeSteps[] = {1,  2,  4,  6,  8,  10, 12, 14,  16,  18,  20,  22,  24,
                              26, 28, 30, 32, 34, 36, 38, 40,  42,  44,  46,  48,  52,
                              56, 60, 64, 72, 80, 88, 96, 108, 120, 132, 144, 168, 192};

// Groups nested deeper than this are skipped with all they hold. Word processors stop at a
// few thousand; without a bound every "{" keeps a copy of the state.
constexpr size_t kMaxGroupDepth = 3000;

// Which kind of characters the next associated properties (\af, \afs, \ab, \ai) are for.
// Only those given for double-byte text matter here: they format the East Asian characters.
enum class CharKind : unsigned char { Low, High, DoubleByte, RightToLeft };

// Properties of East Asian characters that differ from the others; unset fields follow them.
struct AsianProps {
    int font = -1;
    int halfPoints = 0;
    int bold = -1;
    int italic = -1;
    bool any() const { return font >= 0 || halfPoints > 0 || bold >= 0 || italic >= 0; }
};

struct State {
    CharProps props;
    AsianProps asian;
    CharKind kind = CharKind::Low;
    Dest dest = Dest::Text;
    int uc = 1; // characters of fallback after \uN
};

bool isEastAsian(char16_t c) {
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xDFFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF);
}

struct Font {
    QString name;
    std::string nameBytes; // not yet decoded
    int charset = -1;
    int codepage = 0; // \cpg, overrides the character set
    bool nameDone = false;
};

struct Run {
    qsizetype start;
    CharProps props;
};

// Destinations whose content is never body text.
const std::unordered_set<std::string_view>& skippedDestinations() {
    static const std::unordered_set<std::string_view> names{
        "stylesheet",
        "info",
        "pict",
        "header",
        "headerl",
        "headerr",
        "headerf",
        "footer",
        "footerl",
        "footerr",
        "footerf",
        "footnote",
        "annotation",
        "atnid",
        "atnauthor",
        "atndate",
        "atnref",
        "fldinst",
        "xe",
        "tc",
        "txe",
        "rxe",
        "private",
        "pntext",
        "pntxta",
        "pntxtb",
        "pn",
        "listtext",
        "filetbl",
        "revtbl",
        "listtable",
        "listoverridetable",
        "objdata",
        "objclass",
        "objname",
        "template",
        "bkmkstart",
        "bkmkend",
        "nonshppict",
        "themedata",
        "colorschememapping",
        "datastore",
        "latentstyles",
        "docvar",
        "userprops",
        "rsidtbl",
        "generator",
        "xmlnstbl",
        "pgdsctbl",
        "ftnsep",
        "ftnsepc",
        "ftncn",
        "aftnsep",
        "aftnsepc",
        "aftncn",
        "do",
        "datafield",
        "macpict",
        "pmmetafile",
        "wmetafile",
        "dibitmap",
        "wbitmap",
        "blipuid",
        "shpinst",
        "sp",
        "sn",
        "sv",
        "mmathPr",
        "fchars",
        "lchars",
        "keywords",
        "comment",
        "title",
        "subject",
        "author",
        "operator",
        "doccomm",
        "company",
    };
    return names;
}

bool isUnderlineWord(std::string_view w) {
    static const std::unordered_set<std::string_view> words{
        "ul",         "uld",       "uldash",     "uldashd", "uldashdd", "uldb",
        "ulhwave",    "ulldash",   "ulth",       "ulthd",   "ulthdash", "ulthdashd",
        "ulthdashdd", "ulthldash", "ululdbwave", "ulw",     "ulwave",
    };
    return words.contains(w);
}

int codepageOfCharset(int charset, int documentCodepage) {
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return 1252; // symbol fonts: bytes as they are
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return documentCodepage; // 1 (default) and unknown sets
    }
}

// Decoders for the code pages a document uses, opened once per read.
class Decoders {
public:
    Decoders() = default;
    Decoders(const Decoders&) = delete;
    Decoders& operator=(const Decoders&) = delete;
    ~Decoders() {
        for (auto& [cp, cd] : open_)
            if (cd != iconv_t(-1))
                iconv_close(cd);
    }

    void decodeAppend(int codepage, std::string_view bytes, QString& out) {
        if (codepage == 932) {
            appendTo(out, cp932::decode(bytes));
            return;
        }
        const iconv_t cd = converter(codepage);
        if (cd == iconv_t(-1)) {
            // Unknown code page: Latin-1 keeps every byte visible.
            for (unsigned char b : bytes)
                out.append(QChar(b));
            return;
        }
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        // Room for a held-back character and its combining mark on top of one unit per byte.
        std::u16string buffer(bytes.size() * 2 + 8, u'\0');
        char* in = const_cast<char*>(bytes.data());
        size_t inLeft = bytes.size();
        char* outPtr = reinterpret_cast<char*>(buffer.data());
        size_t outLeft = buffer.size() * sizeof(char16_t);
        // The converters of code pages 1255 and 1258 hold back the last base character in
        // case a combining mark follows; only a call without input hands it over.
        auto flush = [&] { iconv(cd, nullptr, nullptr, &outPtr, &outLeft); };
        while (inLeft > 0) {
            if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != size_t(-1))
                break;
            if (errno == E2BIG)
                break; // cannot happen with the buffer's size; stop rather than loop
            // An invalid or cut-off sequence: one replacement character per byte, after
            // what came before it.
            flush();
            *reinterpret_cast<char16_t*>(outPtr) = u'\uFFFD';
            outPtr += sizeof(char16_t);
            outLeft -= sizeof(char16_t);
            ++in;
            --inLeft;
        }
        flush();
        const size_t units = size_t(outPtr - reinterpret_cast<char*>(buffer.data())) / 2;
        appendTo(out, std::u16string_view(buffer).substr(0, units));
    }

private:
    iconv_t converter(int codepage) {
        auto it = open_.find(codepage);
        if (it != open_.end())
            return it->second;
        iconv_t cd = iconv_t(-1);
        for (const std::string& name : namesOf(codepage)) {
            cd = iconv_open("UTF-16LE", name.c_str());
            if (cd != iconv_t(-1))
                break;
        }
        open_.emplace(codepage, cd);
        return cd;
    }

    static std::vector<std::string> namesOf(int codepage) {
        switch (codepage) {
        case 10000:
            return {"MACINTOSH"};
        case 936:
            return {"CP936", "GBK"};
        case 949:
            return {"CP949", "UHC"};
        case 950:
            return {"CP950", "BIG5"};
        case 1361:
            return {"JOHAB"};
        case 20932:
            return {"EUC-JP"};
        case 50220:
        case 50221:
        case 50222:
            return {"ISO-2022-JP"};
        case 51932:
            return {"EUC-JP"};
        case 65001:
            return {"UTF-8"};
        default:
            return {"CP" + std::to_string(codepage)};
        }
    }

    std::map<int, iconv_t> open_;
};

class Parser {
public:
    explicit Parser(std::string_view src) : src_(src) {}

    void parse();
    void build(QTextDocument& doc);

private:
    void controlWord(std::string_view word, bool hasParam, int param);
    void controlSymbol(char c);
    void textByte(unsigned char b);
    void hexByte(unsigned char b);
    void flushBytes();
    void appendText(QStringView text);
    void appendRun(QStringView text, const CharProps& props);
    void appendChar(char16_t c) { appendText(QStringView(&c, 1)); }
    void paragraph();
    void cellEnd();
    void openGroup();
    void closeGroup();
    void finishFontName();
    int currentCodepage() const;
    bool collectsText() const { return state_.dest == Dest::Text; }
    QTextCharFormat formatOf(const CharProps& props) const;
    // The size (half points) the document gets for `halfPoints`: itself, or the nearest of
    // kSizeSteps when the document uses more than kMaxSizes sizes.
    int boundedSize(int halfPoints) const;

    Font* fontEntry();

    std::string_view src_;
    size_t pos_ = 0;
    std::vector<State> stack_;
    State state_;
    size_t tooDeep_ = 0; // groups open beyond kMaxGroupDepth, skipped whole
    bool started_ = false;
    bool finished_ = false;

    int documentCodepage_ = 1252;
    int defaultFont_ = 0;
    std::map<int, Font> fonts_;
    int fontEntry_ = -1;
    std::vector<QColor> colors_;
    bool coarseSizes_ = false; // set by build() for a document of too many sizes
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorGiven_ = false;

    std::string pending_; // bytes of text not yet decoded
    int pendingCodepage_ = 0;
    int skip_ = 0; // fallback characters still to skip after \uN
    bool cellTab_ = false;
    bool eastAsianText_ = false; // the script of the last letter, for the characters after it

    QString text_;
    std::vector<Run> runs_;
    // The character properties of each paragraph mark, in order: the formatting of the
    // paragraph it ends (an empty paragraph has no other). One more than the marks left in
    // text_, for the last paragraph.
    std::vector<CharProps> marks_;
    Decoders decoders_;
};

void Parser::parse() {
    const size_t n = src_.size();
    while (pos_ < n && !finished_) {
        const char c = src_[pos_];
        switch (c) {
        case '{':
            ++pos_;
            openGroup();
            break;
        case '}':
            ++pos_;
            closeGroup();
            break;
        case '\\': {
            ++pos_;
            if (pos_ >= n)
                break;
            const char d = src_[pos_];
            if ((d >= 'a' && d <= 'z') || (d >= 'A' && d <= 'Z')) {
                const size_t start = pos_;
                while (pos_ < n && pos_ - start < 32 &&
                       ((src_[pos_] >= 'a' && src_[pos_] <= 'z') ||
                        (src_[pos_] >= 'A' && src_[pos_] <= 'Z')))
                    ++pos_;
                const std::string_view word = src_.substr(start, pos_ - start);
                bool hasParam = false;
                bool negative = false;
                long long value = 0;
                if (pos_ < n && src_[pos_] == '-' && pos_ + 1 < n && src_[pos_ + 1] >= '0' &&
                    src_[pos_ + 1] <= '9') {
                    negative = true;
                    ++pos_;
                }
                while (pos_ < n && src_[pos_] >= '0' && src_[pos_] <= '9') {
                    hasParam = true;
                    if (value < 100000000000LL)
                        value = value * 10 + (src_[pos_] - '0');
                    ++pos_;
                }
                if (pos_ < n && src_[pos_] == ' ')
                    ++pos_;
                value = std::clamp(negative ? -value : value, -2147483647LL, 2147483647LL);
                if (word == "bin") {
                    // Binary data of the given length follows; it is never text.
                    pos_ += std::min(size_t(std::max(value, 0LL)), n - pos_);
                    break;
                }
                controlWord(word, hasParam, int(value));
            } else if (d == '\'') {
                ++pos_;
                auto hex = [](char h) -> int {
                    if (h >= '0' && h <= '9')
                        return h - '0';
                    if (h >= 'a' && h <= 'f')
                        return h - 'a' + 10;
                    if (h >= 'A' && h <= 'F')
                        return h - 'A' + 10;
                    return -1;
                };
                int value = 0;
                int digits = 0;
                while (digits < 2 && pos_ < n && hex(src_[pos_]) >= 0) {
                    value = value * 16 + hex(src_[pos_]);
                    ++pos_;
                    ++digits;
                }
                if (digits > 0)
                    hexByte(static_cast<unsigned char>(value));
            } else {
                ++pos_;
                controlSymbol(d);
            }
            break;
        }
        case '\r':
        case '\n':
            ++pos_;
            break;
        default:
            ++pos_;
            textByte(static_cast<unsigned char>(c));
            break;
        }
    }
    flushBytes();
    // A file cut off inside its font table: the last name is taken as if its entry ended.
    finishFontName();
    // A final paragraph mark ends the last paragraph; it opens no further one.
    if (text_.endsWith(QChar::ParagraphSeparator)) {
        text_.chop(1);
        while (!runs_.empty() && runs_.back().start >= text_.size())
            runs_.pop_back();
    } else {
        // The last paragraph has no mark of its own: it keeps the formatting of its text.
        marks_.push_back(runs_.empty() ? state_.props : runs_.back().props);
    }
}

void Parser::openGroup() {
    flushBytes();
    skip_ = 0;
    if (!started_) {
        started_ = true;
        return; // the document's own group
    }
    if (tooDeep_ > 0 || stack_.size() >= kMaxGroupDepth) {
        ++tooDeep_;
        return;
    }
    stack_.push_back(state_);
}

void Parser::closeGroup() {
    if (tooDeep_ > 0) {
        --tooDeep_;
        return;
    }
    flushBytes();
    skip_ = 0;
    if (state_.dest == Dest::FontTable)
        finishFontName();
    if (stack_.empty()) {
        finished_ = true; // the document's group closed: anything after it is not read
        return;
    }
    state_ = stack_.back();
    stack_.pop_back();
}

int Parser::currentCodepage() const {
    // Bytes of double-byte text are in the character set of its own font.
    const int index = state_.kind == CharKind::DoubleByte && state_.asian.font >= 0
                          ? state_.asian.font
                      : state_.props.font >= 0 ? state_.props.font
                                               : defaultFont_;
    const auto it = fonts_.find(index);
    if (it == fonts_.end())
        return documentCodepage_;
    if (it->second.codepage > 0)
        return it->second.codepage;
    return codepageOfCharset(it->second.charset, documentCodepage_);
}

Font* Parser::fontEntry() {
    const auto it = fonts_.find(fontEntry_);
    return it == fonts_.end() ? nullptr : &it->second;
}

void Parser::finishFontName() {
    Font* entry = fontEntry();
    if (!entry || entry->nameDone)
        return;
    Font& font = *entry;
    const int cp =
        font.codepage > 0 ? font.codepage : codepageOfCharset(font.charset, documentCodepage_);
    decoders_.decodeAppend(cp, font.nameBytes, font.name);
    font.nameBytes.clear();
    font.name = font.name.trimmed();
    font.nameDone = true;
}

void Parser::textByte(unsigned char b) {
    if (tooDeep_ > 0)
        return;
    if (skip_ > 0) {
        --skip_;
        return;
    }
    switch (state_.dest) {
    case Dest::Text:
        if (b == 0)
            return;
        if (pending_.empty() || pendingCodepage_ != currentCodepage()) {
            flushBytes();
            pendingCodepage_ = currentCodepage();
        }
        pending_.push_back(char(b));
        break;
    case Dest::FontTable: {
        Font* font = fontEntry();
        if (!font || font->nameDone)
            return;
        if (b == ';')
            finishFontName();
        else
            font->nameBytes.push_back(char(b));
        break;
    }
    case Dest::ColorTable:
        if (b == ';') {
            colors_.push_back(colorGiven_ ? QColor(red_, green_, blue_) : QColor());
            red_ = green_ = blue_ = 0;
            colorGiven_ = false;
        }
        break;
    case Dest::Skip:
    case Dest::Container:
        break;
    }
}

void Parser::hexByte(unsigned char b) {
    if (tooDeep_ > 0)
        return;
    if (skip_ > 0) {
        --skip_;
        return;
    }
    if (state_.dest == Dest::Text) {
        if (pending_.empty() || pendingCodepage_ != currentCodepage()) {
            flushBytes();
            pendingCodepage_ = currentCodepage();
        }
        pending_.push_back(char(b));
    } else if (state_.dest == Dest::FontTable) {
        Font* font = fontEntry();
        if (font && !font->nameDone)
            font->nameBytes.push_back(char(b));
    }
}

void Parser::flushBytes() {
    if (pending_.empty())
        return;
    QString decoded;
    decoders_.decodeAppend(pendingCodepage_, pending_, decoded);
    pending_.clear();
    appendText(decoded);
}

void Parser::appendText(QStringView text) {
    if (state_.props.hidden || text.isEmpty())
        return;
    if (cellTab_) {
        cellTab_ = false;
        appendChar(u'\t');
    }
    if (!state_.asian.any()) {
        appendRun(text, state_.props);
        return;
    }
    CharProps asian = state_.props;
    if (state_.asian.font >= 0)
        asian.font = state_.asian.font;
    if (state_.asian.halfPoints > 0)
        asian.halfPoints = state_.asian.halfPoints;
    if (state_.asian.bold >= 0)
        asian.bold = state_.asian.bold != 0;
    if (state_.asian.italic >= 0)
        asian.italic = state_.asian.italic != 0;
    // Spaces, digits, punctuation and symbols belong to the script of the letter before them.
    auto eastAsianAt = [&](qsizetype i) {
        const char16_t c = text[i].unicode();
        if (isEastAsian(c))
            eastAsianText_ = true;
        else if (QChar::isLetter(c))
            eastAsianText_ = false;
        return eastAsianText_;
    };
    for (qsizetype i = 0; i < text.size();) {
        const bool eastAsian = eastAsianAt(i);
        qsizetype j = i + 1;
        while (j < text.size() && eastAsianAt(j) == eastAsian)
            ++j;
        appendRun(text.mid(i, j - i), eastAsian ? asian : state_.props);
        i = j;
    }
}

void Parser::appendRun(QStringView text, const CharProps& props) {
    if (runs_.empty() || !(runs_.back().props == props))
        runs_.push_back(Run{text_.size(), props});
    const qsizetype start = text_.size();
    text_.append(text);
    // Every character that the text document takes as the end of a block becomes a
    // paragraph mark, so that marks_ holds one entry per block.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == QChar::ParagraphSeparator || c == u'\n' || c == u'\r' || c == 0xFDD0 ||
            c == 0xFDD1) {
            text_[start + i] = QChar::ParagraphSeparator;
            marks_.push_back(props);
        }
    }
}

void Parser::paragraph() {
    flushBytes();
    cellTab_ = false;
    eastAsianText_ = false;
    const bool hidden = state_.props.hidden;
    state_.props.hidden = false; // a paragraph mark is never lost with hidden text
    appendChar(QChar::ParagraphSeparator);
    state_.props.hidden = hidden;
}

void Parser::cellEnd() {
    flushBytes();
    if (cellTab_) {
        cellTab_ = false;
        const bool hidden = state_.props.hidden;
        state_.props.hidden = false;
        appendChar(u'\t');
        state_.props.hidden = hidden;
    }
    cellTab_ = true;
}

void Parser::controlSymbol(char c) {
    if (tooDeep_ > 0)
        return;
    // Escaped braces and backslashes are text bytes of the current code page.
    if (c == '\\' || c == '{' || c == '}') {
        textByte(static_cast<unsigned char>(c));
        return;
    }
    flushBytes();
    if (c == '*') {
        // "{\*\name ...}": a destination the reader may ignore; none of them holds body text.
        state_.dest = Dest::Skip;
        return;
    }
    if (skip_ > 0) {
        --skip_;
        return;
    }
    if (state_.dest != Dest::Text)
        return;
    switch (c) {
    case '~':
        appendChar(u'\u00A0');
        break;
    case '_':
        appendChar(u'\u2011');
        break;
    case '\n':
    case '\r':
        paragraph();
        break;
    case '\t':
        appendChar(u'\t');
        break;
    default:
        break; // \- optional hyphen, \: index subentry, \| formula: no text
    }
}

void Parser::controlWord(std::string_view w, bool hasParam, int param) {
    if (tooDeep_ > 0)
        return;
    if (w == "u") {
        flushBytes();
        const int unit = param < 0 ? param + 65536 : param;
        if (state_.dest == Dest::Text && unit > 0 && unit <= 0xFFFF) {
            appendChar(char16_t(unit));
        } else if (state_.dest == Dest::FontTable && unit > 0 && unit <= 0xFFFF) {
            Font* entry = fontEntry();
            if (entry && !entry->nameDone) {
                Font& font = *entry;
                decoders_.decodeAppend(font.codepage > 0
                                           ? font.codepage
                                           : codepageOfCharset(font.charset, documentCodepage_),
                                       font.nameBytes, font.name);
                font.nameBytes.clear();
                font.name.append(QChar(char16_t(unit)));
            }
        }
        skip_ = state_.uc;
        return;
    }
    if (state_.dest == Dest::Skip)
        return;
    flushBytes();
    if (skip_ > 0) {
        --skip_;
        return;
    }
    CharProps& p = state_.props;
    const bool on = !hasParam || param != 0;

    // Destinations.
    if (w == "fonttbl") {
        state_.dest = Dest::FontTable;
        return;
    }
    if (w == "colortbl") {
        state_.dest = Dest::ColorTable;
        return;
    }
    if (w == "fldrslt") {
        if (state_.dest == Dest::Container)
            return;
        state_.dest = Dest::Text;
        return;
    }
    if (w == "object" || w == "shp") {
        state_.dest = Dest::Container;
        return;
    }
    if (w == "result" || w == "shprslt") {
        if (state_.dest == Dest::Container)
            state_.dest = Dest::Text;
        return;
    }
    if (skippedDestinations().contains(w)) {
        state_.dest = Dest::Skip;
        return;
    }

    switch (state_.dest) {
    case Dest::FontTable:
        if (w == "f") {
            finishFontName();
            fontEntry_ = param;
            if (fonts_.size() < kMaxFonts)
                fonts_[param];
        } else if (Font* font = fontEntry(); font && w == "fcharset") {
            font->charset = param;
        } else if (font && w == "cpg") {
            font->codepage = param;
        }
        return;
    case Dest::ColorTable:
        if (w == "red") {
            red_ = std::clamp(param, 0, 255);
            colorGiven_ = true;
        } else if (w == "green") {
            green_ = std::clamp(param, 0, 255);
            colorGiven_ = true;
        } else if (w == "blue") {
            blue_ = std::clamp(param, 0, 255);
            colorGiven_ = true;
        }
        return;
    case Dest::Skip:
    case Dest::Container:
    case Dest::Text:
        break;
    }

    // Document and character properties apply in every destination that reaches here, so
    // that a group's state is right when a result group inside it switches to text.
    if (w == "ansicpg") {
        if (param > 0)
            documentCodepage_ = param;
    } else if (w == "ansi") {
        documentCodepage_ = 1252;
    } else if (w == "mac") {
        documentCodepage_ = 10000;
    } else if (w == "pc") {
        documentCodepage_ = 437;
    } else if (w == "pca") {
        documentCodepage_ = 850;
    } else if (w == "deff") {
        defaultFont_ = param;
    } else if (w == "uc") {
        state_.uc = std::clamp(param, 0, 16);
    } else if (w == "plain") {
        p = CharProps{};
        state_.asian = AsianProps{};
    } else if (w == "loch" || w == "ltrch") {
        state_.kind = CharKind::Low;
    } else if (w == "hich") {
        state_.kind = CharKind::High;
    } else if (w == "dbch") {
        state_.kind = CharKind::DoubleByte;
    } else if (w == "rtlch") {
        state_.kind = CharKind::RightToLeft;
    } else if (w == "af" || w == "afs" || w == "ab" || w == "ai") {
        if (state_.kind == CharKind::DoubleByte) {
            AsianProps& a = state_.asian;
            if (w == "af")
                a.font = param;
            else if (w == "afs")
                a.halfPoints = hasParam ? param : 24;
            else if (w == "ab")
                a.bold = on ? 1 : 0;
            else
                a.italic = on ? 1 : 0;
        }
    } else if (w == "f") {
        p.font = param;
    } else if (w == "fs") {
        p.halfPoints = hasParam ? param : 24;
    } else if (w == "b") {
        p.bold = on;
    } else if (w == "i") {
        p.italic = on;
    } else if (isUnderlineWord(w)) {
        p.underline = on;
    } else if (w == "ulnone") {
        p.underline = false;
    } else if (w == "strike" || w == "striked") {
        p.strike = on;
    } else if (w == "cf") {
        p.color = param;
    } else if (w == "v") {
        p.hidden = on;
    }
    if (state_.dest != Dest::Text)
        return;

    // Body text.
    if (w == "par" || w == "sect") {
        paragraph();
    } else if (w == "line") {
        appendChar(QChar::LineSeparator);
    } else if (w == "tab") {
        appendChar(u'\t');
    } else if (w == "cell" || w == "nestcell") {
        cellEnd();
    } else if (w == "row" || w == "nestrow") {
        paragraph();
    } else if (w == "emdash") {
        appendChar(u'\u2014');
    } else if (w == "endash") {
        appendChar(u'\u2013');
    } else if (w == "bullet") {
        appendChar(u'\u2022');
    } else if (w == "lquote") {
        appendChar(u'\u2018');
    } else if (w == "rquote") {
        appendChar(u'\u2019');
    } else if (w == "ldblquote") {
        appendChar(u'\u201C');
    } else if (w == "rdblquote") {
        appendChar(u'\u201D');
    } else if (w == "emspace") {
        appendChar(u'\u2003');
    } else if (w == "enspace") {
        appendChar(u'\u2002');
    } else if (w == "qmspace") {
        appendChar(u'\u2005');
    } else if (w == "zwj") {
        appendChar(u'\u200D');
    } else if (w == "zwnj") {
        appendChar(u'\u200C');
    }
}

int Parser::boundedSize(int halfPoints) const {
    if (!coarseSizes_)
        return halfPoints;
    const int* at = std::lower_bound(std::begin(kSizeSteps), std::end(kSizeSteps), halfPoints);
    if (at == std::end(kSizeSteps))
        return *(at - 1);
    if (at == std::begin(kSizeSteps))
        return *at;
    return halfPoints - *(at - 1) <= *at - halfPoints ? *(at - 1) : *at;
}

QTextCharFormat Parser::formatOf(const CharProps& props) const {
    QTextCharFormat format;
    // A font the table does not hold (or no longer keeps) takes the document's default face.
    auto font = fonts_.find(props.font >= 0 ? props.font : defaultFont_);
    if (font == fonts_.end())
        font = fonts_.find(defaultFont_);
    if (font != fonts_.end() && !font->second.name.isEmpty())
        format.setFontFamilies(QStringList{font->second.name});
    if (props.halfPoints > 0)
        format.setFontPointSize(boundedSize(std::min(props.halfPoints, kMaxHalfPoints)) / 2.0);
    format.setFontWeight(props.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(props.italic);
    format.setFontUnderline(props.underline);
    format.setFontStrikeOut(props.strike);
    if (props.color > 0 && size_t(props.color) < colors_.size() && colors_[props.color].isValid())
        format.setForeground(colors_[props.color]);
    return format;
}

void Parser::build(QTextDocument& doc) {
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    doc.clear(); // inside the edit: see plaintext::setDocumentText()
    std::unordered_set<int> sizes;
    for (const Run& run : runs_)
        sizes.insert(std::min(run.props.halfPoints, kMaxHalfPoints));
    for (const CharProps& props : marks_)
        sizes.insert(std::min(props.halfPoints, kMaxHalfPoints));
    coarseSizes_ = sizes.size() > kMaxSizes;
    // Equal properties share one format, so the document's format table stays as small as
    // the number of distinct formats.
    std::unordered_map<CharProps, QTextCharFormat, CharPropsHash> formats;
    auto formatFor = [&](const CharProps& props) -> const QTextCharFormat& {
        auto [it, added] = formats.try_emplace(props);
        if (added)
            it->second = formatOf(props);
        return it->second;
    };
    size_t mark = 0;
    auto endBlock = [&] {
        // A block takes the formatting of its own mark; an empty one has no other.
        if (mark < marks_.size())
            cursor.setBlockCharFormat(formatFor(marks_[mark]));
        ++mark;
    };
    for (size_t i = 0; i < runs_.size(); ++i) {
        const Run& run = runs_[i];
        const qsizetype end = i + 1 < runs_.size() ? runs_[i + 1].start : text_.size();
        const QTextCharFormat& format = formatFor(run.props);
        qsizetype from = run.start;
        while (from < end) {
            const qsizetype found =
                QStringView(text_).mid(from, end - from).indexOf(QChar::ParagraphSeparator);
            const qsizetype to = found < 0 ? end : from + found;
            if (to > from)
                cursor.insertText(text_.mid(from, to - from), format);
            from = to;
            if (to < end) {
                endBlock();
                cursor.insertBlock(QTextBlockFormat(), format);
                ++from;
            }
        }
    }
    endBlock();
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
}

size_t rtfStart(std::string_view bytes) {
    size_t i = 0;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        i = 3;
    while (i < bytes.size() &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return bytes.substr(i, 5) == "{\\rtf" ? i : std::string_view::npos;
}

} // namespace

bool RtfReader::isRtf(std::string_view bytes) {
    return rtfStart(bytes) != std::string_view::npos;
}

bool RtfReader::read(QTextDocument& doc, std::string_view bytes) {
    const size_t start = rtfStart(bytes);
    if (start == std::string_view::npos)
        return false;
    Parser parser(bytes.substr(start));
    parser.parse();
    parser.build(doc);
    return true;
}

} // namespace sorvanti
