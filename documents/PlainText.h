#pragma once

#include <QString>

#include <string>
#include <string_view>

class QTextDocument;

// Plain-text documents: code page 932 bytes, lines separated by CR LF.
//
// Reading is lossless: a file with CR LF line ends that is read and written again comes back
// byte for byte, whatever else it holds. Bytes that are not code page 932 text arrive as the
// code page module's raw-byte characters (U+F700 + byte) and are written back as those bytes;
// a CR that does not end a line would split a text block, so it is carried as a raw-byte
// character too. One normalisation remains: code page 932 gives some characters two codes
// (the NEC and IBM extension duplicates); both read as the same character, which is written
// back in its canonical code.
namespace sorvanti::plaintext {

// The text of `bytes` as the lines of a document, joined by '\n'.
QString decode(std::string_view bytes);

// The text of `doc` as code page 932 bytes, its lines (text blocks and line breaks inside
// them) joined by CR LF. Embedded objects, which have no text, are left out; a no-break space
// is written as a blank. A character without a code page 932 form throws Error naming the
// character and its line: nothing is lost silently.
std::string encode(const QTextDocument& doc);

// Replaces the content of `doc` with `text` (lines joined by '\n') in one edit, keeping the
// document's default font; the undo history starts afresh.
void setDocumentText(QTextDocument& doc, const QString& text);

} // namespace sorvanti::plaintext
