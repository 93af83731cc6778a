#pragma once

#include <QString>

class QTextDocument;

namespace sorvanti {

class Engine;

// The conversion of one pane's text into the text of the other pane.
namespace conversioncommand {

// Every line of `source` converted from side `side`, each followed by "\n"; empty when
// the source has no lines. Lines of any number and length are converted whole.
QString convertedText(Engine& engine, const QTextDocument& source, int side);

} // namespace conversioncommand
} // namespace sorvanti
