#include "conversion/Shadowing.h"

#include "conversion/DuplicateCodes.h"

#include <string_view>

namespace sorvanti {

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

} // namespace sorvanti
