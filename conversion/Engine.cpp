#include "conversion/Engine.h"

#include "conversion/DuplicateCodes.h"
#include "conversion/EngineIndex.h"
#include "toolkit/Cp932.h"

#include <algorithm>
#include <cstring>

namespace sorvanti {

using engineindex::Candidate;
using engineindex::kNoEntry;
using engineindex::Node;
using engineindex::PrefixSlot;
using engineindex::SideIndex;

namespace {

inline const uint8_t* bytes(std::string_view s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

// What a byte at a character start is to the scan: a character of one byte, a lead byte
// (a pair when cp932::Boundaries says so), or a lead byte under which code page 932 has
// duplicate codes (0x87, 0xED, 0xEE, 0xFA-0xFC): there the line is checked for codes that
// the index holds in another form before it is compared as it is.
enum ByteKind : uint8_t { kOneByte, kLead, kDuplicateLead };

struct ByteKinds {
    ByteKind kind[256];
    constexpr ByteKinds() : kind() {
        for (int b = 0; b < 256; ++b)
            kind[b] = cp932::isLeadByte(static_cast<unsigned char>(b)) ? kLead : kOneByte;
        for (const int b : {0x87, 0xED, 0xEE, 0xFA, 0xFB, 0xFC})
            kind[b] = kDuplicateLead;
    }
};
constexpr ByteKinds kKinds;

struct Match {
    int32_t entry = kNoEntry;
    size_t length = 0;
};

// One call's pass over a line: finds the first entry in table order at each character
// start before `stop` and writes the output in place, copying unmatched bytes in runs.
//
// Words are compared against `text_`: the line itself while every character start met
// holds no duplicate code in a form other than the index's, else the line's canonical
// copy (same length, same character boundaries). When the line turns out to need the
// copy, matches already made may have read bytes that the copy holds otherwise, so the
// scan starts over against it.
class Scan {
public:
    Scan(const SideIndex& index, const DictionaryTable& table, int side, std::string& copy,
         std::string_view line, std::string& out)
        : index_(index.view()), table_(table), target_(1 - side), copy_(copy), line_(line),
          original_(bytes(line)), text_(original_), n_(line.size()),
          boundaries_(cp932::boundaries()), out_(out), outStart_(out.size()) {
        out_.resize(outStart_ + n_ + engineindex::kMaxWord);
        dst_ = out_.data() + outStart_;
        limit_ = out_.data() + out_.size();
    }

    // Makes the line canonical before the first comparison (a part of a line: a match
    // near its end may read bytes that no step of this part reaches).
    void settleFirst() { settle(); }

    // Converts the positions before `stop`; returns where the next one begins.
    size_t run(size_t stop) {
        while (i_ < stop) {
            const uint8_t b = original_[i_];
            const ByteKind kind = kKinds.kind[b];
            if (kind == kDuplicateLead && watch_ && i_ + 1 < n_ &&
                duplicatecodes::canonicalCode(static_cast<uint16_t>(b << 8 | original_[i_ + 1])) !=
                    (b << 8 | original_[i_ + 1])) {
                settle();
                continue;
            }
            const Match m = find(i_);
            if (m.entry != kNoEntry)
                replace(m);
            else
                i_ += kind != kOneByte && i_ + 1 < n_ && boundaries_.pair(b, original_[i_ + 1]) ? 2
                                                                                                : 1;
        }
        // An empty line may have no data at all, and memcpy must never see a null pointer.
        if (i_ > runStart_)
            copyRun();
        out_.resize(static_cast<size_t>(dst_ - out_.data()));
        return i_;
    }

private:
    void settle() {
        watch_ = false;
        copy_.resize(n_);
        if (!duplicatecodes::canonicalize(line_, copy_.data(), &lineFuses_))
            return;
        text_ = bytes(copy_);
        dst_ = out_.data() + outStart_;
        runStart_ = 0;
        i_ = 0;
    }

    // Whether the word of `entry`, whose canonical bytes are those of the text from `i` to
    // `end`, matches there as characters. Equal canonical bytes mean equal characters but
    // for a word that ends with a lone lead byte (the text must have that byte alone too)
    // and for a word or a line whose canonical form reads otherwise than it (then the
    // characters are compared one by one).
    bool accepts(int32_t entry, size_t i, size_t end) const {
        const uint8_t flags = index_.flags ? index_.flags[entry] : 0;
        if (lineFuses_ || (flags & engineindex::kFuses) != 0)
            return duplicatecodes::isCharacterPrefix(table_.word(entry, 1 - target_),
                                                     line_.substr(i));
        return (flags & engineindex::kLoneLead) == 0 || end >= n_ ||
               !boundaries_.pair(original_[end - 1], original_[end]);
    }

    Match find(size_t i) const;
    Match fromCandidates(const PrefixSlot& slot, size_t i) const;

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
        std::memcpy(dst_, line_.data() + runStart_, i_ - runStart_);
        dst_ += i_ - runStart_;
    }

    void replace(const Match& m) {
        const DictionaryEntry& e = table_.entry(m.entry);
        const auto length = static_cast<size_t>(e.length[target_]);
        room(i_ - runStart_ + length);
        copyRun();
        std::memcpy(dst_, e.word[target_], length);
        dst_ += length;
        i_ += m.length;
        runStart_ = i_;
    }

    const SideIndex::View index_;
    const DictionaryTable& table_;
    const int target_;
    std::string& copy_;
    const std::string_view line_;
    const uint8_t* const original_;
    const uint8_t* text_;
    const size_t n_;
    const cp932::Boundaries& boundaries_;
    bool watch_ = true;      // cleared once the line is known canonical or its copy is in use
    bool lineFuses_ = false; // the copy reads otherwise than the line in places
    std::string& out_;
    const size_t outStart_;
    char* dst_;
    char* limit_;
    size_t runStart_ = 0;
    size_t i_ = 0;
};

// Most positions are settled by the gates; the few words that share their first four bytes
// are tried from the prefix table, and the trie is walked only where many do or the word
// may be shorter than four bytes.
Match Scan::find(size_t i) const {
    const Node* const nodes = index_.nodes;
    Match best;
    int32_t s = 0;
    size_t k = i;
    if (i + 4 <= n_) {
        const uint32_t four = engineindex::loadFour(text_ + i);
        if (!index_.hasShortWord(four & 0xFFFF)) {
            const PrefixSlot* slot = index_.mayHaveLongWord(four) ? index_.prefix(four) : nullptr;
            if (!slot)
                return best;
            if (slot->count != 0)
                return fromCandidates(*slot, i);
            s = slot->node;
            k = i + 4;
            if (const int32_t e = nodes[s].endMin; e != kNoEntry && accepts(e, i, k))
                best = {e, 4};
            if (nodes[s].subMin >= best.entry)
                return best;
        }
    }
    for (; k < n_; ++k) {
        const int32_t t = nodes[s].base + text_[k];
        if (nodes[t].check != s)
            break;
        s = t;
        if (const int32_t e = nodes[s].endMin; e < best.entry && accepts(e, i, k + 1))
            best = {e, k - i + 1};
        if (nodes[s].subMin >= best.entry)
            break;
    }
    return best;
}

Match Scan::fromCandidates(const PrefixSlot& slot, size_t i) const {
    const size_t rest = n_ - i - 4;
    const Candidate* c = index_.candidates + slot.first;
    for (const Candidate* end = c + slot.count; c != end; ++c) {
        const size_t length = 4 + size_t{c->tailLength};
        if (c->tailLength <= rest && std::memcmp(c->tail, text_ + i + 4, c->tailLength) == 0 &&
            accepts(c->index, i, i + length))
            return {c->index, length};
    }
    return {};
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
    syncSide(side);
    Scan(index_->side[side], table_, side, index_->canonicalLine, line, out).run(line.size());
}

size_t Engine::convertPart(std::string_view text, size_t stop, int side, std::string& out) {
    syncSide(side);
    Scan scan(index_->side[side], table_, side, index_->canonicalLine, text, out);
    scan.settleFirst();
    return scan.run(std::min(stop, text.size()));
}

std::string Engine::convertLine(std::string_view line, int side) {
    std::string out;
    out.reserve(line.size());
    convertLine(line, side, out);
    return out;
}

} // namespace sorvanti
