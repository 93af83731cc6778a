#pragma once

#include "toolkit/Cp932Lead.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Code page 932 (Shift-JIS with Microsoft's extensions) <-> Unicode, exactly as glibc's
// "CP932" converter maps it, made lossless for everything the program meets:
//  - a byte that does not start a valid code page 932 character decodes to the private-use
//    code point kRawByteBase + byte, which encodes back to that byte;
//  - a character with no code page 932 form is reported (firstUnencodable) or carried
//    around the encoder by the callers that split text into runs.
// Text in Unicode is UTF-16 (std::u16string), the form QString holds.
//
// Round trips: encode(decode(bytes)) == bytes for every byte string, except where `bytes`
// holds one of the duplicate codes of the code page, which encode to Microsoft's preferred
// form: 0x8790-0x8792, 0x8795-0x8797, 0x879A-0x879C (to 0x81xx), 0xED40-0xEEFC (to
// 0xFA40-0xFC4B), 0xFA4A-0xFA54 and 0xFA58-0xFA5B (to 0x81xx / 0x87xx).
// Characters that glibc encodes only one way (U+00A5 to 0x5C, U+301C to 0x8160, ...) are
// taken as having no code page 932 form, so that they are never silently replaced.
//
// The tables are built on first use (thread-safe); the calls are plain table lookups.
namespace sorvanti::cp932 {

constexpr char16_t kRawByteBase = 0xF700; // U+F700..U+F7FF stand for raw bytes 0x00..0xFF

constexpr bool isRawByteEscape(char16_t c) {
    return c >= kRawByteBase && c <= kRawByteBase + 0xFF;
}

// Where the characters of code page 932 text begin and end: the one rule that the decoder,
// the engine, the duplicate-code matching and the dictionary check follow. Text is read
// from its start: a lead byte (isLeadByte) and the byte after it are one character when the
// two are a code of the code page (defined or user-defined); otherwise the lead byte is a
// character of one byte (a stray byte, which decodes to its raw-byte escape) and the byte
// after it begins the next character. A lead byte at the end of the text is a stray byte
// too. Every other byte is a character of one byte.
// Example: EB F0 FA 54 is the stray byte EB, the user-defined character F0 FA, then "T".
class Boundaries {
public:
    // Whether `lead` and `trail` are one character.
    bool pair(unsigned char lead, unsigned char trail) const {
        const unsigned code = unsigned{lead} << 8 | trail;
        return bits_[code >> 6] >> (code & 63) & 1;
    }
    // 2 when the character at bytes[pos] (pos < bytes.size()) is a pair, else 1.
    size_t length(std::string_view bytes, size_t pos) const {
        return pos + 1 < bytes.size() && pair(static_cast<unsigned char>(bytes[pos]),
                                              static_cast<unsigned char>(bytes[pos + 1]))
                   ? 2
                   : 1;
    }

private:
    friend struct BoundariesBuilder;
    uint64_t bits_[0x10000 / 64] = {};
};

// The rule above, built on first use (thread-safe) from the code page's table.
const Boundaries& boundaries();

std::u16string decode(std::string_view bytes);
void decodeAppend(std::string_view bytes, std::u16string& out);

// Position of the first byte of `bytes` that decode() turns into a raw-byte escape (a stray
// lead byte, or a byte that is no character), or npos.
size_t firstStrayByte(std::string_view bytes);

// Encodes `text`. A raw-byte escape of a lead byte is never written where the reader would
// take it and the next character's first byte as one character: the next character then gets
// a twin code that starts otherwise (the one it was read from), and when it has none the
// escape counts as a character without a form there. So decode(encode(decode(b))) ==
// decode(b) for every byte string b. Characters without a code page 932 form are left out; when
// `firstUnencodable` is given it receives the position of the first of them
// (std::u16string_view::npos when every character was encoded).
std::string encode(std::u16string_view text, size_t* firstUnencodable = nullptr);
void encodeAppend(std::u16string_view text, std::string& out, size_t* firstUnencodable = nullptr);

// True when the UTF-16 code unit sequence starting at text[pos] (one unit, or a surrogate
// pair) has a code page 932 form; `units` receives 1 or 2.
bool encodable(std::u16string_view text, size_t pos, size_t* units = nullptr);

// Position of the first character without a code page 932 form (as encode() counts them:
// a raw lead byte that would fuse with the next character included), or npos. With
// `escapesAreBytes` false the raw-byte escapes count as characters without a form.
size_t findUnencodable(std::u16string_view text, bool escapesAreBytes = true);

// UTF-8 <-> UTF-16 helpers for the command line and the file-system edge.
// Invalid UTF-8 sequences (also overlong forms, encoded surrogates, values past U+10FFFF)
// decode to one U+FFFD each maximal invalid subsequence; `valid` (when given) tells whether
// none did. A lone surrogate in UTF-16 encodes to U+FFFD.
std::u16string fromUtf8(std::string_view utf8, bool* valid = nullptr);
std::string toUtf8(std::u16string_view text);
// Appending forms, for callers that reuse their buffers. fromUtf8Append returns validity.
bool fromUtf8Append(std::string_view utf8, std::u16string& out);
void toUtf8Append(std::u16string_view text, std::string& out);

} // namespace sorvanti::cp932
