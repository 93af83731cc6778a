#pragma once

#include "conversion/DictionaryTable.h"
#include "toolkit/TextEncoding.h"

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanti {

// One thing a dictionary's author should know about one line.
struct CheckFinding {
    int64_t line = 0;    // 1-based line number in the file
    std::string message; // UTF-8, without the file name and line number
    bool lost = false;   // a pair of this line is dead or lost
};

struct CheckReport {
    textencoding::Encoding encoding = textencoding::Encoding::Cp932;
    std::vector<CheckFinding> findings; // in line order
    // The table the loader builds from the same bytes, and the line of each entry.
    std::unique_ptr<DictionaryTable> table = std::make_unique<DictionaryTable>();
    std::vector<int64_t> entryLine;
    bool anyLost() const;
};

// Goes through a dictionary file's bytes the way the loader reads them and reports the
// lines it skips, words it cuts, entries past the table's capacity, bytes that are not
// text in the file's encoding, exact duplicates, and pairs that an earlier pair hides in
// the direction that reads `side` (0: 変換, 1: 逆変換).
CheckReport checkDictionary(std::string_view fileBytes, int side);

// Writes "FILE:LINE: message" for each finding, then a summary line, to `out`.
// Returns 0 when nothing is lost, 1 otherwise.
int printCheckReport(const CheckReport& report, std::string_view fileName, std::ostream& out);

} // namespace sorvanti
