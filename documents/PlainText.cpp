#include "documents/PlainText.h"

#include "toolkit/Cp932.h"
#include "toolkit/Error.h"
#include "toolkit/Utf16.h"
#include "toolkit/Utf8Lead.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <optional>

namespace sorvanti::plaintext {

namespace {

// Characters a text document would not keep as they are, in the order of their marks.
constexpr char16_t kCarried[] = {u'\r', u'\u2028', u'\u2029', u'\uFDD0', u'\uFDD1', u'\uFFFC'};
constexpr size_t kCarriedCount = sizeof kCarried / sizeof kCarried[0];
constexpr char16_t kMarkBase = 0xDC00; // + index for a character, + byte (0x80..0xFF) for a byte

constexpr char16_t kFirstByteMark = kMarkBase + 0x80; // marks from here on stand for bytes

// The mark of `c`, or 0 when the document keeps `c` as it is.
char16_t markOf(char16_t c) {
    for (size_t i = 0; i < kCarriedCount; ++i)
        if (kCarried[i] == c)
            return static_cast<char16_t>(kMarkBase + i);
    return 0;
}

bool isByteMark(char16_t c) {
    return c >= kFirstByteMark && c <= kMarkBase + 0xFF;
}

enum class Mark { None, Character, Byte };

// What text[i] is: a mark is a low surrogate that no high surrogate comes before (the second
// half of a character beyond U+FFFF lies in the same range).
Mark markAt(std::u16string_view text, size_t i) {
    const char16_t c = text[i];
    if (c < kMarkBase || c > kMarkBase + 0xFF || (i > 0 && QChar::isHighSurrogate(text[i - 1])))
        return Mark::None;
    if (isByteMark(c))
        return Mark::Byte;
    return c < kMarkBase + kCarriedCount ? Mark::Character : Mark::None;
}

// How a character is named in a message: itself when it can be seen, else its code; a
// carried byte by its value.
QString describeCharacter(char32_t c) {
    if (c <= 0xFFFF && isByteMark(char16_t(c)))
        return QString::asprintf("0x%02X", uint(c - kMarkBase));
    if (QChar::isPrint(c) && !QChar::isSpace(c))
        return QString::fromUcs4(&c, 1);
    return QString::asprintf("U+%04X", uint(c));
}

// Refuses line `lineNumber` for the character at `pos`: as Unencodable when it is one that
// code page 932 lacks, so UTF-8 would hold it (`utf8Holds`).
[[noreturn]] void refuse(std::u16string_view line, size_t pos, qsizetype lineNumber,
                         bool utf8Holds = false) {
    char32_t c = line[pos];
    if (QChar::isHighSurrogate(c) && pos + 1 < line.size() && QChar::isLowSurrogate(line[pos + 1]))
        c = QChar::surrogateToUcs4(line[pos], line[pos + 1]);
    const QString character = describeCharacter(c);
    const QString message = QStringLiteral("%1行目の文字「%2」はテキストファイルに保存できません。"
                                           "リッチテキスト(.rtf)で保存して下さい")
                                .arg(lineNumber)
                                .arg(character);
    if (utf8Holds)
        throw Unencodable(message.toStdString(), lineNumber, character);
    throw Error(message.toStdString());
}

// UTF-8 to text; a byte that starts no well-formed character becomes its mark.
void decodeUtf8(std::string_view bytes, std::u16string& out) {
    size_t runStart = 0;
    auto flush = [&](size_t end) {
        if (end > runStart)
            cp932::fromUtf8Append(bytes.substr(runStart, end - runStart), out);
    };
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = utf8SequenceLength(bytes.substr(i));
        if (length != 0) {
            i += length;
            continue;
        }
        flush(i);
        out.push_back(static_cast<char16_t>(kMarkBase + static_cast<unsigned char>(bytes[i])));
        runStart = ++i;
    }
    flush(bytes.size());
}

// Joins the text's lines with '\n', the characters the document would not keep as marks.
QString linesOf(const std::u16string& text, bool crLf) {
    QString out;
    out.reserve(qsizetype(text.size()));
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c == u'\r' && crLf && i + 1 < n && text[i + 1] == u'\n')
            continue; // CR LF ends a line: the LF alone stands for it.
        // Every carried character but CR lies at U+2028 or above.
        const char16_t mark = c < 0x2028 && c != u'\r' ? 0 : markOf(c);
        out.append(QChar(mark != 0 ? mark : c));
    }
    return out;
}

