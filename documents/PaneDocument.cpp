#include "documents/PaneDocument.h"

#include "documents/DocumentFiles.h"
#include "documents/DocumentFormat.h"

#include <QTextCharFormat>
#include <QTextEdit>
#include <QVariant>

namespace sorvanti::panedocument {

namespace {

const char* const kPlainText = "PlainText";

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

void clear(QTextEdit& edit) {
    // The document itself is cleared: the edit's own clear() would give the empty text, and
    // so the caret, the format of the first character the pane held.
    edit.document()->clear();
    edit.setCurrentCharFormat(QTextCharFormat());
    edit.document()->setModified(false);
}

void load(QTextEdit& edit, const QString& path) {
    clear(edit);
    const bool plain = setFormatFrom(edit, path);
    readDocument(edit, path, plain);
    caretToStart(edit);
    edit.document()->setModified(false);
}

void save(QTextEdit& edit, const QString& path) {
    const bool plain = setFormatFrom(edit, path);
    writeDocument(*edit.document(), path, plain);
    caretToStart(edit);
    edit.document()->setModified(false);
}

} // namespace sorvanti::panedocument
