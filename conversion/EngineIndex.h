#pragma once

// The index the engine looks a side of the table up through (see Engine.h).

#include "conversion/DictionaryTable.h"
#include "conversion/WordTrie.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace sorvanti::engineindex {

// Four text bytes as one number, first byte lowest, whatever the machine's byte order.
inline uint32_t loadFour(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap32(v);
    return v;
}

// Words of four bytes or more that begin with the same four bytes, in table order, as
// the conversion tries them. A word that has an earlier word of the list as its prefix
// (ending where one of its characters ends) can never be the first match in plain mode and
// is left out of an index built for it.
struct Candidate {
    int32_t index;
    uint8_t tailLength; // bytes after the first four
    char tail[kMaxWord - 4];
};

struct PrefixSlot {
    uint32_t key = 0;
    int32_t node = -1;  // the trie node after the four bytes; -1: empty slot
    uint32_t first = 0; // candidates [first, first + count)
    uint32_t count = 0; // 0: too many words; walk the trie from `node`
};

// A word that ends with a lone lead byte matches only where the text has that byte on its
// own too; a word whose canonical form reads otherwise than the word (see
// duplicatecodes::canonicalize) is compared character by character.
constexpr uint8_t kLoneLead = 1;
constexpr uint8_t kFuses = 2;

// Everything one side of the table is looked up through: the trie, and in front of it
// tests that settle most positions of a text without walking it.
//
// Words of one to three bytes are marked in the short gate by their first two bytes
// (one-byte words for every second byte). Where none starts, a match needs a longer
// word: the long gate, a bit per hash of four bytes, turns most positions away, and
// the prefix table gives the few words that begin with those four bytes.
class SideIndex {
public:
    uint64_t generation = 0;
    int32_t indexedCount = 0;
    bool built = false;
    // Built for word mode: the prefix table keeps the words that an earlier word of its list
    // begins, since where that one ends on no boundary the longer one may still match. Such
    // an index serves plain mode too.
    bool words = false;

    void build(const DictionaryTable& table, int side, bool forWords = false);
    // Adds the entries appended since the last build or append.
    void append(const DictionaryTable& table, int side);

    // Entry i's word of this side with every duplicate code made canonical: the form
    // the index holds and a text is compared in.
    std::string_view word(int32_t i) const { return {canon_[i].data(), canonLength_[i]}; }

    struct View {
        const Node* nodes;
        const uint64_t* shortGate;
        const uint64_t* longGate;
        const PrefixSlot* prefixes;
        const Candidate* candidates;
        uint32_t prefixShift;
        uint32_t prefixMask;
        const uint8_t* flags; // per entry; null when no word of the side has any

        bool hasShortWord(uint32_t two) const { return shortGate[two >> 6] >> (two & 63) & 1; }
        bool mayHaveLongWord(uint32_t four) const {
            const uint32_t h = hashFour(four);
            return longGate[h >> 6] >> (h & 63) & 1;
        }
        const PrefixSlot* prefix(uint32_t four) const {
            for (uint32_t h = (four * kHashFactor) >> prefixShift;; h = (h + 1) & prefixMask) {
                const PrefixSlot& slot = prefixes[h];
                if (slot.node < 0)
                    return nullptr;
                if (slot.key == four)
                    return &slot;
            }
        }
    };
    View view() const {
        return {trie_.nodes(),      shortGate_.data(),
                longGate_.data(),   prefixes_.data(),
                candidates_.data(), prefixShift_,
                prefixMask_,        anyFlags_ ? flags_.data() : nullptr};
    }

private:
    static constexpr int kLongGateBits = 17;
    static constexpr uint32_t kHashFactor = 0x9E3779B1u;
    static constexpr size_t kMaxCandidates = 8;
    static uint32_t hashFour(uint32_t four) { return (four * kHashFactor) >> (32 - kLongGateBits); }

    void markGate(std::string_view word);
    void rebuildPrefixes(const DictionaryTable& table, int side);
    void takeWords(const DictionaryTable& table, int side, int32_t from);

    WordTrie trie_;
    std::vector<uint64_t> shortGate_ = std::vector<uint64_t>(65536 / 64);
    std::vector<uint64_t> longGate_ = std::vector<uint64_t>((1u << kLongGateBits) / 64);
    std::vector<PrefixSlot> prefixes_;
    std::vector<Candidate> candidates_;
    uint32_t prefixShift_ = 32;
    uint32_t prefixMask_ = 0;
    std::vector<std::array<char, kMaxWord>> canon_;
    std::vector<uint8_t> canonLength_;
    std::vector<uint8_t> flags_;
    bool anyFlags_ = false;
};

} // namespace sorvanti::engineindex
