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

// What a kept document takes: its text in UTF-16.
qint64 keptBytes(const QTextDocument& doc) {
    return qint64(doc.characterCount()) * 2;
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
    watch(edit_->document());
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

void Pane::setFileName(const QString& name) {
    fileName_ = name;
    noteChange();
}

QString Pane::formatLabel() const {
    // A pane read or written as RTF is saved as RTF again (its name says so).
    if (proposedSaveType(plainText_, !fileName_.isEmpty(), format_) == SaveType::Rtf)
        return QStringLiteral("RTF");
    return plaintext::formatLabel(format_);
}

void Pane::watch(QTextDocument* doc) {
    // A kept document is not edited, but only the edit's own one speaks for the pane.
    const auto forward = [this, doc] {
        if (doc == edit_->document())
            noteChange();
    };
    connect(doc, &QTextDocument::contentsChanged, this, forward);
    connect(doc, &QTextDocument::modificationChanged, this, forward);
}

void Pane::keepReplaced(QTextDocument* old, quint64 serial) {
    const qint64 bytes = keptBytes(*old);
    if (bytes > keptLimit_) {
        delete old;
        emit replacedTextDropped();
        return;
    }
    replaced_.push_back({old, serial, false});
    replacedBytes_ += bytes;
    while (replacedBytes_ > keptLimit_) {
        replacedBytes_ -= keptBytes(*replaced_.front().doc);
        delete replaced_.front().doc;
        replaced_.erase(replaced_.begin());
    }
}

void Pane::dropUndone() {
    for (const Layer& layer : undone_)
        delete layer.doc;
    undone_.clear();
}

QTextDocument* Pane::replaceDocument(bool keepEmpty) {
    dropUndone();
    QTextDocument* old = edit_->document();
    // Owned by the edit from now on, also when it was the edit's own first document.
    old->setParent(edit_);
    auto* fresh = new QTextDocument(edit_);
    fresh->setDefaultFont(old->defaultFont());
    fresh->setDocumentMargin(old->documentMargin());
    fresh->setDefaultTextOption(old->defaultTextOption());
    watch(fresh);
    edit_->setDocument(fresh);
    const quint64 oldSerial = serial_;
    serial_ = ++lastSerial_;
    if (keepEmpty || !old->isEmpty())
        keepReplaced(old, oldSerial);
    else
        delete old;
    noteChange();
    return fresh;
}

void Pane::clear() {
    newDocument();
    // What the pane held is given up on purpose: undo() still brings it back during the run,
    // but none of it counts as unsaved any more.
    for (Layer& layer : replaced_)
        layer.settled = true;
}

void Pane::newDocument() {
    QTextDocument* fresh = replaceDocument(false);
    // A new document: text typed into it starts from the pane's own font, with no style. Set
    // outside the undo history, so that undoing the first edit leaves the pane unmodified.
    fresh->setUndoRedoEnabled(false);
    edit_->setCurrentCharFormat(QTextCharFormat());
    fresh->setUndoRedoEnabled(true);
    // An emptied pane is a new document: code page 932, whatever it held before.
    resetFormat();
}

void Pane::replaceText(const QString& text) {
    // A new document takes the text in one go: inserting it into the old one as an undoable
    // edit costs ten times as long for a long text, and undo then swaps the old one back.
    const QTextCharFormat format = edit_->textCursor().charFormat();
    QTextDocument* fresh = replaceDocument(true);
    edit_->setCurrentCharFormat(format);
    // The plain-text path keeps the caret's format for the whole text.
    edit_->setPlainText(text);
    fresh->setModified(!text.isEmpty());
}

void Pane::undo() {
    if (document().isUndoAvailable() || replaced_.empty()) {
        edit_->undo();
        return;
    }
    QTextDocument* replacement = edit_->document();
    QTextDocument* back = replaced_.back().doc;
    // Kept for redo() while the text brought back stays as it is; at most one replacement's
    // worth beyond the kept texts' bound.
    if (keptBytes(*replacement) <= keptLimit_)
        undone_.push_back({replacement, serial_, false});
    else
        delete replacement;
    serial_ = replaced_.back().serial;
    replaced_.pop_back();
    replacedBytes_ -= keptBytes(*back);
    edit_->setDocument(back);
    redoRevision_ = back->revision();
    noteChange();
}

void Pane::noteChange() {
    ++version_;
    emit changed();
}

std::vector<Pane::Document> Pane::unsavedDocuments() const {
    std::vector<Document> unsaved;
    const auto add = [&unsaved](const QTextDocument* doc, quint64 serial) {
        if (doc->isModified() && !doc->isEmpty())
            unsaved.push_back({doc, serial});
    };
    for (const Layer& layer : replaced_)
        if (!layer.settled)
            add(layer.doc, layer.serial);
    add(edit_->document(), serial_);
    return unsaved;
}

void Pane::restoreDocument(const std::function<void(QTextDocument&)>& fill, bool modified) {
    QTextDocument* doc = replaceDocument(false);
    // Without a caret while the text goes in, as readDocument() does it.
    edit_->setTextCursor(QTextCursor());
    fill(*doc);
    edit_->setTextCursor(QTextCursor(doc));
    doc->setModified(modified);
    noteChange();
}

void Pane::redo() {
    // The text's own undone edits come first; a text edited since undo() brought it back
    // has taken another way.
    if (document().isRedoAvailable() || undone_.empty() || document().revision() != redoRevision_) {
        if (!document().isRedoAvailable())
            dropUndone();
        edit_->redo();
        return;
    }
    QTextDocument* current = edit_->document();
    keepReplaced(current, serial_);
    const Layer next = undone_.back();
    undone_.pop_back();
    serial_ = next.serial;
    edit_->setDocument(next.doc);
    redoRevision_ = next.doc->revision();
    noteChange();
}

void Pane::load(const QString& path) {
    fileName_ = path;
    newDocument();
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
    noteChange();
}

void Pane::save(const QString& path) {
    save(path, format_);
}

void Pane::save(const QString& path, const plaintext::Format& format) {
    plainText_ = isPlainTextName(path);
    // The format the file was written in: the one asked for, unless that would not read back
    // as the same text (plaintext::encode()).
    plaintext::Format written;
    writeDocument(document(), path, plainText_, format, &written);
    format_ = written;
    fileName_ = path;
    caretToStart(*edit_);
    document().setModified(false);
    noteChange();
}

void Pane::caretToTop() {
    caretToStart(*edit_);
    // Scrolling the caret into view stops at the document margin; the caret is at the very
    // start, so show the text from its very top.
    edit_->verticalScrollBar()->setValue(edit_->verticalScrollBar()->minimum());
    edit_->horizontalScrollBar()->setValue(edit_->horizontalScrollBar()->minimum());
}

} // namespace sorvanti
