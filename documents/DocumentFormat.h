#pragma once

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

} // namespace sorvanti
