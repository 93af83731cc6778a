#pragma once

#include <QStringList>

class QTextDocument;

namespace sorvanti {

// The lines of a pane as conversion and printing read them: one per paragraph (a line
// separator inside a paragraph also ends a line), the characters exactly as stored, so a
// no-break space stays one. A line break at the very end opens no further line; an empty
// pane has no lines.
QStringList paneLines(const QTextDocument& document);

} // namespace sorvanti
