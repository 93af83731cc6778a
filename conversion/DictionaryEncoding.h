#pragma once

#include "toolkit/TextEncoding.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Dictionary files in either encoding. The table always holds code page 932 bytes: a
// UTF-8 dictionary is turned into code page 932 line by line as it is read, so that the
// 40-byte limit and the 255-byte line pieces count the same bytes, and the same
// dictionary in either encoding gives the same table.
namespace sorvanti {

// Why a UTF-8 dictionary line cannot go into the table.
enum class Utf8LineFault {
    None,
    Invalid,    // not valid UTF-8
    NoCp932Form // holds a character that code page 932 lacks
};

// Appends the code page 932 form of the UTF-8 `line` to `out`; on a fault appends
// nothing. Example: "犬\t\t猫" -> "\x8C\xA2\t\t\x94\x4C".
Utf8LineFault utf8LineToCp932(std::string_view line, std::string& out);

// The one notice the window shows after loading a dictionary whose UTF-8 lines could not
// all be taken (LoadResult::linesNotTaken, firstLineNotTaken); UTF-8 text.
// Example: (3, 12) -> "辞書の12行目など3行は、使えない文字があるため読み飛ばしました。"
std::string linesNotTakenNotice(int64_t lines, int64_t firstLine);

// How an existing dictionary file is written, so that a line added to it matches.
struct DictionaryFileFormat {
    textencoding::Encoding encoding = textencoding::Encoding::Cp932;
    bool bom = false;
    std::string lineEnd = "\r\n";   // that of its first line; CR LF when it has none
    textencoding::Detector content; // what its bytes told the detector
};

// The format of the file at `path`; code page 932 with CR LF when it is empty or cannot
// be read (a new file is written the program's own way).
DictionaryFileFormat dictionaryFileFormat(const std::string& path);

// Whether the file still reads in its encoding once `appended` is added to its end: bytes
// that are fine on their own can make a code page 932 file valid UTF-8 as a whole
// ("縺、" is E3 81 81 41 there, "ぁA" in UTF-8), and the next load would read it all otherwise.
bool keepsItsReading(const DictionaryFileFormat& format, std::string_view appended);

// One dictionary line as the program writes it ("%s\t\t%s" and the line end) in the
// file's format, from the code page 932 words of the table. nullopt when a word holds
// bytes that are no code page 932 character and so have no UTF-8 form.
std::optional<std::string> dictionaryLine(std::string_view standard, std::string_view converted,
                                          const DictionaryFileFormat& format);

} // namespace sorvanti
