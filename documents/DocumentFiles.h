#pragma once

#include "documents/PlainText.h"

#include <QString>

#include <string_view>

class QTextDocument;
class QTextEdit;

// Reading and writing a pane's document file, as plain text or as Rich Text Format.
// Failures throw sorvanti::Error with the message the error box shows:
//   "ファイル <path> は開けません"          the file cannot be opened for reading
//   "ファイル <path> を作成できません"      the file cannot be created or replaced
//   "ストリームからの読み込みに失敗しました"  reading stopped part-way
//   "ストリームへの書き込みに失敗しました"    writing stopped part-way
// and, for plain text only, a refusal naming a character that code page 932 cannot hold.
namespace sorvanti {

// Replaces the content of `doc` with the file at `path`. The document is emptied first, so
// it stays empty when reading fails. A file to be read as Rich Text Format that is not RTF
// is read again from its start as plain text. The undo history starts afresh; the modified
// flag is left to the caller. `format` (when given) receives how the file was written when
// it was read as plain text, and the default (code page 932) when it was read as RTF.
void readDocument(QTextDocument& doc, const QString& path, bool plainText,
                  plaintext::Format* format = nullptr);

// The same rule for bytes already read (into a document that is empty): RTF when asked for
// and they read as RTF, else plain text.
void readDocumentBytes(QTextDocument& doc, std::string_view bytes, bool plainText,
                       plaintext::Format* format = nullptr);

// The same for the document of a text edit, whose caret is then at the start. Use this one
// for a pane: a caret carried along to the end of a long text and brought back to the start
// afterwards would make the edit lay out every line first (seconds for a few megabytes).
void readDocument(QTextEdit& edit, const QString& path, bool plainText,
                  plaintext::Format* format = nullptr);

// Writes `doc` to `path`, creating the file or replacing its whole content. The new content
// is written beside the file and takes its place only when complete, so a failed save
// leaves the old file exactly as it was; a refused plain-text save writes nothing at all.
// Plain text is written in `format`, or where that would not read back as the same text in
// the format plaintext::encode() chooses; `written` (when given) receives the one used.
void writeDocument(const QTextDocument& doc, const QString& path, bool plainText,
                   const plaintext::Format& format = {}, plaintext::Format* written = nullptr);

} // namespace sorvanti
