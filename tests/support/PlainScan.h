#pragma once

// The plain table scan: at each position every entry is tried in table order. Slow but
// plainly right, it is the reference the indexed engine is checked and measured against.
//
// Two codes of code page 932 that stand for one character match each other: the line
// and every word are read as code page 932 characters from their start, and each
// two-byte character is put in the code that the encoder gives its Unicode character
// before the bytes are compared. Steps still follow the line's own bytes and the
// engine's lead-byte test.

#include "conversion/DictionaryTable.h"
#include "conversion/Engine.h"
#include "toolkit/Cp932.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanti::test {

// The bytes of `text` with every two-byte character in the code the encoder gives it.
inline std::string plainCanonical(std::string_view text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        if (!lead || i + 1 == text.size()) {
            out += text[i];
            ++i;
            continue;
        }
        const std::string_view code = text.substr(i, 2);
        const std::u16string character = cp932::decode(code);
        size_t bad = std::u16string::npos;
        const std::string again = character.size() == 1 && !cp932::isRawByteEscape(character[0])
                                      ? cp932::encode(character, &bad)
                                      : std::string();
        out += bad == std::u16string::npos && again.size() == 2 ? again : std::string(code);
        i += 2;
    }
    return out;
}

// The side-`side` words of the table, each in canonical codes.
inline std::vector<std::string> plainCanonicalWords(const DictionaryTable& table, int side) {
    std::vector<std::string> words;
    for (int32_t e = 0; e < table.count(); ++e)
        words.push_back(plainCanonical(table.word(e, side)));
    return words;
}

// `words`: plainCanonicalWords(table, side), made once for many lines.
inline void plainConvertLine(const DictionaryTable& table, const std::vector<std::string>& words,
                             std::string_view line, int side, std::string& out) {
    const int target = 1 - side;
    const std::string canonicalLine = plainCanonical(line);
    size_t i = 0;
    while (i < line.size()) {
        const std::string_view rest = std::string_view(canonicalLine).substr(i);
        int32_t found = -1;
        for (int32_t e = 0; e < table.count(); ++e) {
            const std::string& word = words[static_cast<size_t>(e)];
            if (!word.empty() && word.size() <= rest.size() &&
                std::memcmp(word.data(), rest.data(), word.size()) == 0) {
                found = e;
                break;
            }
        }
        if (found >= 0) {
            out.append(table.word(found, target));
            i += table.word(found, side).size();
        } else if (isLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size()) {
            out.append(line.substr(i, 2));
            i += 2;
        } else {
            out += line[i];
            ++i;
        }
    }
}

inline void plainConvertLine(const DictionaryTable& table, std::string_view line, int side,
                             std::string& out) {
    plainConvertLine(table, plainCanonicalWords(table, side), line, side, out);
}

inline std::string plainConvertLine(const DictionaryTable& table, std::string_view line, int side) {
    std::string out;
    plainConvertLine(table, line, side, out);
    return out;
}

} // namespace sorvanti::test
