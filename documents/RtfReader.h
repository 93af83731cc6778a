#pragma once

#include <string_view>

class QTextDocument;

namespace sorvanti {

// Reads Rich Text Format as word processors write it into a QTextDocument: the text with its
// character formatting (font face, size, bold, italic, underline, strike-out, colour).
//
// Text in \'hh escapes and in raw bytes is decoded in the code page of its font's character
// set, or of \ansicpgN (code page 932 through the project's module, others through iconv);
// \uN with \ucN skipping; \par, \line, \tab and the special characters. Table cells become
// text separated by tabs, rows become paragraphs. Pictures, objects (except their result),
// field instructions (the field's result is kept), headers, footers, footnotes, hidden text,
// {\*\...} and other destinations that hold no body text are skipped without losing the text
// around them. Unbalanced groups are tolerated the way word processors tolerate them.
class RtfReader {
public:
    // True when `bytes` starts, after blanks and an optional UTF-8 byte-order mark, with "{\rtf".
    static bool isRtf(std::string_view bytes);

    // Replaces the content of `doc` with the document in `bytes`, in one edit with the undo
    // history started afresh. Returns false, leaving `doc` untouched, when `bytes` is not RTF.
    static bool read(QTextDocument& doc, std::string_view bytes);
};

} // namespace sorvanti
