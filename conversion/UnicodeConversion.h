#pragma once

#include "conversion/Engine.h"

#include <string>
#include <string_view>

namespace sorvanti {

// Converts one line of Unicode text (no line break) with the engine: runs of characters
// that have a code page 932 form are encoded, converted and decoded back; characters
// without one (an emoji, say) are copied unchanged and end the run before them, so no
// dictionary word matches across them.
void convertUnicodeLine(Engine& engine, std::u16string_view line, int side, std::u16string& out);
std::u16string convertUnicodeLine(Engine& engine, std::u16string_view line, int side);

// Converts a whole text split at '\n' (a "\r" before "\n" stays with the line end):
// exactly one output line per input line; a final line break opens no further line.
std::u16string convertUnicodeText(Engine& engine, std::u16string_view text, int side);

} // namespace sorvanti
