#pragma once

#include "documents/RtfParser.h"

#include <string_view>

namespace sorvanti::rtf {

// The control words the reader knows, as tables from word to action, in the groups that
// decide where a word counts:
//  - destinations (\fonttbl, \colortbl, \fldrslt, ..., and those that hold no body text),
//    wherever they stand;
//  - font table words (\f, \fcharset, \cpg) and colour table words (\red, \green, \blue)
//    inside their table, where every other word is ignored;
//  - document and character properties, in every other destination, so that a group's
//    state is right when a result group inside it switches to text;
//  - body words (\par, \line, \tab, table cells and rows, special characters) in text.
struct ControlWords {
    static void apply(Parser& parser, std::string_view word, WordParam param);

private:
    template <size_t Flag> static void setFlag(Parser& parser, WordParam param);
    static bool applyDestination(Parser& parser, std::string_view word);
    static void applyTableWord(Parser& parser, std::string_view word, WordParam param);
    static void applyProperty(Parser& parser, std::string_view word, WordParam param);
    static void applyBodyWord(Parser& parser, std::string_view word);
};

} // namespace sorvanti::rtf
