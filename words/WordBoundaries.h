#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace MeCab {
class Lattice;
} // namespace MeCab

namespace sorvanti::words {

class WordAnalyser;

// Where words begin and end in one line: a mark for each offset 0..lineSize() (bytes of code
// page 932, or UTF-16 units). The start and the end of the line are always marked; an offset
// inside a character never is.
class BoundarySet {
public:
    bool at(size_t offset) const { return offset < marks_.size() && marks_[offset] != 0; }
    // marks()[offset] for offset 0..lineSize(): the form a scan reads without a bounds check.
    const uint8_t* marks() const { return marks_.data(); }
    size_t lineSize() const { return marks_.empty() ? 0 : marks_.size() - 1; }
    std::vector<size_t> offsets() const;

private:
    friend class WordBoundaries;
    void reset(size_t lineSize);

    std::vector<uint8_t> marks_;
};

// Finds the word boundaries of lines with a WordAnalyser. Keeps MeCab's working memory and
// its own buffers from line to line, so one object serves a whole run on one thread. Not to
// be shared between threads: each thread makes its own from the shared analyser.
//
// Example (mecab-ipadic-utf8): "ねこがいる" in code page 932 has boundaries at bytes
// 0, 4 (ねこ|), 6 (が|) and 10: "ね" alone is no word there.
class WordBoundaries {
public:
    explicit WordBoundaries(const WordAnalyser& analyser);
    ~WordBoundaries();
    WordBoundaries(const WordBoundaries&) = delete;
    WordBoundaries& operator=(const WordBoundaries&) = delete;

    // The boundaries of a line of code page 932 bytes, as the conversion steps through it
    // (cp932::Boundaries): a lead byte and the byte after it are one character only when the
    // two are a code of the code page; a stray lead byte stands alone and the byte after it
    // begins the next character. Bytes that are no code page 932 character take part as the
    // decoder's raw-byte escapes. Blanks between words are no word: a boundary falls on both
    // sides of them. Returns false when MeCab failed on the line; `out` then marks every
    // character start, so that a scan that asks for boundaries matches as it would without.
    bool ofCp932(std::string_view line, BoundarySet& out);

    // The same for a line of UTF-16 text (characters that code page 932 lacks included);
    // offsets count UTF-16 units, and a surrogate pair is one character.
    bool ofUtf16(std::u16string_view line, BoundarySet& out);

private:
    void addCharacter(size_t origin, std::u16string_view units);
    bool analyse(size_t lineSize, BoundarySet& out);
    size_t windowEnd(size_t start) const;
    bool analyseWindow(size_t start, size_t end, BoundarySet& out);
    void markAt(size_t utf8Offset, BoundarySet& out) const;

    const WordAnalyser& analyser_;
    std::unique_ptr<MeCab::Lattice> lattice_;
    std::u16string units_;       // one character of the line, decoded
    std::string utf8_;           // the line as MeCab reads it
    std::vector<size_t> origin_; // per byte of utf8_ (and its end): offset in the line, or kInside
};

} // namespace sorvanti::words
