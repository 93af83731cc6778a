#pragma once

#include "toolkit/Error.h"
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
// code page module's raw-byte characters (U+F700 + byte) and are written back as those bytes.
// One normalisation remains: code page 932 gives some characters two codes (the NEC and IBM
// extension duplicates); both read as the same character, which is written back in its
// canonical code.
//
// A UTF-8 file comes back byte for byte when its line ends are all alike, whatever characters
// it holds (U+F700..U+F7FF are characters like any other there). Its bytes that are no UTF-8
// (possible after a mark) are carried as marks and written back as those bytes.
//
// Marks: a text document would not keep some characters of a file as they are: a CR inside a
// line and U+2029, U+FDD0 and U+FDD1 would end a text block, U+2028 would read as a line break
// typed into the pane and U+FFFC as an embedded object. Each of them, and each byte of a
// UTF-8 file that is no UTF-8, stands in the text as a lone low surrogate (U+DC00 + an index
// for a character, U+DC00 + the byte for a byte), which no text read from a file can hold.
// The pane shows a mark as a replacement glyph; writing puts back what it stands for.
//
// Writing checks the file as it will read: when the bytes would be taken for another format
// (a UTF-8 file whose non-ASCII text is all half-width katakana look-alikes, or a code page
// 932 text that happens to be valid UTF-8), the nearest format that reads back as the same
// text is written instead (see encode()).
namespace sorvanti::plaintext {

// How a plain-text file is written. The default is the program's own: code page 932.
struct Format {
    textencoding::Encoding encoding = textencoding::Encoding::Cp932;
    bool bom = false; // UTF-8 only: the file starts with the byte-order mark
    bool lf = false;  // UTF-8 only: lines end with LF alone, not CR LF
    bool operator==(const Format&) const = default;
};

// `format` in UTF-8: itself when it is UTF-8 already, otherwise UTF-8 without the mark and
// with CR LF, the line ends code page 932 has.
Format inUtf8(const Format& format);

// The refusal of a character that code page 932 lacks, which UTF-8 would hold. The message
// names the line and the character; `line` and `character` give them for another text.
class Unencodable : public Error {
public:
    Unencodable(const std::string& message, qsizetype line, const QString& character)
        : Error(message), line(line), character(character) {}
    qsizetype line;
    QString character;
};

// The text of `bytes` as the lines of a document, joined by '\n'; `format` (when given)
// receives how the file is written, for writing it back the same way.
QString decode(std::string_view bytes, Format* format = nullptr);

// The text of `doc` as the bytes of a file in `format`, its lines (text blocks and line
// breaks inside them) joined by the format's line end. Embedded objects, which have no
// text, are left out. Code page 932: a no-break space is written as a blank, and a
// character without a code page 932 form throws Error naming the character and its line:
// nothing is lost silently. UTF-8 holds every character.
// The bytes always read back as the same text. Where `format` would not give that, the
// nearest format that does is used, and `written` (when given) receives the one used:
//  - UTF-8 bytes that would not be taken for UTF-8 (all their non-ASCII bytes are
//    half-width katakana look-alikes, a byte that is no UTF-8, text starting with U+FEFF)
//    get the mark;
//  - UTF-8 with LF line ends whose first line ends in a carried CR is written with CR LF;
//  - code page 932 bytes that would be taken for UTF-8 are written as UTF-8 instead.
std::string encode(const QTextDocument& doc, const Format& format = {}, Format* written = nullptr);

// The same for the raw text of a document (QTextDocument::toRawText()), which may be taken
// on the document's thread and encoded on another.
std::string encodeRaw(const QString& raw, const Format& format = {}, Format* written = nullptr);

// How the status bar names a format: "CP932", "UTF-8" or "UTF-8 (BOM)", and " LF" after
// a UTF-8 one whose lines end with LF alone.
QString formatLabel(const Format& format);

// Replaces the content of `doc` with `text` (lines joined by '\n') in one edit, keeping the
// document's default font; the undo history starts afresh.
void setDocumentText(QTextDocument& doc, const QString& text);

} // namespace sorvanti::plaintext
