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

} // namespace

QString decode(std::string_view bytes) {
    const std::u16string text = cp932::decode(bytes);
    QString out;
    out.reserve(qsizetype(text.size()));
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c != u'\r') {
            out.append(QChar(c));
        } else if (i + 1 < n && text[i + 1] == u'\n') {
            // CR LF ends a line: the LF alone stands for it.
        } else {
            out.append(QChar(kRawCR));
        }
    }
    return out;
}

std::string encode(const QTextDocument& doc) {
    // The raw text keeps every character as it is (unlike toPlainText()); blocks, frame
    // boundaries and line breaks inside a block all end a line.
    const QString raw = doc.toRawText();
    const std::u16string_view all = view(raw);
    std::string out;
    out.reserve(size_t(raw.size()) + size_t(raw.size()) / 8);
    std::u16string line;
    qsizetype lineNumber = 1;
    size_t start = 0;
    auto flushLine = [&](size_t end) {
        line.clear();
        for (size_t i = start; i < end; ++i) {
            const char16_t c = all[i];
            if (c == QChar::ObjectReplacementCharacter)
                continue;
            line.push_back(c == QChar::Nbsp ? u' ' : c);
        }
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
            out += "\r\n";
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
