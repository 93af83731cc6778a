#include "conversion/Engine.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <utility>

namespace sorvanti {

namespace {

constexpr int32_t kNoEntry = INT32_MAX;
constexpr int32_t kFreeSlot = -1;
constexpr int32_t kRootMark = -2;
constexpr int kAlphabet = 256;
constexpr size_t kMaxReplacement = DictionaryTable::kMaxWordBytes;

// Four text bytes as one number, first byte lowest, whatever the machine's byte order.
inline uint32_t loadFour(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap32(v);
    return v;
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

// A byte trie over the side-p words of the table, laid out as a double array. Every
// slot base + c (c < 256) of every node lies inside the array, so a lookup needs no
// bounds test. The table order is kept as the smallest index at each word end; the
// answer of a lookup, the smallest index met along the walk, is thus the first entry
// in table order whose word is a prefix of the text.
class WordTrie {
public:
    uint64_t generation = 0;
    int32_t indexedCount = 0;
    bool built = false;

    void build(const DictionaryTable& table, int side);
    // `index` must be larger than every index already in the trie (an appended entry).
    void add(std::string_view word, int32_t index);
    static constexpr int kLongGateBits = 17;
    static constexpr uint32_t kHashFactor = 0x9E3779B1u;
    static uint32_t hashFour(uint32_t four) { return (four * kHashFactor) >> (32 - kLongGateBits); }

    // Cheap tests for the first bytes at a position, in a form the conversion loop
    // keeps in registers. Words of one to three bytes are marked by their first two
    // bytes (one-byte words for every second byte); when none starts at a position, a
    // match needs a longer word, whose first four bytes the prefix table knows. The
    // long gate, a bit per hash of four bytes, turns most positions away before that.
    struct PrefixSlot {
        uint32_t key = 0;
        int32_t node = -1;
    };
    struct View {
        const Node* nodes;
        const uint64_t* shortGate;
        const uint64_t* longGate;
        const PrefixSlot* prefixes;
        uint32_t prefixShift;
        uint32_t prefixMask;

        bool hasShortWord(uint32_t two) const { return shortGate[two >> 6] >> (two & 63) & 1; }
        bool mayHaveLongWord(uint32_t four) const {
            const uint32_t h = hashFour(four);
            return longGate[h >> 6] >> (h & 63) & 1;
        }
        // The node reached by the four bytes, or -1 when no word begins with them.
        int32_t prefixNode(uint32_t four) const {
            for (uint32_t h = (four * kHashFactor) >> prefixShift;; h = (h + 1) & prefixMask) {
                const PrefixSlot& slot = prefixes[h];
                if (slot.node < 0 || slot.key == four)
                    return slot.node;
            }
        }
    };
    View view() const {
        return {nodes_.data(),    shortGate_.data(), longGate_.data(),
                prefixes_.data(), prefixShift_,      prefixMask_};
    }

private:
    void rebuildPrefixes();
    void collectPrefixes(int32_t node, int depth, uint32_t key,
                         std::vector<std::pair<uint32_t, int32_t>>& out) const;
    void insertPrefix(uint32_t key, int32_t node);
    std::vector<PrefixSlot> prefixes_;
    uint32_t prefixShift_ = 32;
    uint32_t prefixMask_ = 0;
    size_t prefixCount_ = 0;
    bool relocated_ = false; // set by addChild when it moved children
    void markGate(std::string_view word);
    std::vector<uint64_t> shortGate_ = std::vector<uint64_t>(65536 / 64);
    std::vector<uint64_t> longGate_ = std::vector<uint64_t>((1u << kLongGateBits) / 64);

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
    std::vector<std::pair<std::string_view, int32_t>> words_; // build scratch

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

void WordTrie::build(const DictionaryTable& table, int side) {
    words_.clear();
    std::fill(shortGate_.begin(), shortGate_.end(), 0);
    std::fill(longGate_.begin(), longGate_.end(), 0);
    for (int32_t i = 0; i < table.count(); ++i) {
        const std::string_view w = table.word(i, side);
        if (!w.empty()) {
            words_.emplace_back(w, i);
            markGate(w);
        }
    }
    // Sorted words give each node all its children at once, so the layout needs no
    // relocation; the sort compares bytes as unsigned, as the walk reads them.
    std::stable_sort(words_.begin(), words_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    reset();
    buildNode(0, 0, words_.size(), 0);
    words_.clear();
    rebuildPrefixes();
    generation = table.generation();
    indexedCount = table.count();
    built = true;
}

int32_t WordTrie::buildNode(int32_t slot, size_t lo, size_t hi, size_t depth) {
    int32_t endMin = kNoEntry;
    size_t k = lo;
    while (k < hi && words_[k].first.size() == depth) {
        endMin = std::min(endMin, words_[k].second);
        ++k;
    }
    nodes_[slot].endMin = endMin;
    if (k == hi)
        return endMin;

    uint8_t labels[kAlphabet] = {};
    uint32_t starts[kAlphabet + 1];
    int count = 0;
    for (size_t j = k; j < hi;) {
        const auto label = static_cast<uint8_t>(words_[j].first[depth]);
        labels[count] = label;
        starts[count] = static_cast<uint32_t>(j);
        ++count;
        while (j < hi && static_cast<uint8_t>(words_[j].first[depth]) == label)
            ++j;
    }
    starts[count] = static_cast<uint32_t>(hi);

    const int32_t base = findBase(labels, count);
    nodes_[slot].base = base;
    for (int j = 0; j < count; ++j)
        claim(base + labels[j], slot);
    int32_t subMin = kNoEntry;
    for (int j = 0; j < count; ++j)
        subMin = std::min(subMin, buildNode(base + labels[j], starts[j], starts[j + 1], depth + 1));
    nodes_[slot].subMin = subMin;
    return std::min(endMin, subMin);
}

void WordTrie::reset() {
    nodes_.clear();
    nextFree_.clear();
    prevFree_.clear();
    failures_.clear();
    freeHead_ = freeTail_ = denseCursor_ = kEnd;
    ensureSize(kAlphabet);
    claim(0, kRootMark);
}

void WordTrie::ensureSize(size_t size) {
    const size_t old = nodes_.size();
    if (old >= size)
        return;
    const size_t grown = std::max(size, old + old / 2);
    nodes_.resize(grown);
    nextFree_.resize(grown);
    prevFree_.resize(grown);
    failures_.resize(grown);
    for (size_t i = old; i < grown; ++i) {
        const auto slot = static_cast<int32_t>(i);
        prevFree_[i] = freeTail_;
        nextFree_[i] = kEnd;
        if (freeTail_ != kEnd)
            nextFree_[freeTail_] = slot;
        else
            freeHead_ = slot;
        freeTail_ = slot;
        if (denseCursor_ == kEnd)
            denseCursor_ = slot;
    }
}

void WordTrie::unlink(int32_t slot) {
    const int32_t prev = prevFree_[slot];
    const int32_t next = nextFree_[slot];
    if (prev != kEnd)
        nextFree_[prev] = next;
    else
        freeHead_ = next;
    if (next != kEnd)
        prevFree_[next] = prev;
    else
        freeTail_ = prev;
    if (denseCursor_ == slot)
        denseCursor_ = next;
}

void WordTrie::release(int32_t slot) {
    nodes_[slot] = Node{};
    failures_[slot] = 0;
    prevFree_[slot] = kEnd;
    nextFree_[slot] = freeHead_;
    if (freeHead_ != kEnd)
        prevFree_[freeHead_] = slot;
    else
        freeTail_ = slot;
    freeHead_ = slot;
}

// A base >= 1 at which every label's slot is free; grows the array so that all 256
// slots from that base exist. `labels` is ascending.
int32_t WordTrie::findBase(const uint8_t* labels, int count) {
    constexpr uint8_t kMaxFailures = 16;
    const bool single = count == 1;
    if (!single) {
        while (denseCursor_ != kEnd && failures_[denseCursor_] >= kMaxFailures)
            denseCursor_ = nextFree_[denseCursor_];
    }
    const size_t first = labels[0];
    for (int32_t pos = single ? freeHead_ : denseCursor_; pos != kEnd; pos = nextFree_[pos]) {
        if (static_cast<size_t>(pos) <= first)
            continue; // the base would be below 1
        const size_t base = pos - first;
        bool fits = true;
        for (int j = 1; j < count && fits; ++j) {
            const size_t t = base + labels[j];
            fits = t >= nodes_.size() || nodes_[t].check == kFreeSlot;
        }
        if (fits) {
            ensureSize(base + kAlphabet);
            return static_cast<int32_t>(base);
        }
        if (failures_[pos] < kMaxFailures)
            ++failures_[pos];
    }
    // Nothing free fits: start past the end, where every slot is free.
    const size_t base = std::max(nodes_.size(), first + 1) - first;
    ensureSize(base + kAlphabet);
    return static_cast<int32_t>(base);
}

// Gives `parent` a child for `label`. When that slot is taken by another node, the
// parent's children move to a base where all of them and the new one fit; their own
// children are told the new slot of their parent.
int32_t WordTrie::addChild(int32_t parent, uint8_t label) {
    const int32_t oldBase = nodes_[parent].base;
    if (oldBase != 0 && nodes_[oldBase + label].check == kFreeSlot) {
        claim(oldBase + label, parent);
        return oldBase + label;
    }
    uint8_t labels[kAlphabet];
    int count = 0;
    bool placed = false;
    if (oldBase != 0) {
        for (int x = 0; x < kAlphabet; ++x) {
            if (!placed && x > label) {
                labels[count++] = label;
                placed = true;
            }
            if (nodes_[oldBase + x].check == parent)
                labels[count++] = static_cast<uint8_t>(x);
        }
    }
    if (!placed)
        labels[count++] = label;

    const int32_t base = findBase(labels, count);
    for (int j = 0; j < count; ++j) {
        if (labels[j] == label)
            continue;
        const int32_t from = oldBase + labels[j];
        const int32_t to = base + labels[j];
        claim(to, parent);
        nodes_[to].base = nodes_[from].base;
        nodes_[to].endMin = nodes_[from].endMin;
        nodes_[to].subMin = nodes_[from].subMin;
        if (const int32_t childBase = nodes_[to].base; childBase != 0) {
            for (int y = 0; y < kAlphabet; ++y) {
                if (nodes_[childBase + y].check == from)
                    nodes_[childBase + y].check = to;
            }
        }
        release(from);
        relocated_ = true;
    }
    nodes_[parent].base = base;
    claim(base + label, parent);
    return base + label;
}

void WordTrie::markGate(std::string_view word) {
    const auto* p = reinterpret_cast<const uint8_t*>(word.data());
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

void WordTrie::collectPrefixes(int32_t node, int depth, uint32_t key,
                               std::vector<std::pair<uint32_t, int32_t>>& out) const {
    if (depth == 4) {
        out.emplace_back(key, node);
        return;
    }
    const int32_t base = nodes_[node].base;
    if (base == 0)
        return;
    for (uint32_t c = 0; c < kAlphabet; ++c) {
        if (nodes_[base + c].check == node)
            collectPrefixes(base + static_cast<int32_t>(c), depth + 1, key | c << (8 * depth), out);
    }
}

void WordTrie::rebuildPrefixes() {
    std::vector<std::pair<uint32_t, int32_t>> found;
    collectPrefixes(0, 0, 0, found);
    // At most a quarter full, so that a key that is absent is told after few probes.
    uint32_t bits = 10;
    while ((size_t{1} << bits) < found.size() * 4)
        ++bits;
    prefixes_.assign(size_t{1} << bits, PrefixSlot{});
    prefixShift_ = 32 - bits;
    prefixMask_ = (uint32_t{1} << bits) - 1;
    prefixCount_ = 0;
    for (const auto& [key, node] : found)
        insertPrefix(key, node);
}

void WordTrie::insertPrefix(uint32_t key, int32_t node) {
    if ((prefixCount_ + 1) * 2 > prefixes_.size()) {
        rebuildPrefixes(); // the node is in the trie already, so the rebuild finds it
        return;
    }
    for (uint32_t h = (key * kHashFactor) >> prefixShift_;; h = (h + 1) & prefixMask_) {
        PrefixSlot& slot = prefixes_[h];
        if (slot.node < 0) {
            slot = {key, node};
            ++prefixCount_;
            return;
        }
        if (slot.key == key) {
            slot.node = node;
            return;
        }
    }
}

void WordTrie::add(std::string_view word, int32_t index) {
    markGate(word);
    int32_t path[DictionaryTable::kMaxWordBytes + 1];
    int depth = 0;
    int32_t s = 0;
    bool fourthLevelMoved = false;
    for (const char ch : word) {
        const auto c = static_cast<uint8_t>(ch);
        path[depth] = s;
        const int32_t base = nodes_[s].base;
        if (base != 0 && nodes_[base + c].check == s) {
            s = base + c;
        } else {
            relocated_ = false;
            s = addChild(s, c);
            // Children of a node at depth 3 are the nodes the prefix table points to.
            fourthLevelMoved |= relocated_ && depth == 3;
        }
        ++depth;
    }
    if (fourthLevelMoved)
        rebuildPrefixes();
    else if (word.size() >= 4)
        insertPrefix(loadFour(reinterpret_cast<const uint8_t*>(word.data())),
                     word.size() == 4 ? s : path[4]);
    // `index` is the largest so far: an earlier word ending here keeps the node.
    if (nodes_[s].endMin == kNoEntry)
        nodes_[s].endMin = index;
    for (int j = 0; j < depth; ++j)
        nodes_[path[j]].subMin = std::min(nodes_[path[j]].subMin, index);
}

} // namespace

struct Engine::Index {
    WordTrie side[2];
};

Engine::Engine(const DictionaryTable& table) : table_(table), index_(std::make_unique<Index>()) {}

Engine::~Engine() = default;

void Engine::sync() {
    syncSide(0);
    syncSide(1);
}

void Engine::syncSide(int side) {
    WordTrie& trie = index_->side[side];
    const int32_t count = table_.count();
    if (!trie.built || trie.generation != table_.generation() || trie.indexedCount > count) {
        trie.build(table_, side);
        return;
    }
    for (int32_t i = trie.indexedCount; i < count; ++i) {
        const std::string_view w = table_.word(i, side);
        if (!w.empty())
            trie.add(w, i);
    }
    trie.indexedCount = count;
}

void Engine::convertLine(std::string_view line, int side, std::string& out) {
    syncSide(side);
    const WordTrie::View trie = index_->side[side].view();
    const Node* const nodes = trie.nodes;
    const int target = 1 - side;
    const auto* const text = reinterpret_cast<const uint8_t*>(line.data());
    const size_t n = line.size();

    // The output is written in place: unmatched bytes are copied in runs, and room
    // grows only when replacements make the line longer than the text.
    const size_t outStart = out.size();
    out.resize(outStart + n + kMaxReplacement);
    char* dst = out.data() + outStart;
    char* limit = out.data() + out.size();
    auto room = [&](size_t bytes) {
        if (static_cast<size_t>(limit - dst) < bytes) {
            const size_t used = static_cast<size_t>(dst - out.data());
            out.resize(std::max(out.size() * 2, used + bytes));
            dst = out.data() + used;
            limit = out.data() + out.size();
        }
    };

    size_t runStart = 0;
    size_t i = 0;
    while (i < n) {
        int32_t s = 0;
        size_t k = i;
        int32_t best = kNoEntry;
        size_t bestLength = 0;
        if (i + 4 <= n) {
            const uint32_t four = loadFour(text + i);
            if (!trie.hasShortWord(four & 0xFFFF)) {
                // No word of one to three bytes starts here: a match starts at depth 4.
                const int32_t node = trie.mayHaveLongWord(four) ? trie.prefixNode(four) : -1;
                if (node < 0) {
                    i += isLeadByte(text[i]) ? 2 : 1;
                    continue;
                }
                s = node;
                k = i + 4;
                best = nodes[s].endMin;
                bestLength = 4;
                if (nodes[s].subMin >= best)
                    k = n;
            }
        }
        for (; k < n; ++k) {
            const int32_t t = nodes[s].base + text[k];
            if (nodes[t].check != s)
                break;
            s = t;
            if (nodes[s].endMin < best) {
                best = nodes[s].endMin;
                bestLength = k - i + 1;
            }
            if (nodes[s].subMin >= best)
                break;
        }
        if (best != kNoEntry) {
            const DictionaryEntry& e = table_.entry(best);
            const auto length = static_cast<size_t>(e.length[target]);
            room(i - runStart + length);
            std::memcpy(dst, line.data() + runStart, i - runStart);
            dst += i - runStart;
            std::memcpy(dst, e.word[target], length);
            dst += length;
            i += bestLength;
            runStart = i;
        } else {
            // A lead byte that ends the line has no second byte; it is copied alone.
            i += (isLeadByte(text[i]) && i + 1 < n) ? 2 : 1;
        }
    }
    room(n - runStart);
    std::memcpy(dst, line.data() + runStart, n - runStart);
    dst += n - runStart;
    out.resize(static_cast<size_t>(dst - out.data()));
}

std::string Engine::convertLine(std::string_view line, int side) {
    std::string out;
    out.reserve(line.size());
    convertLine(line, side, out);
    return out;
}

std::vector<std::string> Engine::convertText(const std::vector<std::string>& lines, int side) {
    std::vector<std::string> result;
    result.reserve(lines.size());
    for (const std::string& line : lines)
        result.push_back(convertLine(line, side));
    return result;
}

} // namespace sorvanti
