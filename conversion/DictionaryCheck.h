#pragma once

#include "conversion/DictionaryTable.h"
#include "toolkit/TextEncoding.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanti {

// What a finding is about, for a reader that shows findings its own way (the editor).
enum class FindingKind {
    InvalidUtf8,  // a UTF-8 line that is no UTF-8: skipped
    NoCp932Form,  // a UTF-8 line with a character code page 932 lacks: skipped
    StrayBytes,   // bytes that are no code page 932 character
    LongLine,     // 255 bytes or more: read in pieces
    BlankOnly,    // blanks only: skipped
    SingleWord,   // one word only: skipped
    WordCut,      // the word of `side` is cut at 40 bytes
    PastCapacity, // an entry past the 2000th
    SizeLimit,    // reading stops here
    Duplicate,    // the same pair as line `cause`
    Hidden,       // the pair never matches in the direction that reads `side`: line `cause` does
    StartsInsideWord, // word mode: the word of `side` never begins on a word boundary
    LateDeclaration,  // a word-mode declaration after the first entry, which declares nothing
    NoWordBoundaries, // word mode's rules without an analyser: only the same word hides
    IgnoredRest,      // words after the pair, which the loader does not read
};

class WordAnalyserHolder;
namespace wordcheck {
class WordMarksCache;
} // namespace wordcheck

// One thing a dictionary's author should know about one line.
struct CheckFinding {
    int64_t line = 0;    // 1-based line number in the file
    std::string message; // UTF-8, without the file name and line number
    bool lost = false;   // a pair of this line is dead or lost
    FindingKind kind = FindingKind::SingleWord;
    int side = -1;     // WordCut, Hidden: the side of the word (the direction that reads it)
    int64_t cause = 0; // Duplicate, Hidden: the line of the earlier pair; else 0
};

// The findings a report keeps, the first in line order; the rest are only counted.
constexpr size_t kMaxKeptFindings = 10000;

struct CheckReport {
    textencoding::Encoding encoding = textencoding::Encoding::Cp932;
    std::vector<CheckFinding> findings; // in line order, at most kMaxKeptFindings
    int64_t findingCount = 0;           // every finding, those not kept included
    int64_t lostCount = 0;              // findings of dead or lost pairs, likewise
    bool sizeLimitReached = false;      // the bytes went on past what the load reads
    // The table the loader builds from the same bytes, and the line of each entry.
    std::unique_ptr<DictionaryTable> table = std::make_unique<DictionaryTable>();
    std::vector<int64_t> entryLine;
    bool wordMode = false;                 // the file declares word mode (WordModeDeclaration.h)
    std::vector<int64_t> declarationLines; // the lines that declare it, before the first entry
    bool wordRules = false;                // the hidden pairs were found by word mode's rules
    bool anyLost() const { return lostCount > 0; }
};

// How the check treats word mode (WordCheck.h).
struct CheckWords {
    // Where word mode's rules take the analyser from, asked only when they hold. Null, or no
    // analyser to be had: only the same word counts as hiding a pair, and a finding says why.
    WordAnalyserHolder* analyser = nullptr;
    // Word mode's rules on or off whatever the file declares (sorvanti-convert --words,
    // --no-words); unset: as the file declares.
    std::optional<bool> force;
    // Keeps the words' analyses for the next check (the editor's, which checks after every
    // edit); null: each check analyses anew.
    wordcheck::WordMarksCache* cache = nullptr;
};

// Goes through a dictionary file's bytes the way the loader reads them and reports the
// lines it skips, words it cuts, entries past the table's capacity, bytes that are not
// text in the file's encoding, exact duplicates, and pairs that an earlier pair hides in
// the direction that reads `side` (0: 変換, 1: 逆変換). Like the load, it reads no more
// than kMaxDictionaryBytes of `fileBytes`; when there are more, a finding says where
// reading stops. Memory stays within a few times that bound, however many findings.
//
// In word mode (declared, or forced by `words`) an earlier word hides a later one only where
// it ends on a boundary of the later word's own analysis, and words that can never begin on
// a word boundary are reported (wordcheck::startsInsideWord). A declaration after the first
// entry line is reported, since it declares nothing there.
CheckReport checkDictionary(std::string_view fileBytes, int side, const CheckWords& words = {});

// The same check over a dictionary held as lines (each without its line end, in `encoding`;
// every line but the last ends with a line feed, the last too when `lastLineFeed`), in both
// directions at once: hidden pairs are found for side 0 (変換) and side 1 (逆変換).
CheckReport checkDictionaryLines(std::span<const std::string_view> lines,
                                 textencoding::Encoding encoding, bool lastLineFeed,
                                 const CheckWords& words = {});

// One line of a dictionary file: its bytes and the line end after them ("\r\n", "\n", a CR
// that ends the file, or nothing when the last line has none).
struct DictionaryFileLine {
    std::string_view text;
    std::string_view ending;
};

// The lines of a dictionary file's bytes (after any byte-order mark) as the loader reads
// them: a line ends at a line feed, with the CR directly before it, and a CR that ends the
// bytes ends the last line unless `finalCrEndsLine` is false (the bytes were cut short).
std::vector<DictionaryFileLine> splitDictionaryLines(std::string_view bytes,
                                                     bool finalCrEndsLine = true);

} // namespace sorvanti