// How `bytes` read as a file: the encoding the detector finds and the line ends of the first
// line (one without any is a Linux file to be).
Format formatOf(std::string_view bytes) {
    const textencoding::Detected detected = textencoding::detect(bytes);
    Format f;
    if (detected.encoding == textencoding::Encoding::Cp932)
        return f;
    f.encoding = detected.encoding;
    f.bom = detected.bom;
    if (f.bom)
        bytes.remove_prefix(textencoding::kUtf8Bom.size());
    const size_t lf = bytes.find('\n');
    f.lf = lf == std::string_view::npos || lf == 0 || bytes[lf - 1] != '\r';
    return f;
}

// Whether code page 932 reads the byte `b` on its own as no text, so that a raw byte can go
// into a code page 932 file as itself; any other (0xBA is "ｺ", 0x41 "A") has no code page 932
// form as a raw byte: its raw-byte character (U+F741, met in UTF-8 text) or carried byte
// would read back as another character.
bool isNoTextInCp932(int b) {
    static const std::array<bool, 256> noText = [] {
        std::array<bool, 256> table{};
        for (int i = 0; i < 256; ++i) {
            const char byte = static_cast<char>(i);
            table[size_t(i)] =
                cp932::decode(std::string_view(&byte, 1))[0] == cp932::kRawByteBase + i;
        }
        return table;
    }();
    return noText[size_t(b)];
}

// Writes a line of a UTF-8 document: marks as what they stand for. Bytes that were no UTF-8
// where the file had them can spell a character once an edit has put them side by side; such
// a run is refused like a character a code page cannot hold, since no file keeps them apart.
void appendUtf8(std::u16string_view line, qsizetype lineNumber, std::string& out) {
    size_t start = 0;
    size_t runAt = 0, runBytes = 0; // where the latest run of carried bytes starts, its length
    for (size_t i = 0; i < line.size(); ++i) {
        const char16_t c = line[i];
        const Mark mark = markAt(line, i);
        if (mark == Mark::None)
            continue;
        cp932::toUtf8Append(line.substr(start, i - start), out);
        start = i + 1;
        if (mark == Mark::Character) {
            cp932::toUtf8Append(std::u16string_view(&kCarried[c - kMarkBase], 1), out);
            continue;
        }
        if (runBytes == 0 || runAt + runBytes != i) {
            runAt = i;
            runBytes = 0;
        }
        out += static_cast<char>(c - kMarkBase);
        ++runBytes;
        // A character of 2 to 4 bytes that ends with this one, all of them carried bytes.
        for (size_t n = 2; n <= std::min<size_t>(runBytes, 4); ++n)
            if (utf8SequenceLength(std::string_view(out).substr(out.size() - n)) == n)
                refuse(line, i + 1 - n, lineNumber);
    }
    cp932::toUtf8Append(line.substr(start), out);
}

