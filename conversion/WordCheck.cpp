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

namespace {

// Words typed one keystroke after another are kept too; past this many, the cache starts anew.
constexpr size_t kMaxKeptWords = 20000;

} // namespace

const uint8_t* WordMarksCache::marks(std::string_view word, words::WordBoundaries& boundaries) {
    std::string key(word);
    if (const auto kept = marks_.find(key); kept != marks_.end())
        return kept->second.data();
    words::BoundarySet set;
    if (!boundaries.ofCp932(word, set))
        return nullptr;
    if (marks_.size() >= kMaxKeptWords)
        marks_.clear();
    std::vector<uint8_t>& kept = marks_[std::move(key)];
    kept.assign(set.marks(), set.marks() + set.lineSize() + 1);
    return kept.data();
}

std::vector<int32_t> hidingEntries(const DictionaryTable& table, int side,
                                   words::WordBoundaries* boundaries, WordMarksCache* cache) {
    words::BoundarySet set;
    std::vector<uint8_t> endOnly;
    return shadowingEntries(table, side, [&](int32_t index) -> const uint8_t* {
        const std::string_view word = table.word(index, side);
        if (boundaries && cache) {
            if (const uint8_t* marks = cache->marks(word, *boundaries))
                return marks;
        } else if (boundaries && boundaries->ofCp932(word, set)) {
            return set.marks();
        }
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
