#pragma once

// The engine's byte trie over the words of one side of the table (used by EngineIndex).

#include "conversion/DictionaryTable.h"

#include <climits>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace sorvanti::engineindex {

constexpr int32_t kNoEntry = INT32_MAX;
constexpr int32_t kFreeSlot = -1;
constexpr int32_t kRootMark = -2;
constexpr int kAlphabet = 256;
constexpr size_t kMaxWord = DictionaryTable::kMaxWordBytes;

// The bytes of `s` as the trie and the scan read them, unsigned.
inline const uint8_t* bytes(std::string_view s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

// One slot of the double array. A node's child for byte c sits at base + c and names
// its parent in `check`. The two minima let a lookup stop as soon as nothing deeper
// can beat the entry it already holds.
struct Node {
    int32_t base = 0;          // 0 while the node has no children
    int32_t check = kFreeSlot; // parent slot; kFreeSlot when unused
    int32_t endMin = kNoEntry; // smallest table index of a word that ends here
    int32_t subMin = kNoEntry; // smallest table index of a word that ends below here
};

// A byte trie over words, laid out as a double array. Every slot base + c (c < 256)
// of every node lies inside the array, so a walk needs no bounds test. Each word end
// keeps the smallest table index of the words ending there; the smallest index met
// along a walk over a text is thus the first entry in table order whose word is a
// prefix of that text.
class WordTrie {
public:
    // `words` sorted by bytes (unsigned), each with its table index.
    void build(const std::vector<std::pair<std::string_view, int32_t>>& words);
    // `index` must be larger than every index already in the trie (an appended entry).
    void add(std::string_view word, int32_t index);
    // The node reached from the root by `prefix`; it must exist.
    int32_t follow(std::string_view prefix) const;
    const Node* nodes() const { return nodes_.data(); }

private:
    int32_t buildNode(int32_t slot, size_t lo, size_t hi, size_t depth);
    int32_t findBase(const uint8_t* labels, int count);
    int32_t addChild(int32_t parent, uint8_t label);
    void reset();
    void claim(int32_t slot, int32_t parent) {
        unlink(slot);
        nodes_[slot] = Node{};
        nodes_[slot].check = parent;
    }
    void release(int32_t slot);
    void ensureSize(size_t size);
    void unlink(int32_t slot);

    std::vector<Node> nodes_;
    const std::vector<std::pair<std::string_view, int32_t>>* words_ = nullptr; // during build

    // Free slots form a doubly linked list, in the order the array grew (slots freed by
    // a move go to its front), so a search for a base visits free slots only. Searches
    // for nodes with several children start at `denseCursor_`, which moves past slots
    // that already failed many such searches; nodes with one child still use those.
    static constexpr int32_t kEnd = -1;
    std::vector<int32_t> nextFree_;
    std::vector<int32_t> prevFree_;
    std::vector<uint8_t> failures_;
    int32_t freeHead_ = kEnd;
    int32_t freeTail_ = kEnd;
    int32_t denseCursor_ = kEnd;
};

} // namespace sorvanti::engineindex
