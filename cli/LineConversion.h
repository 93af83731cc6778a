#pragma once

// sorvanti-convert's conversion: inputs read in blocks, split into lines, converted with
// engines of their own (two threads for large blocks), a line longer than a block in parts.

#include "cli/ConvertFiles.h"
#include "conversion/DictionaryTable.h"
#include "words/WordAnalyser.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace sorvanti::cli {

// Converts the inputs `paths` ("-" for `in`) one after the other into `output`, in the
// direction that reads `side`, as UTF-8 text when `utf8`, reading env.blockBytes at a time;
// shows progress. Throws Failure when an input cannot be read or a line is not UTF-8.
// Lines are split at LF; a CR right before the LF stays out of the line and is written
// back after it; a last line without LF gets none, and a line never spans two inputs.
// With `words`, word mode (Engine::convertLine) with boundaries from that analyser: each
// thread has its own WordMode, a long line is held and converted whole, and a line the
// analyser fails on is converted in plain mode and named in a warning (Progress::warn).
void convertInputs(const DictionaryTable& table, int side, bool utf8,
                   const words::WordAnalyser* words, const ConvertEnv& env,
                   const std::vector<std::string>& paths, std::istream& in, Output& output,
                   Progress& progress);

} // namespace sorvanti::cli
