#include "conversion/Engine.h"

#include "conversion/DuplicateCodes.h"
#include "conversion/EngineIndex.h"
#include "toolkit/Cp932.h"

#include <algorithm>
#include <cstring>

namespace sorvanti {

using engineindex::bytes;
using engineindex::Candidate;
using engineindex::kNoEntry;
using engineindex::Node;
using engineindex::PrefixSlot;
using engineindex::SideIndex;

namespace {

// How the scan steps over the character at a position, by its first two bytes (the second
// 0 at the end of the line): 1 or 2 bytes as cp932::Boundaries says, with kOtherForm added
// for a pair that is a duplicate code in another form than the index's (the line needs its
// canonical copy before it is compared as it is). Only the pair bits of the text's few lead
// bytes are read, a few cache lines.
constexpr uint8_t kOtherForm = 4;

class Steps {
public:
    static const Steps& get() {
        static const Steps steps;
        return steps;
    }
    // `two`: the first byte, and the second shifted left by 8 (as the line's bytes load).
    uint8_t at(uint32_t two) const {
        const auto code = __builtin_bswap16(static_cast<uint16_t>(two));
        const uint8_t step = boundaries_.pair(code >> 8, code & 0xFF) ? 2 : 1;
        if (step == 2 && duplicateLead_[code >> 8] && duplicatecodes::canonicalCode(code) != code)
            return step | kOtherForm;
        return step;
    }
    const cp932::Boundaries& boundaries() const { return boundaries_; }

private:
    Steps() : boundaries_(cp932::boundaries()) {
        for (const unsigned char lead : duplicatecodes::kDuplicateLeads)
            duplicateLead_[lead] = true;
    }
    const cp932::Boundaries& boundaries_;
    bool duplicateLead_[256] = {}; // code page 932 has duplicate codes under these
};

struct Match {
    int32_t entry = kNoEntry;
    size_t length = 0;
};

// What finding the entry at a position reads. The scan copies it into its loop, where it
// stays in registers: the output's bytes may alias anything, members included.
//
// Words are compared against `text`: the line itself while every character start met holds
// no duplicate code in a form other than the index's, else the line's canonical copy (same
// length, same character places).
struct Probe {
    SideIndex::View index;
    const DictionaryTable* table;
    int side;
    std::string_view line;
    const uint8_t* original;
    const uint8_t* text;
    size_t n;
    const cp932::Boundaries* boundaries;
    bool fuses; // the copy in use reads otherwise than the line in places
    bool plain; // no entry and no line needs more than equal canonical bytes
    // Word mode, once the line's boundaries are known: a word must end on one of them (the
    // scan only looks where one begins). Null before, and in plain mode.
    const uint8_t* marks = nullptr;

    template <bool kWords> Match find(size_t i, uint32_t four) const;
    template <bool kWords> Match fromCandidates(const PrefixSlot& slot, size_t i) const;

    // Whether the word of `entry`, whose canonical bytes are those of the text from `i` to
    // `end`, matches there as characters. Equal canonical bytes mean equal characters but
    // for a word that ends with a lone lead byte (the text must have that byte alone too)
    // and for a word or a line whose canonical form reads otherwise than it (then the
    // characters are compared one by one).
    template <bool kWords> bool accepts(int32_t entry, size_t i, size_t end) const {
        if constexpr (kWords) {
            if (marks && !marks[end])
                return false;
        }
        if (plain)
            return true;
        const uint8_t flags = index.flags ? index.flags[entry] : 0;
        if (fuses || (flags & engineindex::kFuses) != 0)
            return duplicatecodes::isCharacterPrefix(table->word(entry, side), line.substr(i));
        return (flags & engineindex::kLoneLead) == 0 || end >= n ||
               !boundaries->pair(original[end - 1], original[end]);
    }
};

// One call's pass over a line: finds the first entry in table order at each character start
// before `stop` and writes the output in place, copying unmatched bytes in runs. When the
// line turns out to need its canonical copy, matches already made may have read bytes that
// the copy holds otherwise, so the scan starts over against it.
class Scan {
public:
    Scan(const SideIndex& index, const DictionaryTable& table, int side, const Steps& steps,
         std::string& copy, std::string_view line, std::string& out,
         std::vector<EngineMatch>* matches = nullptr)
        : probe_{index.view(), &table,
                 side,         line,
                 bytes(line),  bytes(line),
                 line.size(),  &steps.boundaries(),
                 false,        index.view().flags == nullptr},
          steps_(steps), table_(table), target_(1 - side), copy_(copy), out_(out),
          outStart_(out.size()), matches_(matches), matchesStart_(matches ? matches->size() : 0) {
        out_.resize(outStart_ + line.size() + engineindex::kMaxWord);
        dst_ = out_.data() + outStart_;
        limit_ = out_.data() + out_.size();
    }

