#include "conversion/Shadowing.h"

#include "conversion/DuplicateCodes.h"

#include <string>

namespace sorvanti {

int32_t shadowingEntry(const DictionaryTable& table, int side, int32_t index) {
    const std::string word = duplicatecodes::canonical(table.word(index, side));
    if (word.empty())
        return -1;
    for (int32_t e = 0; e < index; ++e) {
        const std::string_view earlier = table.word(e, side);
        if (earlier.empty() || earlier.size() > word.size())
            continue;
        if (duplicatecodes::canonical(earlier) == std::string_view(word).substr(0, earlier.size()))
            return e;
    }
    return -1;
}

} // namespace sorvanti
