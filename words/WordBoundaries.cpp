#include "words/WordBoundaries.h"

#include "toolkit/Cp932.h"
#include "words/WordAnalyser.h"

#include <mecab.h>

#include <algorithm>
#include <array>

namespace sorvanti::words {

namespace {

// A byte of the UTF-8 text that does not begin a character of the line.
constexpr size_t kInside = static_cast<size_t>(-1);

// MeCab counts a word's length and the blanks before it in 16 bits: a longer run of blanks
// loses the words after it. A longer line is analysed in windows of at most this many UTF-8
// bytes, cut where a boundary is sure to be when there is such a place in the window's second
// half (after a blank or a Japanese full stop or comma), else between two characters.
constexpr size_t kWindowBytes = 16 * 1024;

bool followsBreak(std::string_view text, size_t at) {
    static constexpr std::array<std::string_view, 5> kBreaks = {" ", "\t", "。", "、", "　"};
    return std::any_of(kBreaks.begin(), kBreaks.end(), [&](std::string_view b) {
        return at >= b.size() && text.substr(at - b.size(), b.size()) == b;
    });
}

} // namespace

std::vector<size_t> BoundarySet::offsets() const {
    std::vector<size_t> result;
    for (size_t i = 0; i < marks_.size(); ++i) {
        if (marks_[i])
            result.push_back(i);
    }
    return result;
}

void BoundarySet::reset(size_t lineSize) {
    marks_.assign(lineSize + 1, 0);
    marks_.front() = 1;
    marks_.back() = 1;
}

WordBoundaries::WordBoundaries(const WordAnalyser& analyser)
    : analyser_(analyser), lattice_(analyser.model_->createLattice()) {}

WordBoundaries::~WordBoundaries() = default;

bool WordBoundaries::ofCp932(std::string_view line, BoundarySet& out) {
    utf8_.clear();
    origin_.clear();
    const cp932::Boundaries& characters = cp932::boundaries();
    for (size_t pos = 0; pos < line.size();) {
        const size_t n = characters.length(line, pos);
        units_.clear();
        cp932::decodeAppend(line.substr(pos, n), units_);
        addCharacter(pos, units_);
        pos += n;
    }
    return analyse(line.size(), out);
}

bool WordBoundaries::ofUtf16(std::u16string_view line, BoundarySet& out) {
    utf8_.clear();
    origin_.clear();
    for (size_t pos = 0; pos < line.size();) {
        size_t n = 1;
        cp932::encodable(line, pos, &n); // only for its count of units: 2 for a surrogate pair
        addCharacter(pos, line.substr(pos, n));
        pos += n;
    }
    return analyse(line.size(), out);
}

void WordBoundaries::addCharacter(size_t origin, std::u16string_view units) {
    const size_t at = utf8_.size();
    cp932::toUtf8Append(units, utf8_);
    origin_.resize(utf8_.size(), kInside);
    origin_[at] = origin;
}

bool WordBoundaries::analyse(size_t lineSize, BoundarySet& out) {
    out.reset(lineSize);
    origin_.push_back(lineSize); // the end of the UTF-8 text is the end of the line
    bool ok = lattice_ != nullptr;
    for (size_t start = 0; ok && start < utf8_.size();) {
        const size_t end = windowEnd(start);
        ok = analyseWindow(start, end, out);
        start = end;
    }
    if (!ok) {
        for (size_t origin : origin_) {
            if (origin != kInside)
                out.marks_[origin] = 1;
        }
    }
    return ok;
}

size_t WordBoundaries::windowEnd(size_t start) const {
    if (utf8_.size() - start <= kWindowBytes)
        return utf8_.size();
    // A character is at most six UTF-8 bytes (a code page 932 pair that decodes to two
    // escapes), so the window's second half always holds a place between two characters.
    size_t cut = 0;
    for (size_t k = start + kWindowBytes; k > start + kWindowBytes / 2; --k) {
        if (origin_[k] == kInside)
            continue;
        if (cut == 0)
            cut = k;
        if (followsBreak(utf8_, k))
            return k;
    }
    return cut;
}

bool WordBoundaries::analyseWindow(size_t start, size_t end, BoundarySet& out) {
    lattice_->set_sentence(utf8_.data() + start, end - start);
    if (!analyser_.tagger_->parse(lattice_.get()))
        return false;
    const char* base = lattice_->sentence();
    for (const MeCab::Node* node = lattice_->bos_node(); node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE)
            continue;
        if (node->surface < base || node->surface + node->length > base + (end - start))
            return false; // not a piece of this window: distrust the whole analysis
        const auto begin = static_cast<size_t>(node->surface - base);
        markAt(start + begin, out);
        markAt(start + begin + node->length, out);
    }
    markAt(start, out);
    markAt(end, out);
    return true;
}

void WordBoundaries::markAt(size_t utf8Offset, BoundarySet& out) const {
    if (origin_[utf8Offset] != kInside)
        out.marks_[origin_[utf8Offset]] = 1;
}

} // namespace sorvanti::words
