#pragma once

#include "conversion/DictionaryTable.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanti {

// One replacement that a conversion made: the source bytes [from, from + length) of the line
// became the output bytes [outFrom, outFrom + outLength) of what the call appended, by the
// entry at `entry` in table order.
struct EngineMatch {
    size_t from = 0;
    size_t length = 0;
    size_t outFrom = 0;
    size_t outLength = 0;
    int32_t entry = 0;
    bool operator==(const EngineMatch&) const = default;
};

// Word mode's boundaries of a line (WordMode.h takes them from the analyser). The engine asks
// for them at most once a line, and only once a word of the table occurs in the line at all.
class BoundarySource {
public:
    // Non-zero at each offset 0..line.size() of `line` where a word begins or ends (the
    // line's start and end included), never inside a character; null when the line could
    // not be analysed, which the engine then converts as in plain mode.
    virtual const uint8_t* marks(std::string_view line) = 0;

protected:
    ~BoundarySource() = default;
};

// Converts lines of code page 932 text with a dictionary table: at each character start
// the first entry in table order whose side-p word is a non-empty prefix of the rest, ending
// where a character of the line ends, is replaced by its side-(1-p) word; otherwise one
// character is copied. Characters begin where cp932::Boundaries says (Cp932.h): a lead byte
// 0x81-0x9F or 0xE0-0xFC and the next byte are one character when they are a code of the
// code page; a lead byte that ends the line, or that makes no code with the next byte, is
// copied alone. No word is ever found inside a character, nor ends inside one.
// Example: with entries (a -> X) and (ab -> Y) in this order, "ab" becomes "Xb".
//
// Words and text are compared with code page 932's duplicate codes made one (see
// DuplicateCodes.h): a word written with 0xEEAC matches 0xFBC8 in the text and the
// other way round. What is copied or written out keeps its own bytes.
//
// The engine keeps an index over the table and follows it: a reload of the table is
// noticed through its generation and rebuilds the index, appended entries are added
// to it. The table must outlive the engine and must not change during a call.
// An engine is not shared between threads.
class Engine {
public:
    explicit Engine(const DictionaryTable& table);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Appends the converted `line` (without line break) to `out`. When `matches` is given,
    // each replacement is appended to it, in line order.
    //
    // With `words`, word mode: a word is a match at a position only when the line has a word
    // boundary just before it and just after it; among the words that are, the first in
    // table order wins, and where none is, one character is copied. Example: with the entry
    // (ね -> なあ), "ねこがね" becomes "ねこがなあ" (ねこ|が|ね).
    void convertLine(std::string_view line, int side, std::string& out,
                     std::vector<EngineMatch>* matches = nullptr, BoundarySource* words = nullptr);
    std::string convertLine(std::string_view line, int side);

    // Converts the beginning of a line that is handed over in parts (a line too long to
    // hold): every position before `stop`. `text` begins where a character of the line
    // begins (the line's start, or what an earlier call returned), and at least
    // kMaxWordBytes + 1 bytes of it follow `stop`, so that whatever a match there reads
    // is in `text`. Appends the result and returns how many bytes of `text` it covers (at
    // least `stop`, on a character boundary); the rest begins the next part. Converting a
    // line in parts this way gives exactly what convertLine gives, whatever the parts.
    // Plain mode only: word mode analyses whole lines.
    size_t convertPart(std::string_view text, size_t stop, int side, std::string& out);

    // Brings the index of both sides up to date with the table: rebuilt after a reload,
    // extended by appended entries. The conversion calls do this for their side on
    // their own; calling it early only moves the work.
    void sync();

private:
    struct Index;
    void syncSide(int side, bool words = false);
    const DictionaryTable& table_;
    std::unique_ptr<Index> index_;
};

} // namespace sorvanti
