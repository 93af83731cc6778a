#pragma once

#include <cstddef>
#include <string_view>

// Which of the two encodings a plain text file is in. Code page 932 is the program's own
// and that of new files; a file is taken as UTF-8 when it starts with the UTF-8
// byte-order mark, or when all of it is valid UTF-8 and it holds at least one byte that
// neither ASCII nor code page 932's half-width katakana (0xA1-0xDF) has: 0x80-0xA0 or
// 0xE0-0xFF, so a character of three or four bytes or a two-byte one such as "à" or "ß".
// Two half-width katakana can look like one UTF-8 character ("ﾈｺ" is C8 BA, U+023A): a
// file of ASCII and half-width katakana always reads as code page 932, and so does UTF-8
// text whose only non-ASCII characters are two-byte ones made of such bytes ("café");
// a mark makes those UTF-8. Pure ASCII reads the same either way and stays code page 932.
namespace sorvanti::textencoding {

enum class Encoding { Cp932, Utf8 };

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct Detected {
    Encoding encoding = Encoding::Cp932;
    bool bom = false; // the file starts with kUtf8Bom (then encoding is Utf8)
};

// Reads a text piece by piece and tells at the end what detect() would say of the whole.
// Example: feed("\xE6\x97"); feed("\xA5\n"); result() -> UTF-8 without mark.
class Detector {
public:
    void feed(std::string_view bytes);
    Detected result() const;

private:
    size_t seen_ = 0;                                     // bytes fed so far
    unsigned char head_[3] = {};                          // the first three bytes, for the mark
    int pending_ = 0;                                     // continuation bytes still due
    unsigned char lowerBound_ = 0x80, upperBound_ = 0xBF; // range of the next one
    bool valid_ = true;
    bool beyondKana_ = false; // a byte outside ASCII and 0xA1-0xDF was seen
};

Detected detect(std::string_view bytes);

} // namespace sorvanti::textencoding
