#pragma once

// The reference the engine is checked and measured against: it works on characters, not
// bytes. Every line and every word is decoded into characters (cp932::decode: both codes of
// a duplicate decode to one character, a stray byte to its raw-byte escape); at each
// character the first entry in table order whose word, as characters, begins the rest is
// replaced, otherwise the character's own bytes are copied. Entries are grouped by their
// first character, so that a large text takes seconds rather than hours; `grouped` false
// tries every entry at every character (the plain table scan the benchmark measures).
// With `marks` (a mark for each byte offset 0..size of the line), word mode: a word matches
// only where the line is marked at its first byte and right after its last.

#include "conversion/DictionaryTable.h"
#include "toolkit/Cp932.h"

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sorvanti::test {

class CharacterReference {
public:
    CharacterReference(const DictionaryTable& table, int side, bool grouped = true)
        : table_(table), side_(side), grouped_(grouped) {
        for (int32_t e = 0; e < table.count(); ++e) {
            words_.push_back(cp932::decode(table.word(e, side)));
            bytes_.push_back(0);
            for (const char16_t c : words_.back())
                bytes_.back() += byteLength(c);
            if (!words_.back().empty())
                byFirst_[grouped ? words_.back()[0] : u'\0'].push_back(e);
        }
    }

    void convertLine(std::string_view line, std::string& out,
                     const uint8_t* marks = nullptr) const {
        const std::u16string text = cp932::decode(line);
        size_t at = 0; // byte offset of text[k] in `line`
        for (size_t k = 0; k < text.size();) {
            const int32_t e = find(text, k, marks ? marks + at : nullptr);
            if (e < 0) {
                out.append(line.substr(at, byteLength(text[k])));
                at += byteLength(text[k++]);
                continue;
            }
            out.append(table_.word(e, 1 - side_));
            at += bytes_[size_t(e)];
            k += words_[size_t(e)].size();
        }
    }

    std::string convertLine(std::string_view line) const {
        std::string out;
        convertLine(line, out);
        return out;
    }

private:
    // `marks`: word mode's marks from the byte of text[k] on.
    int32_t find(std::u16string_view text, size_t k, const uint8_t* marks) const {
        const auto it = byFirst_.find(grouped_ ? text[k] : u'\0');
        if (it == byFirst_.end() || (marks && !marks[0]))
            return -1;
        for (const int32_t e : it->second) {
            if (text.substr(k).starts_with(words_[size_t(e)]) &&
                (!marks || marks[bytes_[size_t(e)]]))
                return e;
        }
        return -1;
    }

    // The bytes of the code that a decoded character came from.
    static size_t byteLength(char16_t c) {
        static const std::array<uint8_t, 0x10000> lengths = [] {
            std::array<uint8_t, 0x10000> l{};
            for (size_t u = 0; u < l.size(); ++u) {
                const char16_t unit = static_cast<char16_t>(u);
                l[u] = static_cast<uint8_t>(cp932::encode(std::u16string_view(&unit, 1)).size());
            }
            return l;
        }();
        return lengths[c];
    }

    const DictionaryTable& table_;
    int side_;
    bool grouped_;
    std::vector<std::u16string> words_;
    std::vector<size_t> bytes_; // each word's length in the bytes it matches
    std::unordered_map<char16_t, std::vector<int32_t>> byFirst_;
};

inline void plainConvertLine(const DictionaryTable& table, std::string_view line, int side,
                             std::string& out) {
    CharacterReference(table, side).convertLine(line, out);
}

inline std::string plainConvertLine(const DictionaryTable& table, std::string_view line, int side) {
    std::string out;
    plainConvertLine(table, line, side, out);
    return out;
}

} // namespace sorvanti::test
