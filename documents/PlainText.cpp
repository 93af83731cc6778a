#include "documents/PlainText.h"

#include "toolkit/Cp932.h"
#include "toolkit/Error.h"

#include <QTextCursor>
#include <QTextDocument>

namespace sorvanti::plaintext {

namespace {

constexpr char16_t kRawCR = cp932::kRawByteBase + u'\r';

std::u16string_view view(const QString& s) {
    return {reinterpret_cast<const char16_t*>(s.utf16()), size_t(s.size())};
}

// How a character is named in a message: itself when it can be seen, else its code.
QString describeCharacter(char32_t c) {
    if (QChar::isPrint(c) && !QChar::isSpace(c))
        return QString::fromUcs4(&c, 1);
    return QString::asprintf("U+%04X", uint(c));
}

[[noreturn]] void refuse(std::u16string_view line, size_t pos, qsizetype lineNumber) {
    char32_t c = line[pos];
    if (QChar::isHighSurrogate(c) && pos + 1 < line.size() && QChar::isLowSurrogate(line[pos + 1]))
        c = QChar::surrogateToUcs4(line[pos], line[pos + 1]);
    const QString message = QStringLiteral("%1行目の文字「%2」はテキストファイルに保存できません。"
                                           "リッチテキスト(.rtf)で保存して下さい")
                                .arg(lineNumber)
                                .arg(describeCharacter(c));
    throw Error(message.toStdString());
}

// The length of the well-formed UTF-8 character at p (n bytes left), 0 when there is none.
size_t utf8Length(const unsigned char* p, size_t n) {
    const unsigned char b = p[0];
    if (b < 0x80)
        return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        low = b == 0xE0 ? 0xA0 : 0x80;
        high = b == 0xED ? 0x9F : 0xBF;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        low = b == 0xF0 ? 0x90 : 0x80;
        high = b == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (n < length || p[1] < low || p[1] > high)
        return 0;
    for (size_t k = 2; k < length; ++k) {
        if (p[k] < 0x80 || p[k] > 0xBF)
            return 0;
    }
    return length;
}

// UTF-8 to text; a byte that starts no well-formed character becomes its raw-byte
// character. Returns whether there was such a byte.
bool decodeUtf8(std::string_view bytes, std::u16string& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    bool raw = false;
    size_t runStart = 0;
    auto flush = [&](size_t end) {
        if (end > runStart)
            cp932::fromUtf8Append(bytes.substr(runStart, end - runStart), out);
    };
    for (size_t i = 0; i < n;) {
        const size_t length = utf8Length(p + i, n - i);
        if (length != 0) {
            i += length;
            continue;
        }
        flush(i);
        out.push_back(static_cast<char16_t>(cp932::kRawByteBase + p[i]));
        raw = true;
        runStart = ++i;
    }
    flush(n);
    return raw;
}

// Joins the text's lines with '\n'. A CR that is not part of the line end would split a
// text block, so it is carried as a raw-byte character.
QString linesOf(const std::u16string& text, bool crLf) {
    QString out;
    out.reserve(qsizetype(text.size()));
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c != u'\r') {
            out.append(QChar(c));
        } else if (crLf && i + 1 < n && text[i + 1] == u'\n') {
            // CR LF ends a line: the LF alone stands for it.
        } else {
            out.append(QChar(kRawCR));
        }
    }
    return out;
}

// Writes a line of a UTF-8 document.
void appendUtf8(std::u16string_view line, bool rawBytes, std::string& out) {
    size_t start = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        const char16_t c = line[i];
        if (!cp932::isRawByteEscape(c) || (!rawBytes && c != kRawCR))
            continue;
        cp932::toUtf8Append(line.substr(start, i - start), out);
        out += static_cast<char>(c - cp932::kRawByteBase);
        start = i + 1;
    }
    cp932::toUtf8Append(line.substr(start), out);
}

} // namespace

QString decode(std::string_view bytes, Format* format) {
    const textencoding::Detected detected = textencoding::detect(bytes);
    Format f;
    std::u16string text;
    if (detected.encoding == textencoding::Encoding::Cp932) {
        text = cp932::decode(bytes);
    } else {
        f.encoding = detected.encoding;
        f.bom = detected.bom;
        if (f.bom)
            bytes.remove_prefix(textencoding::kUtf8Bom.size());
        // The first line end tells the file's; one without any is a Linux file to be.
        const size_t lf = bytes.find('\n');
        f.lf = lf == std::string_view::npos || lf == 0 || bytes[lf - 1] != '\r';
        f.rawBytes = decodeUtf8(bytes, text);
    }
    if (format)
        *format = f;
    return linesOf(text, !f.lf);
}

QString formatLabel(const Format& format) {
    if (format.encoding == textencoding::Encoding::Cp932)
        return QStringLiteral("CP932");
    QString label = format.bom ? QStringLiteral("UTF-8 (BOM)") : QStringLiteral("UTF-8");
    if (format.lf)
        label += QStringLiteral(" LF");
    return label;
}

std::string encode(const QTextDocument& doc, const Format& format) {
    const bool utf8 = format.encoding == textencoding::Encoding::Utf8;
    const char* const lineEnd = utf8 && format.lf ? "\n" : "\r\n";
    // The raw text keeps every character as it is (unlike toPlainText()); blocks, frame
    // boundaries and line breaks inside a block all end a line.
    const QString raw = doc.toRawText();
    const std::u16string_view all = view(raw);
    std::string out;
    out.reserve(size_t(raw.size()) + size_t(raw.size()) / 8);
    if (utf8 && format.bom)
        out += textencoding::kUtf8Bom;
    std::u16string line;
    qsizetype lineNumber = 1;
    size_t start = 0;
    auto flushLine = [&](size_t end) {
        line.clear();
        for (size_t i = start; i < end; ++i) {
            const char16_t c = all[i];
            if (c == QChar::ObjectReplacementCharacter)
                continue;
            line.push_back(c == QChar::Nbsp && !utf8 ? u' ' : c);
        }
        if (utf8)
            return appendUtf8(line, format.rawBytes, out);
        size_t bad = std::u16string_view::npos;
        cp932::encodeAppend(line, out, &bad);
        if (bad != std::u16string_view::npos)
            refuse(line, bad, lineNumber);
    };
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