    // Makes the line canonical before the first comparison (a part of a line: a match
    // near its end may read bytes that no step of this part reaches).
    void settleFirst() { settle(); }

    // Converts the positions before `stop`; returns where the next one begins. The first
    // four bytes of the text at a position give both the step and the gates' key.
    // kWords: word mode, with the line's boundaries from `words`, asked for when the first
    // word of the table is found in the line; positions where no word begins are stepped over.
    template <bool kWords> size_t run(size_t stop, BoundarySource* words = nullptr) {
        const Steps& steps = steps_;
        Probe probe = probe_;
        size_t i = i_;
        while (i < stop) {
            uint32_t four = 0;
            uint8_t step;
            if (i + 4 <= probe.n) {
                four = engineindex::loadFour(probe.text + i);
                // The copy steps as the line does, except where it reads otherwise.
                step = steps.at(probe.fuses ? probe.original[i] | probe.original[i + 1] << 8
                                            : four & 0xFFFF);
            } else {
                step = steps.at(probe.original[i] |
                                (i + 1 < probe.n ? probe.original[i + 1] << 8 : 0));
            }
            if ((step & kOtherForm) != 0 && watch_) {
                settle();
                probe = probe_;
                i = i_;
                continue;
            }
            if constexpr (kWords) {
                if (probe.marks && !probe.marks[i]) {
                    i += step & 3;
                    continue;
                }
            }
            const Match m = probe.template find<kWords>(i, four);
            if (m.entry == kNoEntry) {
                i += step & 3;
                continue;
            }
            if constexpr (kWords) {
                if (!asked_) {
                    // A failed analysis leaves the marks null: plain matching for the line.
                    asked_ = true;
                    probe.marks = probe_.marks = words->marks(probe.line);
                    if (probe.marks)
                        continue; // this position again, on the boundaries
                }
            }
            i_ = i;
            replace(m);
            i = i_;
        }
        i_ = i;
        // An empty line may have no data at all, and memcpy must never see a null pointer.
        if (i_ > runStart_)
            copyRun();
        out_.resize(static_cast<size_t>(dst_ - out_.data()));
        return i_;
    }

private:
    void settle() {
        watch_ = false;
        copy_.resize(probe_.n);
        if (!duplicatecodes::canonicalize(probe_.line, copy_.data(), &probe_.fuses))
            return;
        probe_.text = bytes(copy_);
        probe_.plain = probe_.plain && !probe_.fuses;
        dst_ = out_.data() + outStart_;
        if (matches_)
            matches_->resize(matchesStart_);
        runStart_ = 0;
        i_ = 0;
    }

    void room(size_t wanted) {
        if (static_cast<size_t>(limit_ - dst_) < wanted) {
            const size_t used = static_cast<size_t>(dst_ - out_.data());
            out_.resize(std::max(out_.size() * 2, used + wanted));
            dst_ = out_.data() + used;
            limit_ = out_.data() + out_.size();
        }
    }

    void copyRun() {
        room(i_ - runStart_);
        std::memcpy(dst_, probe_.line.data() + runStart_, i_ - runStart_);
        dst_ += i_ - runStart_;
    }

    void replace(const Match& m) {
        const DictionaryEntry& e = table_.entry(m.entry);
        const auto length = static_cast<size_t>(e.length[target_]);
        room(i_ - runStart_ + length);
        copyRun();
        if (matches_)
            matches_->push_back({i_, m.length, static_cast<size_t>(dst_ - out_.data()) - outStart_,
                                 length, m.entry});
        std::memcpy(dst_, e.word[target_], length);
        dst_ += length;
        i_ += m.length;
        runStart_ = i_;
    }