// The text as the bytes of a file in `f`, as encode() describes, before any check.
std::string encodeText(std::u16string_view all, const Format& f) {
    const bool utf8 = f.encoding == textencoding::Encoding::Utf8;
    const char* const lineEnd = utf8 && f.lf ? "\n" : "\r\n";
    std::string out;
    out.reserve(all.size() + all.size() / 8);
    if (utf8 && f.bom)
        out += textencoding::kUtf8Bom;
    std::u16string line;
    qsizetype lineNumber = 1;
    size_t start = 0;
    auto flushLine = [&](size_t end) {
        line.clear();
        size_t bad = std::u16string_view::npos; // the first character code page 932 lacks
        for (size_t i = start; i < end; ++i) {
            char16_t c = all[i];
            if (c == QChar::ObjectReplacementCharacter)
                continue; // an embedded object: no text
            if (!utf8) {
                const Mark mark = markAt(all, i);
                if (mark == Mark::Character)
                    c = kCarried[c - kMarkBase];
                else if (mark == Mark::Byte && isNoTextInCp932(c - kMarkBase))
                    c = static_cast<char16_t>(cp932::kRawByteBase + (c - kMarkBase));
                else if (c == QChar::Nbsp)
                    c = u' ';
                else if (cp932::isRawByteEscape(c) && !isNoTextInCp932(c - cp932::kRawByteBase))
                    bad = std::min(bad, line.size());
            }
            line.push_back(c);
        }
        if (utf8)
            return appendUtf8(line, lineNumber, out);
        size_t unencodable = std::u16string_view::npos;
        cp932::encodeAppend(line, out, &unencodable);
        bad = std::min(bad, unencodable);
        if (bad != std::u16string_view::npos)
            refuse(line, bad, lineNumber, true);
    };
    // Blocks, frame boundaries and line breaks typed inside a block all end a line.
    for (size_t i = 0; i < all.size(); ++i) {
        const char16_t c = all[i];
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == 0xFDD0 ||
            c == 0xFDD1) {
            flushLine(i);
            out += lineEnd;
            start = i + 1;
            ++lineNumber;
        }
    }
    flushLine(all.size());
    return out;
}

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char b) { return (b & 0x80) == 0; });
}

// The format to write in instead of `f` when `bytes`, written in `f`, would read back as
// other text; nullopt when they read back as they should.
std::optional<Format> betterFormat(std::string_view bytes, Format f) {
    const Format back = formatOf(bytes);
    if (f.encoding == textencoding::Encoding::Cp932) {
        if (back.encoding == textencoding::Encoding::Cp932)
            return std::nullopt;
        f.encoding = textencoding::Encoding::Utf8; // CR LF and no mark, as code page 932 had
        return f;
    }
    if (back.encoding == textencoding::Encoding::Cp932) {
        // ASCII reads alike in both, but for a CR before LF, which code page 932 drops.
        if (isAscii(bytes) && (!f.lf || bytes.find("\r\n") == std::string_view::npos))
            return std::nullopt;
        f.bom = true;
        return f;
    }
    if (back.bom != f.bom) { // the text starts with U+FEFF, which would read as the mark
        f.bom = true;
        return f;
    }
    if (f.lf && !back.lf) { // the first line ends in a carried CR
        f.lf = false;
        return f;
    }
    return std::nullopt;
}

} // namespace

QString decode(std::string_view bytes, Format* format) {
    const Format f = formatOf(bytes);
    std::u16string text;
    if (f.encoding == textencoding::Encoding::Cp932) {
        text = cp932::decode(bytes);
    } else {
        if (f.bom)
            bytes.remove_prefix(textencoding::kUtf8Bom.size());
        decodeUtf8(bytes, text);
    }
    if (format)
        *format = f;
    return linesOf(text, !f.lf);
}

Format inUtf8(const Format& format) {
    if (format.encoding == textencoding::Encoding::Utf8)
        return format;
    return {textencoding::Encoding::Utf8, false, false};
}

QString formatLabel(const Format& format) {
    if (format.encoding == textencoding::Encoding::Cp932)
        return QStringLiteral("CP932");
    QString label = format.bom ? QStringLiteral("UTF-8 (BOM)") : QStringLiteral("UTF-8");
    if (format.lf)
        label += QStringLiteral(" LF");
    return label;
}

std::string encode(const QTextDocument& doc, const Format& format, Format* written) {
    // The raw text keeps every character as it is (unlike toPlainText()).
    return encodeRaw(doc.toRawText(), format, written);
}

std::string encodeRaw(const QString& raw, const Format& format, Format* written) {
    Format f = format;
    std::string out = encodeText(utf16View(raw), f);
    // Each change only adds the mark, drops LF or leaves code page 932, so this ends.
    while (const std::optional<Format> better = betterFormat(out, f)) {
        f = *better;
        out = encodeText(utf16View(raw), f);
    }
    if (written)
        *written = f;
    return out;
}

void setDocumentText(QTextDocument& doc, const QString& text) {
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    // Cleared inside the edit, the layout sees one change of the whole document and lays it
    // out lazily; otherwise it lays out every line at once before the text is shown.
    doc.clear();
    cursor.insertText(text);
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
}

} // namespace sorvanti::plaintext
