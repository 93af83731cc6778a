#include "conversion/EngineIndex.h"

#include "conversion/DuplicateCodes.h"

#include <algorithm>
#include <utility>

namespace sorvanti::engineindex {

void SideIndex::takeWords(const DictionaryTable& table, int side, int32_t from) {
    const auto count = static_cast<size_t>(table.count());
    canon_.resize(count);
    canonLength_.resize(count);
    flags_.resize(count);
    if (from == 0)
        anyFlags_ = false;
    for (int32_t i = from; i < table.count(); ++i) {
        const std::string_view w = table.word(i, side);
        bool fuses = false;
        duplicatecodes::canonicalize(w, canon_[i].data(), &fuses);
        canonLength_[i] = static_cast<uint8_t>(w.size());
        flags_[i] = (duplicatecodes::endsWithLoneLead(w) ? kLoneLead : 0) | (fuses ? kFuses : 0);
        anyFlags_ = anyFlags_ || flags_[i] != 0;
    }
}

void SideIndex::build(const DictionaryTable& table, int side, bool forWords) {
    words = forWords;
    std::fill(shortGate_.begin(), shortGate_.end(), 0);
    std::fill(longGate_.begin(), longGate_.end(), 0);
    takeWords(table, side, 0);
    std::vector<std::pair<std::string_view, int32_t>> words;
    for (int32_t i = 0; i < table.count(); ++i) {
        const std::string_view w = word(i);
        if (!w.empty()) {
            words.emplace_back(w, i);
            markGate(w);
        }
    }
    // string_view compares bytes as unsigned, as the walk reads them.
    std::stable_sort(words.begin(), words.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    trie_.build(words);
    rebuildPrefixes(table, side);
    generation = table.generation();
    indexedCount = table.count();
    built = true;
}

void SideIndex::append(const DictionaryTable& table, int side) {
    bool longWord = false;
    takeWords(table, side, indexedCount);
    for (int32_t i = indexedCount; i < table.count(); ++i) {
        const std::string_view w = word(i);
        if (w.empty())
            continue;
        trie_.add(w, i);
        markGate(w);
        longWord |= w.size() >= 4;
    }
    // The prefix table is small; laying it out again keeps its lists in table order.
    if (longWord)
        rebuildPrefixes(table, side);
    indexedCount = table.count();
}

void SideIndex::markGate(std::string_view word) {
    const uint8_t* p = bytes(word);
    auto set = [](std::vector<uint64_t>& bits, uint32_t i) {
        bits[i >> 6] |= uint64_t{1} << (i & 63);
    };
    if (word.size() >= 4) {
        set(longGate_, hashFour(loadFour(p)));
    } else if (word.size() >= 2) {
        set(shortGate_, p[0] | uint32_t{p[1]} << 8);
    } else {
        for (uint32_t second = 0; second < 256; ++second)
            set(shortGate_, p[0] | second << 8);
    }
}

void SideIndex::rebuildPrefixes(const DictionaryTable& table, int side) {
    std::vector<std::pair<uint32_t, int32_t>> keyed;
    for (int32_t i = 0; i < static_cast<int32_t>(canon_.size()); ++i) {
        const std::string_view w = word(i);
        if (w.size() >= 4)
            keyed.emplace_back(loadFour(bytes(w)), i);
    }
    std::sort(keyed.begin(), keyed.end());

    // At most half full, so that an absent key is told after few probes.
    size_t keys = 0;
    for (size_t j = 0; j < keyed.size(); ++j)
        keys += j == 0 || keyed[j].first != keyed[j - 1].first;
    uint32_t bits = 8;
    while ((size_t{1} << bits) < keys * 2)
        ++bits;
    prefixes_.assign(size_t{1} << bits, PrefixSlot{});
    prefixShift_ = 32 - bits;
    prefixMask_ = (uint32_t{1} << bits) - 1;
    candidates_.clear();

    for (size_t lo = 0; lo < keyed.size();) {
        size_t hi = lo;
        while (hi < keyed.size() && keyed[hi].first == keyed[lo].first)
            ++hi;
        const std::string_view firstWord = word(keyed[lo].second);
        PrefixSlot slot;
        slot.key = keyed[lo].first;
        slot.node = trie_.follow(firstWord.substr(0, 4));
        slot.first = static_cast<uint32_t>(candidates_.size());
        for (size_t j = lo; j < hi; ++j) {
            const std::string_view w = word(keyed[j].second);
            const bool shadowed =
                !words &&
                std::any_of(candidates_.begin() + slot.first, candidates_.end(),
                            [&](const Candidate& c) {
                                return duplicatecodes::isCharacterPrefix(
                                    table.word(c.index, side), table.word(keyed[j].second, side));
                            });
            if (shadowed)
                continue;
            Candidate c{};
            c.index = keyed[j].second;
            c.tailLength = static_cast<uint8_t>(w.size() - 4);
            std::memcpy(c.tail, w.data() + 4, w.size() - 4);
            candidates_.push_back(c);
        }
        slot.count = static_cast<uint32_t>(candidates_.size()) - slot.first;
        if (slot.count > kMaxCandidates) {
            candidates_.resize(slot.first);
            slot.first = 0;
            slot.count = 0;
        }
        for (uint32_t h = (slot.key * kHashFactor) >> prefixShift_;; h = (h + 1) & prefixMask_) {
            if (prefixes_[h].node < 0) {
                prefixes_[h] = slot;
                break;
            }
        }
        lo = hi;
    }
}

} // namespace sorvanti::engineindex
