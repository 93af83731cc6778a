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
// Text is read as code page 932 characters from its start: a byte 0x81-0x9F or
// 0xE0-0xFC and the byte after it (whatever its value) form one character. Every
// duplicate code is two bytes and so is its twin, so the canonical form has the same
// length and the same character boundaries as the original.
namespace sorvanti::duplicatecodes {

// The canonical code of the two-byte code lead << 8 | trail: itself when it is none
// of the duplicates. Example: canonicalCode(0xEEAC) == canonicalCode(0xFBxx of 鉙).
uint16_t canonicalCode(uint16_t code);

// Writes the canonical form of `bytes` to `out` (room for bytes.size()); returns
// whether any byte differs from `bytes`.
bool canonicalize(std::string_view bytes, char* out);

std::string canonical(std::string_view bytes);

// True when the last character of `bytes` is a lead byte without its second byte.
bool endsInsideCharacter(std::string_view bytes);

} // namespace sorvanti::duplicatecodes
