#pragma once

#include "documents/PlainText.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

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
// document and one read from RTF), and the texts that replacements took the place of, which
// undo() brings back one by one. The text and its modified flag are the edit's document.
// Errors of the file layer (sorvanti::Error with the message the error box shows) pass
// through unchanged.
//
// Replacements: a conversion (replaceText), a load and the emptying by clear() each give the
// edit a new document and keep the old one, so that no text is lost to them. The kept texts
// together stay within kMaxKeptBytes (the oldest go first); a replaced text larger than that
// on its own is not kept, and replacedTextDropped() says so.
class Pane : public QObject {
    Q_OBJECT
public:
    // The most that replaced texts may take together: 64 MB of UTF-16.
    static constexpr qint64 kMaxKeptBytes = qint64{64} << 20;

    Pane(int index, const QString& caption, QWidget* panel, QObject* dialogOwner);
    Pane(const Pane&) = delete;
    Pane& operator=(const Pane&) = delete;

    int index() const { return index_; }
    // A smaller bound than kMaxKeptBytes for the replaced texts.
    void setKeptLimit(qint64 bytes) { keptLimit_ = bytes; }
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
    void setFileName(const QString& name);
    bool isPlainText() const { return plainText_; }
    void setPlainText(bool plain) { plainText_ = plain; }
    const plaintext::Format& format() const { return format_; }
    void setFormat(const plaintext::Format& format) { format_ = format; }
    // Back to the format of a new document, code page 932.
    void resetFormat() { format_ = {}; }
    // The format as the status bar shows it, e.g. "UTF-8 LF" (plaintext::formatLabel).
    QString formatLabel() const;

    // Empties the pane and forgets the formatting of what it held: text typed or put into it
    // afterwards starts from the pane's own font, with no style. The modified flag is
    // cleared and the format is that of a new document; the file name stays. A text the pane
    // held is kept for undo(), but neither it nor those replaced before count as unsaved text
    // any more (unsavedDocuments()).
    void clear();

    // Puts `text` as the pane's whole new text, in the format its caret has, and keeps what
    // the pane held (also nothing), so that undo() can bring it back. The modified flag is
    // set when the text is not empty, cleared when it is.
    void replaceText(const QString& text);

    // Undoes the pane's last edit; when the pane has no edit of its own left to undo and its
    // text replaced a kept one, brings that back (with its formatting, its modified flag and
    // its own undo steps). The file name and the format stay those of the pane.
    void undo();
    // Redoes what the last undo() took back: an edit, or a replacement it undid (while the
    // text it brought back has not been edited since).
    void redo();

    // Names the document `path`, empties the pane and reads the file into it: caret at the
    // start, modified flag clear. A text the pane held is kept for undo(). When reading fails
    // the pane stays empty with its modified flag clear (a new document in code page 932);
    // the plain-text flag follows `path` either way.
    void load(const QString& path);

    // Writes the pane to `path` (plain text in `format`, by default the pane's), names the
    // document `path`, takes the format written, puts the caret at the start and clears the
    // modified flag. When writing fails the text, the caret, the modified flag, the format
    // and the name stay as they were, and so does the file at `path`.
    void save(const QString& path);
    void save(const QString& path, const plaintext::Format& format);

    // The caret to the very start, the text shown from its top-left corner.
    void caretToTop();

    // One of the pane's documents; `serial` tells it from every other the pane had.
    struct Document {
        const QTextDocument* doc;
        quint64 serial;
    };
    // The documents that hold unsaved text (modified and not empty): the replaced ones that
    // clear() has not given up, the oldest first, then the pane's own. Replaced documents are
    // never edited; the pane's own changes whenever version() does.
    std::vector<Document> unsavedDocuments() const;
    // Goes up with every change() of the pane.
    quint64 version() const { return version_; }
    // Gives back a document that an earlier run kept: a new document, filled by `fill` and
    // modified as given, replaces the pane's own, which is kept for undo() unless it is empty.
    // The file name and format are left to the caller.
    void restoreDocument(const std::function<void(QTextDocument&)>& fill, bool modified);

signals:
    // The text, its formatting, its modified flag or the file name changed, or another
    // document took the edit's place.
    void changed();
    // A replaced text was too large to keep: undo() cannot bring it back.
    void replacedTextDropped();

private:
    void createComponents(const QString& caption, QWidget* panel, QObject* dialogOwner);
    // Gives the edit a new empty document with the defaults of the old one, which is kept for
    // undo() unless it is empty and `keepEmpty` is false; returns the new one.
    QTextDocument* replaceDocument(bool keepEmpty);
    void keepReplaced(QTextDocument* old, quint64 serial);
    // Forgets the replacements that undo() took back: the text took another way.
    void dropUndone();
    void watch(QTextDocument* doc);
    void noteChange();
    // clear() but for the text it held, which stays unsaved text.
    void newDocument();

    int index_;
    QGroupBox* frame_ = nullptr;
    QTextEdit* edit_ = nullptr;
    OpenDialog* openDialog_ = nullptr;
    SaveDialog* saveDialog_ = nullptr;
    FontDialog* fontDialog_ = nullptr;

    QString fileName_;
    bool plainText_ = false;
    plaintext::Format format_;
    // The documents replacements took the place of, the latest last; children of the edit.
    struct Layer {
        QTextDocument* doc;
        quint64 serial;
        bool settled; // given up on purpose (clear()): not unsaved text any more
    };
    std::vector<Layer> replaced_;
    // The replacements undo() took back, the latest last, for redo(); valid while the pane's
    // document is still at `redoRevision_`.
    std::vector<Layer> undone_;
    int redoRevision_ = -1;
    quint64 serial_ = 0; // the pane's own document's
    quint64 lastSerial_ = 0;
    quint64 version_ = 0;
    qint64 replacedBytes_ = 0;
    qint64 keptLimit_ = kMaxKeptBytes;
};

} // namespace sorvanti
