#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sorvanti {

class DictionaryTable;

// Adding a word pair to the dictionary in use: its file and its table.
namespace wordregistration {

// Why a word would not read back from the file as it was typed.
enum class WordFault {
    None,
    Empty,       // no word at all: the line would hold one word
    Blank,       // a blank or a tab, inside or at either end: the line would split there
    LineBreak,   // a line break (or a zero byte): the line would end there
    CommentMark, // a standard word starting with "#": the line would be a comment
    TooLong,     // more than DictionaryTable::kMaxWordBytes: the word would be cut
};

struct WordProblem {
    WordFault fault = WordFault::None;
    int side = 0;     // 0 the standard word, 1 the converted word
    size_t bytes = 0; // the word's length in code page 932 bytes (for TooLong)
};

// The first word of the pair (code page 932 bytes), standard word first, that would not read
// back as typed; fault None when both would.
WordProblem checkWords(std::string_view standard, std::string_view converted);

// What the user is told about `problem`, UTF-8.
// Example: {TooLong, 0, 45} -> "標準語が長すぎます（45バイト、40バイトまで）。"
std::string wordProblemMessage(const WordProblem& problem);

enum class Outcome {
    Registered,  // the line is in the file and the pair last in the table
    WordRefused, // a word would not read back as typed (checkWords): nothing changed
    CannotOpen,  // the file could not be opened for appending: nothing changed
    WriteFailed, // writing or closing failed: the table is unchanged, the file may hold part
    TableFull,   // the table holds its 2000 entries: nothing changed
    NoFileForm,  // a word holds bytes that the file's encoding (UTF-8) cannot show: nothing changed
    WouldReadAsUtf8, // the line would make the code page 932 file read as UTF-8: nothing changed
};

// Refuses a pair that checkWords() finds fault with (its problem in `problem`, when given).
// Otherwise appends the pair's line ("%s\t\t%s" and the line end) to the file at table.path() in
// the file's own encoding and line ends (a new or empty file: code page 932, CR LF). The file is
// created when missing; a line end is written first when the file's last line has none, so that
// line stays whole. Nothing is written that would change how the file as a whole reads at the next
// load. Then, only when the file took it, appends the pair to the table. The file is written first
// so that a failed write leaves the run and the next start agreeing on the dictionary.
Outcome registerPair(DictionaryTable& table, std::string_view standard, std::string_view converted,
                     WordProblem* problem = nullptr);

} // namespace wordregistration
} // namespace sorvanti