    Probe probe_;
    const Steps& steps_;
    const DictionaryTable& table_;
    const int target_;
    std::string& copy_;
    bool watch_ = true; // cleared once the line is known canonical or its copy is in use
    std::string& out_;
    const size_t outStart_;
    char* dst_;
    char* limit_;
    size_t runStart_ = 0;
    size_t i_ = 0;
    bool asked_ = false; // word mode: the line's boundaries were asked for
    std::vector<EngineMatch>* matches_;
    const size_t matchesStart_; // what `matches_` held before this line
};

// Most positions are settled by the gates; the few words that share their first four bytes
// are tried from the prefix table, and the trie is walked only where many do or the word
// may be shorter than four bytes. `four`: the first four bytes of the text at `i`, when
// there are four.
template <bool kWords> Match Probe::find(size_t i, uint32_t four) const {
    const Node* const nodes = index.nodes;
    Match best;
    int32_t s = 0;
    size_t k = i;
    if (i + 4 <= n) {
        if (!index.hasShortWord(four & 0xFFFF)) {
            const PrefixSlot* slot = index.mayHaveLongWord(four) ? index.prefix(four) : nullptr;
            if (!slot)
                return best;
            if (slot->count != 0)
                return fromCandidates<kWords>(*slot, i);
            s = slot->node;
            k = i + 4;
            if (const int32_t e = nodes[s].endMin; e != kNoEntry && accepts<kWords>(e, i, k))
                best = {e, 4};
            if (nodes[s].subMin >= best.entry)
                return best;
        }
    }
    for (; k < n; ++k) {
        const int32_t t = nodes[s].base + text[k];
        if (nodes[t].check != s)
            break;
        s = t;
        if (const int32_t e = nodes[s].endMin; e < best.entry && accepts<kWords>(e, i, k + 1))
            best = {e, k - i + 1};
        if (nodes[s].subMin >= best.entry)
            break;
    }
    return best;
}

template <bool kWords> Match Probe::fromCandidates(const PrefixSlot& slot, size_t i) const {
    const size_t rest = n - i - 4;
    const Candidate* c = index.candidates + slot.first;
    for (const Candidate* end = c + slot.count; c != end; ++c) {
        const size_t length = 4 + size_t{c->tailLength};
        if (c->tailLength <= rest && std::memcmp(c->tail, text + i + 4, c->tailLength) == 0 &&
            accepts<kWords>(c->index, i, i + length))
            return {c->index, length};
    }
    return {};
}

} // namespace

struct Engine::Index {
    SideIndex side[2];
    const Steps& steps = Steps::get();
    std::string canonicalLine; // a line's canonical form, when it differs from the line
};

Engine::Engine(const DictionaryTable& table) : table_(table), index_(std::make_unique<Index>()) {}

Engine::~Engine() = default;

void Engine::sync() {
    syncSide(0);
    syncSide(1);
}

void Engine::syncSide(int side, bool words) {
    SideIndex& index = index_->side[side];
    if (!index.built || index.generation != table_.generation() ||
        index.indexedCount > table_.count() || (words && !index.words))
        index.build(table_, side, words);
    else if (index.indexedCount < table_.count())
        index.append(table_, side);
}

void Engine::convertLine(std::string_view line, int side, std::string& out,
                         std::vector<EngineMatch>* matches, BoundarySource* words) {
    syncSide(side, words != nullptr);
    Scan scan(index_->side[side], table_, side, index_->steps, index_->canonicalLine, line, out,
              matches);
    if (words)
        scan.run<true>(line.size(), words);
    else
        scan.run<false>(line.size());
}

size_t Engine::convertPart(std::string_view text, size_t stop, int side, std::string& out) {
    syncSide(side);
    Scan scan(index_->side[side], table_, side, index_->steps, index_->canonicalLine, text, out);
    scan.settleFirst();
    return scan.run<false>(std::min(stop, text.size()));
}

std::string Engine::convertLine(std::string_view line, int side) {
    std::string out;
    out.reserve(line.size());
    convertLine(line, side, out);
    return out;
}

} // namespace sorvanti
