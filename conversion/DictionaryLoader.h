#pragma once

#include "conversion/DictionaryTable.h"
#include "toolkit/TextEncoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace sorvanti {

// The line buffer holds 256 bytes: a read takes at most 255 bytes and stops after a line
// feed, so longer lines arrive in pieces that are each taken apart on their own.
constexpr size_t kLinePieceBytes = 255;

// The field reader's separators between words: blank and tab.
constexpr bool isSeparator(char c) {
    return c == ' ' || c == '\t';
}

// Reads one word of `side` from `line` starting at `pos` into `slot` (first 40 bytes,
// zero byte, length). Returns the position of the byte that ended the word, or npos
// when the line yields no entry from here (end of line; "#" at side 0; a lone word
// at side 0). `line` may include its line feed; a zero byte ends the line as well,
// as it would in the line buffer. Separators are blank and tab only.
// Example: "  abc\t\tdef\n" gives "abc" (returns 5) at side 0, then "def" at side 1.
size_t readField(std::string_view line, size_t pos, int side, DictionaryEntry& slot);

// The most a dictionary load reads: 16 MiB, a hundred times the most that 2000 entries of
// two 40-byte words fill, even with long comments. What follows is not read.
constexpr int64_t kMaxDictionaryBytes = int64_t{16} << 20;

struct LoadResult {
    bool opened = false;           // false: the file could not be opened; table untouched
    bool complete = true;          // false: a read error cut the file short (see error)
    int32_t entries = 0;           // entries now in the table
    int64_t entriesDropped = 0;    // entry lines past the table's capacity that were not taken
    bool sizeLimitReached = false; // reading stopped after kMaxDictionaryBytes
    int error = 0;                 // the system's error number when !opened or !complete
    textencoding::Encoding encoding = textencoding::Encoding::Cp932;
    // UTF-8 lines that could not go into the table (invalid UTF-8, or a character that
    // code page 932 lacks), and the number of the first of them.
    int64_t linesNotTaken = 0;
    int64_t firstLineNotTaken = 0;
    // The file declares word mode (WordModeDeclaration.h); the table carries it too.
    bool wordMode = false;
};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using DictionaryFilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens the dictionary file at `path` for reading. A folder opens on Linux but can never be
// read as a dictionary: it gives EISDIR. On failure returns null and sets `error` to the
// system's error number.
DictionaryFilePtr openDictionaryFile(const std::string& path, int& error);

// The detection pass over a dictionary file: feeds what a load reads of `file` (from where it
// stands, kMaxDictionaryBytes at most) to a detector, whose state is returned so that a caller
// can go on feeding it (what would a line appended to the file do to its reading?).
// `firstLineEnd` (when given) receives the file's first line end, "\r\n" or "\n", and is
// left as it was when the file has none.
textencoding::Detector scanDictionary(std::FILE* file, std::string* firstLineEnd = nullptr);

// Replaces the table's path with `path`, then reads the file into the table
// (text mode, 256-byte line buffer, field reader). A UTF-8 file (textencoding::detect)
// is turned into code page 932 line by line first; its mark is left out. A CR that ends the
// file ends its last line, as the CR of a CR LF would. Stops taking
// entries at capacity; the rest of the file is still scanned, into a slot outside the table,
// only to count the entries it would have given (entriesDropped). Reads at most
// kMaxDictionaryBytes, so that a file that never ends (/dev/zero) ends the load too.
// The declaration of word mode (WordModeDeclaration.h) sets wordMode in the result and in
// the table.
LoadResult loadDictionaryFile(DictionaryTable& table, const std::string& path);

// The folder of the dictionaries under `base`: base + "辞書/", with a '/' put after a base
// that lacks one. An empty base gives "辞書/".
std::string dictionaryFolder(const std::string& base);

// dictionaryFolder(programDir) + name + ".txt".
std::string dictionaryPath(const std::string& programDir, std::string_view name);

// loadDictionaryFile(table, dictionaryPath(programDir, name)).
LoadResult loadDictionary(DictionaryTable& table, const std::string& programDir,
                          std::string_view name);

} // namespace sorvanti
