#include "conversion/WordCheck.h"

#include "conversion/Shadowing.h"
#include "toolkit/Cp932.h"
#include "words/WordBoundaries.h"

#include <vector>

namespace sorvanti::wordcheck {

int32_t hidingEntry(const DictionaryTable& table, int side, int32_t index,
                    words::WordBoundaries* boundaries) {
    const std::string_view word = table.word(index, side);
    words::BoundarySet set;
    if (boundaries && boundaries->ofCp932(word, set))
        return shadowingEntry(table, side, index, set.marks());
    std::vector<uint8_t> endOnly(word.size() + 1, 0);
    endOnly.back() = 1;
    return shadowingEntry(table, side, index, endOnly.data());
}

std::vector<int32_t> hidingEntries(const DictionaryTable& table, int side,
                                   words::WordBoundaries* boundaries) {
    words::BoundarySet set;
    std::vector<uint8_t> endOnly;
    return shadowingEntries(table, side, [&](int32_t index) -> const uint8_t* {
        const std::string_view word = table.word(index, side);
        if (boundaries && boundaries->ofCp932(word, set))
            return set.marks();
        endOnly.assign(word.size() + 1, 0);
        endOnly.back() = 1;
        return endOnly.data();
    });
}

bool startsInsideWord(std::string_view word) {
    static constexpr std::u16string_view kJoiners =
        u"ぁぃぅぇぉゃゅょゎゕゖァィゥェォャュョヮヵヶｧｨｩｪｫｬｭｮﾞﾟ";
    if (word.empty())
        return false;
    const std::u16string first = cp932::decode(word.substr(0, cp932::boundaries().length(word, 0)));
    return first.size() == 1 && kJoiners.find(first[0]) != std::u16string_view::npos;
}

} // namespace sorvanti::wordcheck
