#pragma once

#include <QString>
#include <QStringList>

class QTextDocument;

namespace sorvanti {

class Engine;

// The conversion of one pane's text into the text of the other pane.
namespace conversioncommand {

// The lines of a pane as the conversion reads them: one per paragraph (a line separator
// inside a paragraph also ends a line), the characters exactly as stored, so a no-break
// space stays one. A line break at the very end opens no further line; an empty pane
// has no lines.
QStringList paneLines(const QTextDocument& document);

// Every line of `source` converted from side `side`, each followed by "\n"; empty when
// the source has no lines. Lines of any number and length are converted whole.
QString convertedText(Engine& engine, const QTextDocument& source, int side);

} // namespace conversioncommand
} // namespace sorvanti
