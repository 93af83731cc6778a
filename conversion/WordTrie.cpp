#include "conversion/WordTrie.h"

#include <algorithm>

namespace sorvanti::engineindex {

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

} // namespace sorvanti::engineindex
