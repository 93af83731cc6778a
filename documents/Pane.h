#pragma once

#include "documents/PlainText.h"

#include <QString>
#include <QStringList>

class QGroupBox;
class QObject;
class QTextDocument;
class QTextEdit;
class QWidget;

namespace sorvanti {

class FontDialog;
class OpenDialog;
class SaveDialog;

// One of the window's two panes, and the document it holds.
//
// Components: the frame, the text edit inside it, and the pane's own open, save and font
// dialogs, named after the pane's index ("GBframe0", "REedit0", "ODdialog0", "SDdialog0",
// "FDfont0"). Qt's parents own them: the frame its panel, the dialogs their owner window.
//
// Document: the name of its file (empty for a new document), whether it was last read or
// written as plain text (the format rule of its name), the plain-text format it writes
// (the encoding, mark and line ends its file was read with; code page 932 for a new
// document and one read from RTF), and the text that the last replacement took the place
// of, which undo() brings back. The text and its modified flag are the edit's document.
// Errors of the file layer (sorvanti::Error with the message the error box shows) pass
// through unchanged.
class Pane {
public:
    Pane(int index, const QString& caption, QWidget* panel, QObject* dialogOwner);
    Pane(const Pane&) = delete;
    Pane& operator=(const Pane&) = delete;

    int index() const { return index_; }
    QGroupBox* frame() const { return frame_; }
    QTextEdit* edit() const { return edit_; }
    OpenDialog* openDialog() const { return openDialog_; }
    SaveDialog* saveDialog() const { return saveDialog_; }
    FontDialog* fontDialog() const { return fontDialog_; }

    QTextDocument& document() const;
    bool isModified() const;
    // The lines as conversion and printing read them (paneLines).
    QStringList lines() const;

    // The document's file name; load() and a successful save() set it.
    const QString& fileName() const { return fileName_; }
    void setFileName(const QString& name) { fileName_ = name; }
    bool isPlainText() const { return plainText_; }
    const plaintext::Format& format() const { return format_; }
    // Back to the format of a new document, code page 932.
    void resetFormat() { format_ = {}; }
    // The format as the status bar shows it, e.g. "UTF-8 LF" (plaintext::formatLabel).
    QString formatLabel() const;

    // Empties the pane and forgets the formatting of what it held: text typed or put into it
    // afterwards starts from the pane's own font, with no style. The modified flag is
    // cleared and the format is that of a new document; the file name stays.
    void clear();

    // Puts `text` as the pane's whole new text, in the format its caret has, and keeps what
    // the pane held until the pane is emptied, loaded or replaced again, so that undo() can
    // bring it back. The modified flag is set when the text is not empty, cleared when it is.
    void replaceText(const QString& text);

    // Undoes the pane's last edit; when the pane has no edit of its own left to undo and its
    // text replaced a kept one, brings that back (with its formatting and its own undo steps).
    void undo();
    // Redoes what the last undo() of an edit took back.
    void redo();

    // Names the document `path`, empties the pane and reads the file into it: caret at the
    // start, modified flag clear. When reading fails the pane stays empty with its modified
    // flag clear (a new document in code page 932); the plain-text flag follows `path`
    // either way.
    void load(const QString& path);

    // Writes the pane to `path` (plain text in the pane's format), names the document
    // `path`, puts the caret at the start and clears the modified flag. When writing fails
    // the text, the caret, the modified flag and the name stay as they were, and so does the
    // file at `path`.
    void save(const QString& path);

    // The caret to the very start, the text shown from its top-left corner.
    void caretToTop();

private:
    void createComponents(const QString& caption, QWidget* panel, QObject* dialogOwner);
    void forgetReplaced();

    int index_;
    QGroupBox* frame_ = nullptr;
    QTextEdit* edit_ = nullptr;
    OpenDialog* openDialog_ = nullptr;
    SaveDialog* saveDialog_ = nullptr;
    FontDialog* fontDialog_ = nullptr;

    QString fileName_;
    bool plainText_ = false;
    plaintext::Format format_;
    // The document a replacement took the place of; a child of the edit.
    QTextDocument* replaced_ = nullptr;
};

} // namespace sorvanti
