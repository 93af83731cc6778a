#include "conversion/Engine.h"

#include "conversion/DuplicateCodes.h"

#include <algorithm>
#include <array>
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
constexpr size_t kMaxWord = DictionaryTable::kMaxWordBytes;

// Four text bytes as one number, first byte lowest, whatever the machine's byte order.
inline uint32_t loadFour(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap32(v);
    return v;
}

inline const uint8_t* bytes(std::string_view s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

// How the conversion steps over a byte at a character start: 1 or 2 bytes, or 0 for the
// bytes behind which a duplicate code can start (0x87, 0xED, 0xEE) or after which code
// page 932 and the engine's lead-byte test part ways (0xF0-0xFC). At those the line is
// looked at as a whole before it is trusted to need no canonical copy.
struct StepTable {
    uint8_t step[256];
    constexpr StepTable() : step() {
        for (int b = 0; b < 256; ++b)
            step[b] = isLeadByte(static_cast<unsigned char>(b)) ? 2 : 1;
        step[0x87] = step[0xED] = step[0xEE] = 0;
        for (int b = 0xF0; b <= 0xFC; ++b)
            step[b] = 0;
    }
};
constexpr StepTable kSteps;

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

void WordTrie::build(const std::vector<std::pair<std::string_view, int32_t>>& words) {
    reset();
    words_ = &words;
    buildNode(0, 0, words.size(), 0);
    words_ = nullptr;
}

// Sorted words give each node all its children at once, so the layout needs no moves.
int32_t WordTrie::buildNode(int32_t slot, size_t lo, size_t hi, size_t depth) {
    const auto& words = *words_;
    int32_t endMin = kNoEntry;
    size_t k = lo;
    while (k < hi && words[k].first.size() == depth) {
        endMin = std::min(endMin, words[k].second);
        ++k;
    }
    nodes_[slot].endMin = endMin;
    if (k == hi)
        return endMin;

    uint8_t labels[kAlphabet] = {};
    uint32_t starts[kAlphabet + 1];
    int count = 0;
    for (size_t j = k; j < hi;) {
        const auto label = static_cast<uint8_t>(words[j].first[depth]);
        labels[count] = label;
        starts[count] = static_cast<uint32_t>(j);
        ++count;
        while (j < hi && static_cast<uint8_t>(words[j].first[depth]) == label)
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
    }
    nodes_[parent].base = base;
    claim(base + label, parent);
    return base + label;
}

void WordTrie::add(std::string_view word, int32_t index) {
    int32_t path[kMaxWord + 1];
    int depth = 0;
    int32_t s = 0;
    for (const uint8_t c : std::basic_string_view<uint8_t>(bytes(word), word.size())) {
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

int32_t WordTrie::follow(std::string_view prefix) const {
    int32_t s = 0;
    for (const uint8_t c : std::basic_string_view<uint8_t>(bytes(prefix), prefix.size()))
        s = nodes_[s].base + c;
    return s;
}

// Words of four bytes or more that begin with the same four bytes, in table order, as
// the conversion tries them. A word that has an earlier word of the list as its prefix
// can never be the first match and is left out.
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

    void build(const DictionaryTable& table, int side);
    // Adds the entries appended since the last build or append.
    void append(const DictionaryTable& table, int side);

    // Entry i's word of this side with every duplicate code made canonical: the form
    // the index holds and a text is compared in.
    std::string_view word(int32_t i) const { return {canon_[i].data(), canonLength_[i]}; }
    // Whether entry i's word ends with a lead byte that lacks its second byte.
    bool endsInside(int32_t i) const { return endsInside_[i]; }

    struct View {
        const Node* nodes;
        const uint64_t* shortGate;
        const uint64_t* longGate;
        const PrefixSlot* prefixes;
        const Candidate* candidates;
        uint32_t prefixShift;
        uint32_t prefixMask;

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
        return {trie_.nodes(),      shortGate_.data(), longGate_.data(), prefixes_.data(),
                candidates_.data(), prefixShift_,      prefixMask_};
    }

private:
    static constexpr int kLongGateBits = 17;
    static constexpr uint32_t kHashFactor = 0x9E3779B1u;
    static constexpr size_t kMaxCandidates = 8;
    static uint32_t hashFour(uint32_t four) { return (four * kHashFactor) >> (32 - kLongGateBits); }

    void markGate(std::string_view word);
    void rebuildPrefixes();
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
    std::vector<uint8_t> endsInside_;
};

void SideIndex::takeWords(const DictionaryTable& table, int side, int32_t from) {
    const auto count = static_cast<size_t>(table.count());
    canon_.resize(count);
    canonLength_.resize(count);
    endsInside_.resize(count);
    for (int32_t i = from; i < table.count(); ++i) {
        const std::string_view w = table.word(i, side);
        duplicatecodes::canonicalize(w, canon_[i].data());
        canonLength_[i] = static_cast<uint8_t>(w.size());
        endsInside_[i] = duplicatecodes::endsInsideCharacter(w);
    }
}

void SideIndex::build(const DictionaryTable& table, int side) {
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
    rebuildPrefixes();
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
        rebuildPrefixes();
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

void SideIndex::rebuildPrefixes() {
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
            const bool shadowed = std::any_of(
                candidates_.begin() + slot.first, candidates_.end(), [&](const Candidate& c) {
                    return size_t{c.tailLength} + 4 <= w.size() &&
                           std::memcmp(c.tail, w.data() + 4, c.tailLength) == 0;
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

} // namespace

struct Engine::Index {
    SideIndex side[2];
    std::string canonicalLine; // a line's canonical form, when it differs from the line
};

Engine::Engine(const DictionaryTable& table) : table_(table), index_(std::make_unique<Index>()) {}

Engine::~Engine() = default;

void Engine::sync() {
    syncSide(0);
    syncSide(1);
}

void Engine::syncSide(int side) {
    SideIndex& index = index_->side[side];
    if (!index.built || index.generation != table_.generation() ||
        index.indexedCount > table_.count())
        index.build(table_, side);
    else if (index.indexedCount < table_.count())
        index.append(table_, side);
}

void Engine::convertLine(std::string_view line, int side, std::string& out) {
    convertSpan(line, line.size(), side, out);
}

size_t Engine::convertPart(std::string_view text, size_t stop, int side, std::string& out) {
    return convertSpan(text, std::min(stop, text.size()), side, out);
}

// Converts the positions of `line` before `stop`; a match or a double-byte character that
// begins there may end after it. Returns where the next position begins.
size_t Engine::convertSpan(std::string_view line, size_t stop, int side, std::string& out) {
    syncSide(side);
    const SideIndex& sideIndex = index_->side[side];
    const SideIndex::View index = sideIndex.view();
    const Node* const nodes = index.nodes;
    const int target = 1 - side;
    // Steps follow the line's own bytes; words are compared against `text`, which is the
    // line itself until the line turns out to hold a duplicate code that is not
    // canonical, and from then on its canonical copy (same length, same boundaries).
    const uint8_t* const original = bytes(line);
    const uint8_t* text = original;
    const size_t n = line.size();
    // Cleared once the whole line is known to be canonical or its copy is in use.
    bool watch = true;

    // The output is written in place: unmatched bytes are copied in runs, and room
    // grows only when replacements make the line longer than the text.
    const size_t outStart = out.size();
    out.resize(outStart + n + kMaxWord);
    char* dst = out.data() + outStart;
    char* limit = out.data() + out.size();
    auto room = [&](size_t wanted) {
        if (static_cast<size_t>(limit - dst) < wanted) {
            const size_t used = static_cast<size_t>(dst - out.data());
            out.resize(std::max(out.size() * 2, used + wanted));
            dst = out.data() + used;
            limit = out.data() + out.size();
        }
    };

    size_t runStart = 0;
    size_t i = 0;
    // The line is compared as it is while every character start the walk meets lies
    // where code page 932 reads one too and holds no duplicate code. When that fails,
    // the whole line is made canonical once: unchanged, it is compared as it is to the
    // end; changed, the line starts over against its canonical copy, since matches
    // already made may have read bytes that the copy holds otherwise.
    auto settleLine = [&]() {
        watch = false;
        std::string& copy = index_->canonicalLine;
        copy.resize(n);
        if (!duplicatecodes::canonicalize(line, copy.data()))
            return;
        text = bytes(copy);
        dst = out.data() + outStart;
        runStart = 0;
        i = 0;
    };

    while (i < stop) {
        unsigned step = kSteps.step[original[i]];
        if (step == 0) {
            if (watch) {
                const uint8_t lead = original[i];
                const bool plainCode = lead == 0x87 && i + 1 < n &&
                                       duplicatecodes::canonicalCode(static_cast<uint16_t>(
                                           0x8700 | original[i + 1])) == (0x8700 | original[i + 1]);
                if (!plainCode) {
                    settleLine();
                    continue;
                }
            }
            step = isLeadByte(original[i]) ? 2 : 1;
        }
        int32_t best = kNoEntry;
        size_t bestLength = 0;
        int32_t s = 0;
        size_t k = i;
        if (i + 4 <= n) {
            const uint32_t four = loadFour(text + i);
            if (!index.hasShortWord(four & 0xFFFF)) {
                const PrefixSlot* slot = index.mayHaveLongWord(four) ? index.prefix(four) : nullptr;
                if (!slot) {
                    i += step;
                    continue;
                }
                if (slot->count != 0) {
                    const size_t rest = n - i - 4;
                    const Candidate* c = index.candidates + slot->first;
                    for (const Candidate* end = c + slot->count; c != end; ++c) {
                        if (c->tailLength <= rest &&
                            std::memcmp(c->tail, text + i + 4, c->tailLength) == 0) {
                            best = c->index;
                            bestLength = 4 + size_t{c->tailLength};
                            break;
                        }
                    }
                    k = n; // settled without a walk
                } else {
                    s = slot->node;
                    k = i + 4;
                    best = nodes[s].endMin;
                    bestLength = 4;
                    if (nodes[s].subMin >= best)
                        k = n;
                }
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
            // A word that ends on a lead byte leaves the walk inside a character, where
            // its character starts and code page 932's part ways.
            if (watch && sideIndex.endsInside(best)) {
                settleLine();
                continue;
            }
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
            i += (step == 2 && i + 1 < n) ? 2 : 1;
        }
    }
    // An empty line may have no data at all, and memcpy must never see a null pointer.
    if (i > runStart) {
        room(i - runStart);
        std::memcpy(dst, line.data() + runStart, i - runStart);
        dst += i - runStart;
    }
    out.resize(static_cast<size_t>(dst - out.data()));
    return i;
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
