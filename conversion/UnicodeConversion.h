#pragma once

#include "conversion/Engine.h"

#include <string>
#include <string_view>
#include <vector>

namespace sorvanti {

class WordMode;

// How the code points U+F700..U+F7FF of a text are taken.
enum class RawByteEscapes {
    // As the raw bytes they stand for: the text was decoded from code page 932 bytes
    // (a pane, a document), so they go back to the engine as those bytes.
    AsBytes,
    // As ordinary characters without a code page 932 form: the text came from elsewhere
    // (UTF-8 input), so they are copied unchanged like any other such character.
    AsCharacters,
};

// One replacement in a line of Unicode text, in UTF-16 code units: the line's [from, from +
// length) became [outFrom, outFrom + outLength) of what the call appended, by table entry
// `entry`.
struct TextMatch {
    size_t from = 0;
    size_t length = 0;
    size_t outFrom = 0;
    size_t outLength = 0;
    int32_t entry = 0;
    bool operator==(const TextMatch&) const = default;
};

// Converts one line of Unicode text (no line break) with the engine: runs of characters
// that have a code page 932 form are encoded, converted and decoded back; characters
// without one (an emoji, say) are copied unchanged and end the run before them, so no
// dictionary word matches across them. Appends to `out`.
// Example: with the entry (犬 -> 猫), "犬😀犬" converts to "猫😀猫".
// When `matches` is given, each replacement is appended to it, in line order.
// With `words`, word mode (Engine::convertLine): the line is analysed once, whole (characters
// without a code page 932 form included), and each run matches on its part of the boundaries.
void convertUnicodeLine(Engine& engine, std::u16string_view line, int side, std::u16string& out,
                        RawByteEscapes escapes = RawByteEscapes::AsBytes,
                        std::vector<TextMatch>* matches = nullptr, WordMode* words = nullptr);
std::u16string convertUnicodeLine(Engine& engine, std::u16string_view line, int side);

} // namespace sorvanti
