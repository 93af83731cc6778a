#include "documents/PaneDocument.h"

#include "documents/DocumentFiles.h"
#include "documents/DocumentFormat.h"

#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextEdit>
#include <QVariant>

namespace sorvanti::panedocument {

namespace {

const char* const kPlainText = "PlainText";
const char* const kEncoding = "TextEncoding";
const char* const kBom = "TextBom";
const char* const kLf = "TextLf";

void setFormat(QTextEdit& edit, const plaintext::Format& f) {
    edit.setProperty(kEncoding, static_cast<int>(f.encoding));
    edit.setProperty(kBom, f.bom);
    edit.setProperty(kLf, f.lf);
}
// The document a replacement took the place of, kept as a child of the edit.
const char* const kReplaced = "ReplacedDocument";

QTextDocument* keptDocument(const QTextEdit& edit) {
    return edit.findChild<QTextDocument*>(QLatin1String(kReplaced), Qt::FindDirectChildrenOnly);
}

void forgetKeptDocument(QTextEdit& edit) {
    delete keptDocument(edit);
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

void replaceText(QTextEdit& edit, const QString& text) {
    // A new document takes the text in one go: inserting it into the old one as an undoable
    // edit costs ten times as long for a long text, and undo then swaps the old one back.
    forgetKeptDocument(edit);
    QTextDocument* old = edit.document();
    const QTextCharFormat format = edit.textCursor().charFormat();
    old->setParent(&edit);
    old->setObjectName(QLatin1String(kReplaced));
    auto* fresh = new QTextDocument(&edit);
    fresh->setDefaultFont(old->defaultFont());
    fresh->setDocumentMargin(old->documentMargin());
    fresh->setDefaultTextOption(old->defaultTextOption());
    edit.setDocument(fresh);
    edit.setCurrentCharFormat(format);
    // The plain-text path keeps the caret's format for the whole text.
    edit.setPlainText(text);
    fresh->setModified(!text.isEmpty());
}

void undo(QTextEdit& edit) {
    QTextDocument* kept = keptDocument(edit);
    if (edit.document()->isUndoAvailable() || !kept) {
        edit.undo();
        return;
    }
    QTextDocument* replacement = edit.document();
    kept->setObjectName(QString());
    edit.setDocument(kept);
    delete replacement;
}

void clear(QTextEdit& edit) {
    forgetKeptDocument(edit);
    // The document itself is cleared: the edit's own clear() would give the empty text, and
    // so the caret, the format of the first character the pane held.
    edit.document()->clear();
    edit.setCurrentCharFormat(QTextCharFormat());
    edit.document()->setModified(false);
    // An emptied pane is a new document: code page 932, whatever it held before.
    resetFormat(edit);
}

void load(QTextEdit& edit, const QString& path) {
    clear(edit);
    const bool plain = setFormatFrom(edit, path);
    // The format is kept in a local first, so that a pane left empty by a failed read stays
    // the new document that clear() made it.
    plaintext::Format format;
    readDocument(edit, path, plain, &format);
    setFormat(edit, format);
    caretToStart(edit);
    edit.document()->setModified(false);
}

void save(QTextEdit& edit, const QString& path) {
    const bool plain = setFormatFrom(edit, path);
    // The format the file was written in: the pane's, unless that would not read back as the
    // same text (plaintext::encode()).
    plaintext::Format written;
    writeDocument(*edit.document(), path, plain, format(edit), &written);
    setFormat(edit, written);
    caretToStart(edit);
    edit.document()->setModified(false);
}

plaintext::Format format(const QTextEdit& edit) {
    plaintext::Format f;
    if (edit.property(kEncoding).toInt() == static_cast<int>(textencoding::Encoding::Utf8)) {
        f.encoding = textencoding::Encoding::Utf8;
        f.bom = edit.property(kBom).toBool();
        f.lf = edit.property(kLf).toBool();
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
