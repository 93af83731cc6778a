#include "documents/Pane.h"

#include "documents/DocumentFiles.h"
#include "documents/DocumentFormat.h"
#include "documents/PaneLines.h"
#include "toolkit/FontDialog.h"
#include "toolkit/FormFont.h"
#include "toolkit/OpenDialog.h"
#include "toolkit/SaveDialog.h"

#include <QApplication>
#include <QGroupBox>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace sorvanti {

namespace {

void caretToStart(QTextEdit& edit) {
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(0);
    edit.setTextCursor(cursor);
    edit.ensureCursorVisible();
}

} // namespace

Pane::Pane(int index, const QString& caption, QWidget* panel, QObject* dialogOwner)
    : index_(index) {
    createComponents(caption, panel, dialogOwner);
}

void Pane::createComponents(const QString& caption, QWidget* panel, QObject* dialogOwner) {
    const QString digit = QString::number(index_);
    frame_ = new QGroupBox(caption, panel);
    frame_->setObjectName(QStringLiteral("GBframe") + digit);
    frame_->setAutoFillBackground(true);
    edit_ = new QTextEdit(frame_);
    edit_->setObjectName(QStringLiteral("REedit") + digit);
    edit_->setAcceptRichText(true);
    edit_->setLineWrapMode(QTextEdit::NoWrap);
    edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Files dropped on a pane are the window's business, not the edit's.
    edit_->setAcceptDrops(false);
    edit_->viewport()->setAcceptDrops(false);

    openDialog_ = new OpenDialog(dialogOwner);
    openDialog_->setObjectName(QStringLiteral("ODdialog") + digit);
    saveDialog_ = new SaveDialog(dialogOwner);
    saveDialog_->setObjectName(QStringLiteral("SDdialog") + digit);
    fontDialog_ = new FontDialog(dialogOwner);
    fontDialog_->setObjectName(QStringLiteral("FDfont") + digit);
    // The font dialog starts at the form's face in 9 points and keeps its own last choice.
    fontDialog_->Font = QFont();
    fontDialog_->Font.setFamilies(formFontFamilies());
    fontDialog_->Font.setPointSize(9);
    fontDialog_->Color = QApplication::palette().color(QPalette::WindowText);
}

QTextDocument& Pane::document() const {
    return *edit_->document();
}

bool Pane::isModified() const {
    return document().isModified();
}

QStringList Pane::lines() const {
    return paneLines(document());
}

QString Pane::formatLabel() const {
    // A pane read or written as RTF is saved as RTF again (its name says so).
    if (!plainText_ && !fileName_.isEmpty())
        return QStringLiteral("RTF");
    return plaintext::formatLabel(format_);
}

void Pane::forgetReplaced() {
    delete replaced_;
    replaced_ = nullptr;
}

void Pane::clear() {
    forgetReplaced();
    // The document itself is cleared: the edit's own clear() would give the empty text, and
    // so the caret, the format of the first character the pane held.
    document().clear();
    edit_->setCurrentCharFormat(QTextCharFormat());
    document().setModified(false);
    // An emptied pane is a new document: code page 932, whatever it held before.
    resetFormat();
}

void Pane::replaceText(const QString& text) {
    // A new document takes the text in one go: inserting it into the old one as an undoable
    // edit costs ten times as long for a long text, and undo then swaps the old one back.
    forgetReplaced();
    QTextDocument* old = edit_->document();
    const QTextCharFormat format = edit_->textCursor().charFormat();
    // Owned by the edit from now on, also when it was the edit's own first document.
    old->setParent(edit_);
    replaced_ = old;
    auto* fresh = new QTextDocument(edit_);
    fresh->setDefaultFont(old->defaultFont());
    fresh->setDocumentMargin(old->documentMargin());
    fresh->setDefaultTextOption(old->defaultTextOption());
    edit_->setDocument(fresh);
    edit_->setCurrentCharFormat(format);
    // The plain-text path keeps the caret's format for the whole text.
    edit_->setPlainText(text);
    fresh->setModified(!text.isEmpty());
}

void Pane::undo() {
    if (document().isUndoAvailable() || !replaced_) {
        edit_->undo();
        return;
    }
    QTextDocument* replacement = edit_->document();
    edit_->setDocument(replaced_);
    replaced_ = nullptr;
    delete replacement;
}

void Pane::redo() {
    edit_->redo();
}

void Pane::load(const QString& path) {
    fileName_ = path;
    clear();
    // The format of a file follows its name at every load and save.
    plainText_ = isPlainTextName(path);
    // The format is kept in a local first, so that a pane left empty by a failed read stays
    // the new document that clear() made it.
    plaintext::Format read;
    readDocument(*edit_, path, plainText_, &read);
    // Only a UTF-8 file has a mark and line ends of its own to keep.
    format_ = read.encoding == textencoding::Encoding::Utf8 ? read : plaintext::Format{};
    caretToStart(*edit_);
    document().setModified(false);
}

void Pane::save(const QString& path) {
    plainText_ = isPlainTextName(path);
    // The format the file was written in: the pane's, unless that would not read back as the
    // same text (plaintext::encode()).
    plaintext::Format written;
    writeDocument(document(), path, plainText_, format_, &written);
    format_ = written;
    fileName_ = path;
    caretToStart(*edit_);
    document().setModified(false);
}

void Pane::caretToTop() {
    caretToStart(*edit_);
    // Scrolling the caret into view stops at the document margin; the caret is at the very
    // start, so show the text from its very top.
    edit_->verticalScrollBar()->setValue(edit_->verticalScrollBar()->minimum());
    edit_->horizontalScrollBar()->setValue(edit_->horizontalScrollBar()->minimum());
}

} // namespace sorvanti
