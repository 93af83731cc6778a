#pragma once

#include <string>
#include <string_view>

namespace sorvanti {

class DictionaryTable;

// Adding a word pair to the dictionary in use: its file and its table.
namespace wordregistration {

// The line a pair adds to a dictionary file: the two words whole (not cut to 40 bytes),
// two tabs between them, CR LF after them. Example: ("abc", "def") -> "abc\t\tdef\r\n".
std::string dictionaryLine(std::string_view standard, std::string_view converted);

enum class Outcome {
    Registered,  // the line is in the file and the pair last in the table
    CannotOpen,  // the file could not be opened for appending: nothing changed
    WriteFailed, // writing or closing failed: the table is unchanged, the file may hold part
    TableFull,   // the table holds its 2000 entries: nothing changed
};

// Appends the pair's line to the file at table.path() (created when missing; a line end is
// written first when the file's last line has none, so that line stays whole), then, only
// when the file took it, appends the pair to the table. The file is written first so that a
// failed write leaves the run and the next start agreeing on the dictionary.
Outcome registerPair(DictionaryTable& table, std::string_view standard, std::string_view converted);

} // namespace wordregistration
} // namespace sorvanti
