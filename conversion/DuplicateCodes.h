#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Code page 932 gives 398 characters a second (and a few a third) code: NEC row 13
// against row 2, the NEC-selected IBM extensions (0xED40-0xEEFC) against the IBM
// extensions (0xFA40-0xFC4B), and some IBM codes (0xFA4A-0xFA5B) against NEC or row 2.
// A text that went through a Unicode encoder holds the code the encoder picks; a file
// written elsewhere may hold the other one. Matching compares the canonical form, in
// which every such code is replaced by the one the encoder picks.
//
// Text is read as code page 932 characters from its start, as cp932::Boundaries tells
// where they begin. Every duplicate code is two bytes and so is its twin, so the canonical
// form has the same length and the same character boundaries as the original.
namespace sorvanti::duplicatecodes {

// The lead bytes under which code page 932 has duplicate codes; every other code is its own
// canonical code.
inline constexpr unsigned char kDuplicateLeads[] = {0x87, 0xED, 0xEE, 0xFA, 0xFB, 0xFC};

// The canonical code of the two-byte code lead << 8 | trail: itself when it is none
// of the duplicates. Example: canonicalCode(0xEEAC) == canonicalCode(0xFBxx of 鉙).
uint16_t canonicalCode(uint16_t code);

// Writes the canonical form of `bytes` to `out` (room for bytes.size()); returns
// whether any byte differs from `bytes`. The form keeps the characters' places, but a byte
// string may read otherwise: where a stray lead byte comes before a code whose canonical
// twin begins with a byte that the lead byte makes a character with (82 FA 4A, whose
// canonical form 82 87 54 reads as ｇ and "T"). `fuses`, when given, is set true then.
bool canonicalize(std::string_view bytes, char* out, bool* fuses = nullptr);

std::string canonical(std::string_view bytes);

// True when the last character of `bytes` is a lead byte on its own (a stray byte).
bool endsWithLoneLead(std::string_view bytes);

// Whether the characters of `prefix` are the first characters of `text`, both read from
// their start, duplicate codes alike: what it takes for a word to match. The end of
// `prefix` must be where a character of `text` ends.
// Example: the word 82 begins 82 20 (no code: 82 is alone) but not 82 A0 (あ).
bool isCharacterPrefix(std::string_view prefix, std::string_view text);

} // namespace sorvanti::duplicatecodes
