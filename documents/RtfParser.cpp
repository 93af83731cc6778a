#include "documents/RtfParser.h"

#include "documents/RtfControlWords.h"

#include <algorithm>

namespace sorvanti::rtf {

namespace {

// Font table entries past this many are not kept: text in them takes the default face.
// Real documents name a few dozen faces; every distinct face costs the text layout a font
// look-up of its own (some milliseconds each), which with thousands of them takes seconds.
constexpr size_t kMaxFonts = 400;

// Groups nested deeper than this are skipped with all they hold. Word processors stop at a
// few thousand; without a bound every "{" keeps a copy of the state.
constexpr size_t kMaxGroupDepth = 3000;

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexDigit(char h) {
    if (h >= '0' && h <= '9')
        return h - '0';
    if (h >= 'a' && h <= 'f')
        return h - 'a' + 10;
    if (h >= 'A' && h <= 'F')
        return h - 'A' + 10;
    return -1;
}

bool isEastAsian(char16_t c) {
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xDFFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF);
}

} // namespace

// ---- the source, token by token --------------------------------------------------------------

ParsedDocument Parser::parse() {
    const size_t n = src_.size();
    while (pos_ < n && !finished_) {
        const char c = src_[pos_++];
        switch (c) {
        case '{':
            openGroup();
            break;
        case '}':
            closeGroup();
            break;
        case '\\':
            readControl();
            break;
        case '\r':
        case '\n':
            break;
        default:
            textByte(static_cast<unsigned char>(c));
            break;
        }
    }
    finish();
    return std::move(doc_);
}

// After a backslash: a control word, a byte in hex, or a control symbol.
void Parser::readControl() {
    if (pos_ >= src_.size())
        return;
    const char d = src_[pos_];
    if (isLetter(d)) {
        readControlWord();
        return;
    }
    ++pos_;
    if (d == '\'')
        readHexByte();
    else
        controlSymbol(d);
}

