#pragma once

#include "conversion/DictionaryTable.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace sorvanti {

// The entry that keeps entry `index` from ever being the match in the direction that
// reads `side`: the first entry before it whose side word, duplicate codes made one, is
// a prefix of its side word. Wherever `index`'s word matches, that entry's matches too,
// and it comes first in table order. -1 when there is none, or when `index`'s side word
// is empty (such an entry is never looked for in that direction anyway).
// Example: with (a -> X), (ab -> Y) the second entry is shadowed by 0 at side 0.
//
// The prefix is taken in characters: an earlier word that ends on a lone lead byte hides
// a word that goes on with a byte that the lead byte makes no character with, but not one
// that goes on with its second byte (the engine never ends a match inside a character).
//
// With `endMarks` (a mark for each offset 0..size of `index`'s side word), only an earlier
// word that ends on a mark hides it: word mode's rule, with the marks of the word's own
// analysis (WordCheck.h).
int32_t shadowingEntry(const DictionaryTable& table, int side, int32_t index,
                       const uint8_t* endMarks = nullptr);

// shadowingEntry() of every entry, in table order, at once: each word is compared only with
// the earlier words that begin with the same character (duplicate codes made one), so a
// whole dictionary is checked in far fewer comparisons than entry by entry.
//
// With `endMarks`, word mode's rule as shadowingEntry() takes it: endMarks(i) gives the marks of
// entry i's side word (never null), and is asked only once an earlier word is found to begin it
// (the analysis is the costly part); the marks need last only until the next call.
using EndMarks = std::function<const uint8_t*(int32_t index)>;
std::vector<int32_t> shadowingEntries(const DictionaryTable& table, int side,
                                      const EndMarks& endMarks = {});

} // namespace sorvanti
