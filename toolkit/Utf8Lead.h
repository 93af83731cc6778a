#pragma once

namespace sorvanti {

// What a byte that starts a UTF-8 sequence promises: how many continuation bytes follow, and
// the range the first of them must lie in (the later ones are 0x80..0xBF). The range rules
// out overlong forms, encoded surrogates and values past U+10FFFF. `more` is -1 for a byte
// that cannot start a well-formed sequence.
struct Utf8Lead {
    int more;
    unsigned char low;
    unsigned char high;
};

constexpr Utf8Lead utf8Lead(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF)
        return {1, 0x80, 0xBF};
    if (b >= 0xE0 && b <= 0xEF)
        return {2, static_cast<unsigned char>(b == 0xE0 ? 0xA0 : 0x80),
                static_cast<unsigned char>(b == 0xED ? 0x9F : 0xBF)};
    if (b >= 0xF0 && b <= 0xF4)
        return {3, static_cast<unsigned char>(b == 0xF0 ? 0x90 : 0x80),
                static_cast<unsigned char>(b == 0xF4 ? 0x8F : 0xBF)};
    return {-1, 0, 0};
}

} // namespace sorvanti
