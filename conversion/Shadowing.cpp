#include "conversion/Shadowing.h"

#include "conversion/DuplicateCodes.h"
#include "toolkit/Cp932.h"

#include <string_view>
#include <unordered_map>

namespace sorvanti {

namespace {

// The first character of a non-empty word as isCharacterPrefix compares it: a byte of its
// own (0-0xFF), or a canonical two-byte code (0x8140 and up).
uint32_t firstCharacter(std::string_view word) {
    const auto* p = reinterpret_cast<const unsigned char*>(word.data());
    if (cp932::boundaries().length(word, 0) == 1)
        return p[0];
    return duplicatecodes::canonicalCode(static_cast<uint16_t>(p[0] << 8 | p[1]));
}

} // namespace

int32_t shadowingEntry(const DictionaryTable& table, int side, int32_t index,
                       const uint8_t* endMarks) {
    const std::string_view word = table.word(index, side);
    if (word.empty())
        return -1;
    for (int32_t e = 0; e < index; ++e) {
        const std::string_view earlier = table.word(e, side);
        if (!earlier.empty() && duplicatecodes::isCharacterPrefix(earlier, word) &&
            (!endMarks || endMarks[earlier.size()]))
            return e;
    }
    return -1;
}

std::vector<int32_t> shadowingEntries(const DictionaryTable& table, int side,
                                      const EndMarks& endMarks) {
    std::vector<int32_t> found(size_t(table.count()), -1);
    std::unordered_map<uint32_t, std::vector<int32_t>> byFirst;
    for (int32_t i = 0; i < table.count(); ++i) {
        const std::string_view word = table.word(i, side);
        if (word.empty())
            continue;
        std::vector<int32_t>& earlier = byFirst[firstCharacter(word)];
        const uint8_t* marks = nullptr;
        for (const int32_t e : earlier) {
            const std::string_view prefix = table.word(e, side);
            if (!duplicatecodes::isCharacterPrefix(prefix, word))
                continue;
            if (endMarks && !marks)
                marks = endMarks(i);
            if (!marks || marks[prefix.size()]) {
                found[i] = e;
                break;
            }
        }
        earlier.push_back(i);
    }
    return found;
}

} // namespace sorvanti
