#pragma once

#include "conversion/UnicodeConversion.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sorvanti {

class DictionaryTable;
class Engine;
class Pane;
class WordMode;
class ReplacementMarks;

// "変換" and "逆変換": one pane's text converted into the other pane.
namespace conversioncommand {

// What a conversion of lines replaced: the replacements of every line in line order, line i's
// being all[first[i]] up to all[first[i + 1]] (first has one more element than there are
// lines).
struct LineMatches {
    std::vector<TextMatch> all;
    std::vector<size_t> first;
};

// The word of side `side` (0 standard, 1 converted) of entry `entry` of `table`.
QString entryWord(const DictionaryTable& table, int32_t entry, int side);

// Every line of `lines` converted from side `side`, each followed by "\n"; empty when there
// are no lines. Lines of any number and length are converted whole. When `matches` is given,
// it receives what each line replaced. With `words`, in word mode (convertUnicodeLine).
QString convertedText(Engine& engine, const QStringList& lines, int side,
                      LineMatches* matches = nullptr, WordMode* words = nullptr);

// Replaces the text of `target` with the lines of `source` converted from the side of the
// source pane's index, as one replacement that undo on `target` takes back. When `marks` (the
// target's) is on, the replaced words are marked. With `words`, in word mode. A target
// without a document name takes the source's plain-text format (its encoding, mark and line
// ends).
void convert(Engine& engine, const Pane& source, Pane& target, ReplacementMarks* marks,
             WordMode* words);

} // namespace conversioncommand
} // namespace sorvanti
