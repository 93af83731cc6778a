#include "conversion/Engine.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

namespace sorvanti {

namespace {

constexpr int32_t kNoEntry = INT32_MAX;
constexpr int32_t kFreeSlot = -1;
constexpr int32_t kRootMark = -2;
constexpr int kAlphabet = 256;

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
    const Node* nodes() const { return nodes_.data(); }

private:
    int32_t buildNode(int32_t slot, size_t lo, size_t hi, size_t depth);
    int32_t findBase(const uint8_t* labels, int count);
    int32_t addChild(int32_t parent, uint8_t label);
    void claim(int32_t slot, int32_t parent) {
        nodes_[slot] = Node{};
        nodes_[slot].check = parent;
    }
    void ensureSize(size_t size) {
        if (nodes_.size() < size)
            nodes_.resize(std::max(size, nodes_.size() + nodes_.size() / 2));
    }

    std::vector<Node> nodes_;
    std::vector<std::pair<std::string_view, int32_t>> words_; // build scratch
    size_t firstFree_ = 1;
};

void WordTrie::build(const DictionaryTable& table, int side) {
    words_.clear();
    for (int32_t i = 0; i < table.count(); ++i) {
        const std::string_view w = table.word(i, side);
        if (!w.empty())
            words_.emplace_back(w, i);
    }
    // Sorted words give each node all its children at once, so the layout needs no
    // relocation; the sort compares bytes as unsigned, as the walk reads them.
    std::stable_sort(words_.begin(), words_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    nodes_.assign(kAlphabet, Node{});
    nodes_[0].check = kRootMark;
    firstFree_ = 1;
    buildNode(0, 0, words_.size(), 0);
    words_.clear();
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

// The lowest base >= 1 at which every label's slot is free; grows the array so that
// all 256 slots from that base exist. `labels` is ascending.
int32_t WordTrie::findBase(const uint8_t* labels, int count) {
    while (firstFree_ < nodes_.size() && nodes_[firstFree_].check != kFreeSlot)
        ++firstFree_;
    for (size_t pos = firstFree_;; ++pos) {
        if (pos < nodes_.size() && nodes_[pos].check != kFreeSlot)
            continue;
        if (pos < size_t{labels[0]} + 1)
            continue;
        const size_t base = pos - labels[0];
        bool fits = true;
        for (int j = 1; j < count && fits; ++j) {
            const size_t t = base + labels[j];
            fits = t >= nodes_.size() || nodes_[t].check == kFreeSlot;
        }
        if (fits) {
            ensureSize(base + kAlphabet);
            return static_cast<int32_t>(base);
        }
    }
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
        nodes_[to] = nodes_[from];
        if (const int32_t childBase = nodes_[to].base; childBase != 0) {
            for (int y = 0; y < kAlphabet; ++y) {
                if (nodes_[childBase + y].check == from)
                    nodes_[childBase + y].check = to;
            }
        }
        nodes_[from] = Node{};
        firstFree_ = std::min(firstFree_, static_cast<size_t>(from));
    }
    nodes_[parent].base = base;
    claim(base + label, parent);
    return base + label;
}

void WordTrie::add(std::string_view word, int32_t index) {
    int32_t path[DictionaryTable::kMaxWordBytes + 1];
    int depth = 0;
    int32_t s = 0;
    for (const char ch : word) {
        const auto c = static_cast<uint8_t>(ch);
        path[depth++] = s;
        const int32_t base = nodes_[s].base;
        s = (base != 0 && nodes_[base + c].check == s) ? base + c : addChild(s, c);
    }
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
    const Node* nodes = index_->side[side].nodes();
    const int target = 1 - side;
    const auto* text = reinterpret_cast<const uint8_t*>(line.data());
    const size_t n = line.size();

    // Unmatched bytes are copied in runs rather than one by one.
    size_t runStart = 0;
    size_t i = 0;
    while (i < n) {
        int32_t best = kNoEntry;
        size_t bestLength = 0;
        int32_t s = 0;
        for (size_t k = i; k < n; ++k) {
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
            out.append(line.data() + runStart, i - runStart);
            const DictionaryEntry& e = table_.entry(best);
            out.append(e.word[target], static_cast<size_t>(e.length[target]));
            i += bestLength;
            runStart = i;
        } else {
            // A lead byte that ends the line has no second byte; it is copied alone.
            i += (isLeadByte(text[i]) && i + 1 < n) ? 2 : 1;
        }
    }
    out.append(line.data() + runStart, n - runStart);
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
