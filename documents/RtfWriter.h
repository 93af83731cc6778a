#pragma once

#include <string>

class QTextDocument;

namespace sorvanti {

// Writes a QTextDocument as Rich Text Format that word processors read back: the text with
// the character formatting of each run (font face, size, bold, italic, underline, strike-out,
// colour), a font table and a colour table. Each run names its face both for Latin text (\f)
// and for Japanese text (\dbch\af, with \langfe1041), the way word processors look for them.
//
// The document is declared \ansi\ansicpg932. Text that code page 932 holds is written as
// literal ASCII and \'hh escapes under fonts of character set 128, so readers decode it as
// Japanese whatever face it is in; every other character (and the raw-byte characters that
// stand for undecodable bytes of a plain-text file) as \uN with a "?" fallback. Each text
// block ends with \par, a line break inside a block is \line. Embedded objects are left out.
class RtfWriter {
public:
    static std::string write(const QTextDocument& doc);
};

} // namespace sorvanti
