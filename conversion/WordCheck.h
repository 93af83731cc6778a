#pragma once

// The dictionary check's rules for word mode, where a word matches only between two word
// boundaries of the text (Engine::convertLine with a BoundarySource).

#include "conversion/DictionaryTable.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sorvanti {

namespace words {
class WordBoundaries;
} // namespace words

namespace wordcheck {

// The marks of words' own analyses, kept from one check to the next: the editor checks the
// same words after every edit, and only a word that changed needs the analyser again.
class WordMarksCache {
public:
    // The marks of the code page 932 `word` (offsets 0..size), from `boundaries` when it is
    // not kept yet; null when the analyser failed on it (then not kept). Valid until the next
    // call.
    const uint8_t* marks(std::string_view word, words::WordBoundaries& boundaries);

private:
    std::unordered_map<std::string, std::vector<uint8_t>> marks_;
};

// The entry that keeps entry `index` from ever being the match in word mode, in the
// direction that reads `side`: the first earlier entry whose word is the same (duplicate
// codes made one), or begins it and ends where `boundaries`' analysis of `index`'s word on
// its own has a word boundary. "ね" does not hide "ねこ" (one word); "ねこ" hides "ねこが"
// (ねこ|が). Without `boundaries` only the same word hides. -1 when none.
int32_t hidingEntry(const DictionaryTable& table, int side, int32_t index,
                    words::WordBoundaries* boundaries);

// hidingEntry() of every entry, in table order, at once (shadowingEntries): only the words
// that an earlier word begins are analysed, and with `cache` each only once.
std::vector<int32_t> hidingEntries(const DictionaryTable& table, int side,
                                   words::WordBoundaries* boundaries,
                                   WordMarksCache* cache = nullptr);

// Whether the code page 932 `word` can never begin on a word boundary as it stands: its first
// character is one that written Japanese always joins to the character before it, a small
// kana (ぁぃぅぇぉゃゅょゎゕゖ, ァィゥェォャュョヮヵヶ, ｧｨｩｪｫｬｭｮ) or a half-width
// voiced sound mark (ﾞﾟ). The small っ/ッ is none of them: it begins words ("って").
// No character keeps a word from ending on a boundary (っ ends words, as in まっ|て).
bool startsInsideWord(std::string_view word);

} // namespace wordcheck
} // namespace sorvanti
