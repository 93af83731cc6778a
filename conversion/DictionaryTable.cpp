#include "conversion/DictionaryTable.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace sorvanti {

namespace {

// Generations are drawn from one counter so that two tables (or one table before and
// after a reload) never share a generation.
uint64_t nextGeneration() {
    static std::atomic<uint64_t> counter{0};
    return ++counter;
}

void storeWord(DictionaryEntry& slot, int side, std::string_view word) {
    const size_t stored = std::min(word.size(), size_t{DictionaryTable::kMaxWordBytes});
    if (stored > 0) // an empty word may have no data, and memcpy must never see null
        std::memcpy(slot.word[side], word.data(), stored);
    slot.word[side][stored] = '\0';
    slot.length[side] = static_cast<int16_t>(stored);
}

} // namespace

DictionaryTable::DictionaryTable() : generation_(nextGeneration()) {}

DictionaryTable::DictionaryTable(const DictionaryTable& other)
    : entries_(other.entries_), lines_(other.lines_), count_(other.count_),
      generation_(nextGeneration()), path_(other.path_), wordMode_(other.wordMode_) {}

DictionaryTable& DictionaryTable::operator=(const DictionaryTable& other) {
    if (this != &other) {
        entries_ = other.entries_;
        lines_ = other.lines_;
        count_ = other.count_;
        path_ = other.path_;
        wordMode_ = other.wordMode_;
        generation_ = nextGeneration();
    }
    return *this;
}

bool DictionaryTable::appendEntry(std::string_view standard, std::string_view converted,
                                  int32_t line) {
    if (full())
        return false;
    DictionaryEntry& slot = entries_[count_];
    storeWord(slot, 0, standard);
    storeWord(slot, 1, converted);
    lines_[count_] = line;
    ++count_;
    return true;
}

void DictionaryTable::clear() {
    count_ = 0;
    wordMode_ = false;
    generation_ = nextGeneration();
}

bool DictionaryTable::commitSlot(int32_t line) {
    if (full())
        return false;
    lines_[count_] = line;
    ++count_;
    return true;
}

} // namespace sorvanti
