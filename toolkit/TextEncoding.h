#pragma once

#include <cstddef>
#include <string_view>

// Which of the two encodings a plain text file is in. Code page 932 is the program's own
// and that of new files; a file is taken as UTF-8 when it starts with the UTF-8
// byte-order mark, or when all of it is valid UTF-8 and it holds at least one non-ASCII
// character. Pure ASCII reads the same either way and stays code page 932.
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
    unsigned char head_[3];                               // the first three bytes, for the mark
    int pending_ = 0;                                     // continuation bytes still due
    unsigned char lowerBound_ = 0x80, upperBound_ = 0xBF; // range of the next one
    bool valid_ = true;
    bool nonAscii_ = false;
};

Detected detect(std::string_view bytes);

} // namespace sorvanti::textencoding
