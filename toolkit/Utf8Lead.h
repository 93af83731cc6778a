#pragma once

#include <cstddef>
#include <string_view>

namespace sorvanti {

// What a byte that starts a UTF-8 sequence promises: how many continuation bytes follow, and
// the range the first of them must lie in (the later ones are 0x80..0xBF). The range rules
// out overlong forms, encoded surrogates and values past U+10FFFF. `more` is -1 for a byte
// that cannot start a well-formed sequence. This is the program's one statement of what
// well-formed UTF-8 is; everything that reads UTF-8 goes by it.
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

// The length of the well-formed character that `bytes` starts with: 1 for an ASCII byte, 2 to
// 4 for a longer sequence, 0 when it starts none (or is cut short).
// Example: "\xE7\x8A\xAC..." -> 3; "\xE7\x8A" -> 0; "\xFF" -> 0.
constexpr size_t utf8SequenceLength(std::string_view bytes) {
    if (bytes.empty())
        return 0;
    const auto b = static_cast<unsigned char>(bytes[0]);
    if (b < 0x80)
        return 1;
    const Utf8Lead lead = utf8Lead(b);
    if (lead.more < 0 || bytes.size() <= size_t(lead.more))
        return 0;
    unsigned char low = lead.low, high = lead.high;
    for (int k = 1; k <= lead.more; ++k) {
        const auto c = static_cast<unsigned char>(bytes[size_t(k)]);
        if (c < low || c > high)
            return 0;
        low = 0x80;
        high = 0xBF;
    }
    return size_t(lead.more) + 1;
}

} // namespace sorvanti
