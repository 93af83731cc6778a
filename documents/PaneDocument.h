#pragma once

#include "documents/PlainText.h"

#include <QString>

class QTextEdit;

// A pane as a document: its text is read from and written to its document file in the
// format the file's name calls for, and the pane remembers that format as its "PlainText"
// property. It also remembers how its plain text was written (the encoding, the mark and
// the line ends the file was read with) and writes plain text back that way; a new pane
// and one read from RTF use code page 932. Errors of the file layer (sorvanti::Error with the
// message the error box shows) pass through unchanged.
namespace sorvanti::panedocument {

// The pane's plain-text flag: whether its text was last read or written as plain text.
bool isPlainText(const QTextEdit& edit);

// Empties the pane and forgets the formatting of what it held: text typed or put into it
// afterwards starts from the pane's own font, with no style. The modified flag is cleared.
void clear(QTextEdit& edit);

// Puts `text` as the pane's whole new text, in the format its caret has, and keeps what the
// pane held until the pane is emptied, loaded or replaced again, so that undo() can bring it
// back. The modified flag is set when the text is not empty, cleared when it is.
void replaceText(QTextEdit& edit, const QString& text);

// Undoes the pane's last edit; when the pane has no edit of its own left to undo and its
// text replaced a kept one, brings that back (with its formatting and its own undo steps).
void undo(QTextEdit& edit);

// Empties the pane, then reads `path` into it: caret at the start, modified flag clear.
// When reading fails the pane stays empty with its modified flag clear; the flag of the
// format is set from `path` either way.
void load(QTextEdit& edit, const QString& path);

// Writes the pane to `path`, then puts the caret at the start and clears the modified flag.
// When writing fails the text, the caret and the modified flag stay as they were, and so
// does the file at `path`. Plain text is written in the pane's format.
void save(QTextEdit& edit, const QString& path);

// The plain-text format the pane writes in.
plaintext::Format format(const QTextEdit& edit);

// Back to the format of a new document, code page 932: for a pane emptied by 新規作成.
void resetFormat(QTextEdit& edit);

// The pane's format as the status bar shows it, e.g. "UTF-8 LF" (plaintext::formatLabel).
QString formatLabel(const QTextEdit& edit);

} // namespace sorvanti::panedocument
