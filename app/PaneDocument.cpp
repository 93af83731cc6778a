#include "app/PaneDocument.h"

#include "documents/DocumentFiles.h"
#include "documents/DocumentFormat.h"

#include <QTextEdit>
#include <QVariant>

namespace sorvanti::panedocument {

namespace {

const char* const kPlainText = "PlainText";
const char* const kEncoding = "TextEncoding";
const char* const kBom = "TextBom";
const char* const kLf = "TextLf";
const char* const kRawBytes = "TextRawBytes";

void setFormat(QTextEdit& edit, const plaintext::Format& f) {
    edit.setProperty(kEncoding, static_cast<int>(f.encoding));
    edit.setProperty(kBom, f.bom);
    edit.setProperty(kLf, f.lf);
    edit.setProperty(kRawBytes, f.rawBytes);
}

// The format of a file follows its name at every load and save, never a choice of the user.
bool setFormatFrom(QTextEdit& edit, const QString& path) {
    const bool plain = isPlainTextName(path);
    edit.setProperty(kPlainText, plain);
    return plain;
}

void caretToStart(QTextEdit& edit) {
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(0);
    edit.setTextCursor(cursor);
    edit.ensureCursorVisible();
}

} // namespace

bool isPlainText(const QTextEdit& edit) {
    return edit.property(kPlainText).toBool();
}

void load(QTextEdit& edit, const QString& path) {
    edit.clear();
    edit.document()->setModified(false);
    const bool plain = setFormatFrom(edit, path);
    // Set before reading, so that a pane left empty by a failed read is a new document.
    plaintext::Format format;
    setFormat(edit, format);
    readDocument(edit, path, plain, &format);
    setFormat(edit, format);
    caretToStart(edit);
    edit.document()->setModified(false);
}

void save(QTextEdit& edit, const QString& path) {
    const bool plain = setFormatFrom(edit, path);
    writeDocument(*edit.document(), path, plain, format(edit));
    caretToStart(edit);
    edit.document()->setModified(false);
}

plaintext::Format format(const QTextEdit& edit) {
    plaintext::Format f;
    if (edit.property(kEncoding).toInt() == static_cast<int>(textencoding::Encoding::Utf8)) {
        f.encoding = textencoding::Encoding::Utf8;
        f.bom = edit.property(kBom).toBool();
        f.lf = edit.property(kLf).toBool();
        f.rawBytes = edit.property(kRawBytes).toBool();
    }
    return f;
}

void resetFormat(QTextEdit& edit) {
    setFormat(edit, {});
}

QString formatLabel(const QTextEdit& edit) {
    return plaintext::formatLabel(format(edit));
}

} // namespace sorvanti::panedocument
