#pragma once

#include <string>
#include <string_view>

// The case of ASCII letters, the only case the program folds: names in the settings file,
// dictionary names in the selector, option values on the command line. Bytes from 0x80 up
// (the bytes of code page 932 and UTF-8 characters) are never changed.
namespace sorvanti::ascii {

constexpr unsigned char toLower(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

constexpr char toLower(char c) {
    return static_cast<char>(toLower(static_cast<unsigned char>(c)));
}

// "UTF-8" -> "utf-8".
inline std::string toLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = toLower(c);
    return lower;
}

} // namespace sorvanti::ascii
