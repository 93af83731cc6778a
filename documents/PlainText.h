#pragma once

#include "toolkit/TextEncoding.h"

#include <QString>

#include <string>
#include <string_view>

class QTextDocument;

// Plain-text documents: code page 932 bytes, lines separated by CR LF; or UTF-8, with or
// without the byte-order mark, lines separated by LF or CR LF as the file had them (the
// choice of textencoding::detect).
//
// Reading is lossless: a file with CR LF line ends that is read and written again comes back
// byte for byte, whatever else it holds. Bytes that are not code page 932 text arrive as the
// code page module's raw-byte characters (U+F700 + byte) and are written back as those bytes;
// a CR that does not end a line would split a text block, so it is carried as a raw-byte
// character too. One normalisation remains: code page 932 gives some characters two codes
// (the NEC and IBM extension duplicates); both read as the same character, which is written
// back in its canonical code.
//
// A UTF-8 file comes back byte for byte when its line ends are all alike. Bytes that are no
// UTF-8 (possible after a mark) are carried as raw-byte characters as above.
namespace sorvanti::plaintext {

// How a plain-text file is written. The default is the program's own: code page 932.
struct Format {
    textencoding::Encoding encoding = textencoding::Encoding::Cp932;
    bool bom = false;      // UTF-8 only: the file starts with the byte-order mark
    bool lf = false;       // UTF-8 only: lines end with LF alone, not CR LF
    bool rawBytes = false; // UTF-8 only: U+F700..U+F7FF stand for bytes that are no UTF-8
    bool operator==(const Format&) const = default;
};

// The text of `bytes` as the lines of a document, joined by '\n'; `format` (when given)
// receives how the file is written, for writing it back the same way.
QString decode(std::string_view bytes, Format* format = nullptr);

// The text of `doc` as the bytes of a file in `format`, its lines (text blocks and line
// breaks inside them) joined by the format's line end. Embedded objects, which have no
// text, are left out. Code page 932: a no-break space is written as a blank, and a
// character without a code page 932 form throws Error naming the character and its line:
// nothing is lost silently. UTF-8 holds every character.
std::string encode(const QTextDocument& doc, const Format& format = {});

// How the status bar names a format: "CP932", "UTF-8" or "UTF-8 (BOM)", and " LF" after
// a UTF-8 one whose lines end with LF alone.
QString formatLabel(const Format& format);

// Replaces the content of `doc` with `text` (lines joined by '\n') in one edit, keeping the
// document's default font; the undo history starts afresh.
void setDocumentText(QTextDocument& doc, const QString& text);

} // namespace sorvanti::plaintext
