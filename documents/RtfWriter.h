#pragma once

#include "documents/RtfFormat.h"

#include <QColor>
#include <QString>

#include <string>
#include <vector>

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
//
// Writing goes in two steps: capture() takes what the RTF needs of the document (its text, the
// run formats and the font and colour tables) where the document lives, in a few milliseconds
// for a long plain text; write() turns that into RTF without the document or anything of Qt's
// GUI, so it may run on another thread.
class RtfWriter {
public:
    struct Font {
        QString family;
        bool japanese = false; // a Japanese face: its entry declares code page 932
    };
    // A format that holds from `position` of the text on, up to the next run.
    struct Run {
        qsizetype position = 0;
        rtf::RunFormat format;
    };
    struct Capture {
        QString text; // the document's raw text: blocks end with U+2029 but the last
        std::vector<Run> runs;
        std::vector<Font> fonts; // entry 0 is the document's default font
        std::vector<QColor> colors;
    };

    static Capture capture(const QTextDocument& doc);
    // The text alone, all of it in the document's default font.
    static Capture captureText(const QTextDocument& doc);
    static std::string write(const Capture& capture);
    static std::string write(const QTextDocument& doc) { return write(capture(doc)); }
};

} // namespace sorvanti
