#pragma once

#include <string>
#include <string_view>

namespace sorvanti {

class DictionaryTable;

// Adding a word pair to the dictionary in use: its file and its table.
namespace wordregistration {

enum class Outcome {
    Registered,  // the line is in the file and the pair last in the table
    CannotOpen,  // the file could not be opened for appending: nothing changed
    WriteFailed, // writing or closing failed: the table is unchanged, the file may hold part
    TableFull,   // the table holds its 2000 entries: nothing changed
    NoFileForm,  // a word holds bytes that the file's encoding (UTF-8) cannot show: nothing changed
    WouldReadAsUtf8, // the line would make the code page 932 file read as UTF-8: nothing changed
};

// Appends the pair's line ("%s\t\t%s" and the line end, the words whole, not cut to 40 bytes)
// to the file at table.path() in the file's own encoding and line ends (a new or empty file:
// code page 932, CR LF). The file is created when missing; a line end is written first when
// the file's last line has none, so that line stays whole. Nothing is written that would
// change how the file as a whole reads at the next load. Then, only
// when the file took it, appends the pair to the table. The file is written first so that a
// failed write leaves the run and the next start agreeing on the dictionary.
Outcome registerPair(DictionaryTable& table, std::string_view standard, std::string_view converted);

} // namespace wordregistration
} // namespace sorvanti