void Parser::readControlWord() {
    const size_t n = src_.size();
    const size_t start = pos_;
    while (pos_ < n && pos_ - start < 32 && isLetter(src_[pos_]))
        ++pos_;
    const std::string_view word = src_.substr(start, pos_ - start);
    bool hasParam = false;
    bool negative = false;
    long long value = 0;
    if (pos_ + 1 < n && src_[pos_] == '-' && isDigit(src_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    while (pos_ < n && isDigit(src_[pos_])) {
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
        return;
    }
    controlWord(word, {hasParam, int(value)});
}

void Parser::readHexByte() {
    int value = 0;
    int digits = 0;
    while (digits < 2 && pos_ < src_.size() && hexDigit(src_[pos_]) >= 0) {
        value = value * 16 + hexDigit(src_[pos_]);
        ++pos_;
        ++digits;
    }
    if (digits > 0)
        hexByte(static_cast<unsigned char>(value));
}

void Parser::finish() {
    flushBytes();
    // A file cut off inside its font table: the last name is taken as if its entry ended.
    finishFontName();
    QString& text = doc_.text;
    // A final paragraph mark ends the last paragraph; it opens no further one.
    if (text.endsWith(QChar::ParagraphSeparator)) {
        text.chop(1);
        while (!doc_.runs.empty() && doc_.runs.back().start >= text.size())
            doc_.runs.pop_back();
    } else {
        // The last paragraph has no mark of its own: it keeps the formatting of its text.
        doc_.marks.push_back(doc_.runs.empty() ? state_.props : doc_.runs.back().props);
    }
}

// ---- groups and control words -------------------------------------------------------------

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

void Parser::controlWord(std::string_view word, WordParam param) {
    if (tooDeep_ > 0)
        return;
    if (word == "u") {
        unicodeCharacter(param.param);
        return;
    }
    if (state_.dest == Dest::Skip)
        return;
    flushBytes();
    if (skip_ > 0) {
        --skip_;
        return;
    }
    ControlWords::apply(*this, word, param);
}

void Parser::unicodeCharacter(int param) {
    flushBytes();
    const int unit = param < 0 ? param + 65536 : param;
    if (unit > 0 && unit <= 0xFFFF) {
        if (state_.dest == Dest::Text) {
            appendChar(char16_t(unit));
        } else if (Font* font = fontEntry();
                   state_.dest == Dest::FontTable && font && !font->nameDone) {
            decoders_.decodeAppend(codepageOf(*font), font->nameBytes, font->name);
            font->nameBytes.clear();
            font->name.append(QChar(char16_t(unit)));
        }
    }
    skip_ = state_.uc;
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

// ---- text ------------------------------------------------------------------------------------

// A byte inside groups too deep to keep is dropped, and so is each fallback character
// after \uN.
bool Parser::dropsByte() {
    if (tooDeep_ > 0)
        return true;
    if (skip_ > 0) {
        --skip_;
        return true;
    }
    return false;
}

void Parser::textByte(unsigned char b) {
    if (dropsByte())
        return;
    switch (state_.dest) {
    case Dest::Text:
        if (b != 0)
            pendingByte(b);
        break;
    case Dest::FontTable:
        if (Font* font = fontEntry(); font && !font->nameDone) {
            if (b == ';')
                finishFontName();
            else
                font->nameBytes.push_back(char(b));
        }
        break;
    case Dest::ColorTable:
        if (b == ';')
            endColorEntry();
        break;
    case Dest::Skip:
    case Dest::Container:
        break;
    }
}

void Parser::hexByte(unsigned char b) {
    if (dropsByte())
        return;
    if (state_.dest == Dest::Text) {
        pendingByte(b);
    } else if (state_.dest == Dest::FontTable) {
        Font* font = fontEntry();
        if (font && !font->nameDone)
            font->nameBytes.push_back(char(b));
    }
}

// Text bytes wait to be decoded together, in the code page of their font.
void Parser::pendingByte(unsigned char b) {
    if (pending_.empty() || pendingCodepage_ != currentCodepage()) {
        flushBytes();
        pendingCodepage_ = currentCodepage();
    }
    pending_.push_back(char(b));
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
    if (doc_.runs.empty() || !(doc_.runs.back().props == props))
        doc_.runs.push_back(Run{doc_.text.size(), props});
    const qsizetype start = doc_.text.size();
    doc_.text.append(text);
    // Every character that the text document takes as the end of a block becomes a
    // paragraph mark, so that marks holds one entry per block.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == QChar::ParagraphSeparator || c == u'\n' || c == u'\r' || c == 0xFDD0 ||
            c == 0xFDD1) {
            doc_.text[start + i] = QChar::ParagraphSeparator;
            doc_.marks.push_back(props);
        }
    }
}

void Parser::appendVisible(char16_t c) {
    const bool hidden = state_.props.hidden;
    state_.props.hidden = false;
    appendChar(c);
    state_.props.hidden = hidden;
}

void Parser::paragraph() {
    flushBytes();
    cellTab_ = false;
    eastAsianText_ = false;
    // A paragraph mark is never lost with hidden text.
    appendVisible(QChar::ParagraphSeparator);
}

void Parser::cellEnd() {
    flushBytes();
    if (cellTab_) {
        cellTab_ = false;
        appendVisible(u'\t');
    }
    cellTab_ = true;
}

// ---- font and colour tables -------------------------------------------------------------------

Font* Parser::fontEntry() {
    const auto it = doc_.fonts.find(fontEntry_);
    return it == doc_.fonts.end() ? nullptr : &it->second;
}

void Parser::startFontEntry(int number) {
    finishFontName();
    fontEntry_ = number;
    if (doc_.fonts.size() < kMaxFonts)
        doc_.fonts[number];
}

void Parser::finishFontName() {
    Font* font = fontEntry();
    if (!font || font->nameDone)
        return;
    decoders_.decodeAppend(codepageOf(*font), font->nameBytes, font->name);
    font->nameBytes.clear();
    font->name = font->name.trimmed();
    font->nameDone = true;
}

int Parser::codepageOf(const Font& font) const {
    return font.codepage > 0 ? font.codepage : codepageOfCharset(font.charset, documentCodepage_);
}

int Parser::currentCodepage() const {
    // Bytes of double-byte text are in the character set of its own font.
    const int index = state_.kind == CharKind::DoubleByte && state_.asian.font >= 0
                          ? state_.asian.font
                      : state_.props.font >= 0 ? state_.props.font
                                               : doc_.defaultFont;
    const auto it = doc_.fonts.find(index);
    return it == doc_.fonts.end() ? documentCodepage_ : codepageOf(it->second);
}

void Parser::colorComponent(int& component, int value) {
    component = std::clamp(value, 0, 255);
    colorGiven_ = true;
}

void Parser::endColorEntry() {
    doc_.colors.push_back(colorGiven_ ? QColor(red_, green_, blue_) : QColor());
    red_ = green_ = blue_ = 0;
    colorGiven_ = false;
}

} // namespace sorvanti::rtf
