#pragma once

#include <QString>
#include <QStringList>

namespace sorvanti {

class Engine;
class Pane;
class WordMode;

// "変換" and "逆変換": one pane's text converted into the other pane.
namespace conversioncommand {

// Every line of `lines` converted from side `side`, each followed by "\n"; empty when there
// are no lines. Lines of any number and length are converted whole. With `words`, in word
// mode (convertUnicodeLine).
QString convertedText(Engine& engine, const QStringList& lines, int side,
                      WordMode* words = nullptr);

// Replaces the text of `target` with the lines of `source` converted from the side of the
// source pane's index, as one replacement that undo on `target` takes back. With `words`, in
// word mode. A target without a document name takes the source's plain-text format (its
// encoding, mark and line ends).
void convert(Engine& engine, const Pane& source, Pane& target, WordMode* words = nullptr);

} // namespace conversioncommand
} // namespace sorvanti
