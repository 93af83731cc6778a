#pragma once

#include "documents/PlainText.h"

#include <QString>

#include <span>

// The three document types, the rule that picks a file's format from its name, and the
// texts the open and save dialogs are given.
namespace sorvanti {

struct DocumentType {
    const char* extension; // ".svt"
    const char* typeName;  // UTF-8, as shown in the dialogs' type list
    bool plainText;
};

// The known types in the order of the dialogs' type list.
std::span<const DocumentType> documentTypes();

// True unless the full path contains ".rtf" anywhere (case-sensitive): "a.rtf" and
// "x.rtf.txt" are rich text, "A.RTF" and "a.Rtf" plain text. Decided at every load and save.
bool isPlainTextName(const QString& path);

// "ｿﾙﾊﾞﾝﾁﾌｧｲﾙ (*.svt)|*.svt|ﾃｷｽﾄﾌｧｲﾙ (*.txt)|*.txt|ﾘｯﾁﾃｷｽﾄﾌｧｲﾙ (*.rtf)|*.rtf"
QString dialogFilter();
// The open dialog's filter: the types above, then "すべてのファイル (*)" for a document of any
// name (read as plain text unless its name holds ".rtf").
QString openDialogFilter();

// "|*.svt|*.txt|*.rtf": only its being non-empty matters to the dialogs.
QString dialogDefaultExt();

// The save dialog's types, by their 1-based place in its type list: the encoding a plain-text
// file is written in, or Rich Text Format. A name typed without an extension gets the first
// extension of the type (".svt" for both plain texts).
enum class SaveType { Cp932 = 1, Utf8 = 2, Rtf = 3 };

// "テキスト (CP932)|*.svt;*.txt|テキスト (UTF-8)|*.svt;*.txt|リッチテキスト|*.rtf"
QString saveDialogFilter();

// The type a save dialog proposes for a document: its own. `plainText` and `named` tell how
// the pane stands (a named pane that is not plain text was read or written as RTF).
SaveType proposedSaveType(bool plainText, bool named, const plaintext::Format& format);

// The plain-text format a save of type `type` writes, for a pane whose format is `format`:
// code page 932, UTF-8 (the pane's own when it is UTF-8), or, for RTF, the pane's own, which
// a name that the format rule makes plain text still needs.
plaintext::Format savedFormat(SaveType type, const plaintext::Format& format);

} // namespace sorvanti
