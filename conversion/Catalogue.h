#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sorvanti {

// Compares two dictionary names ignoring the case of ASCII letters; <0, 0, >0.
int compareNamesIgnoringCase(std::string_view a, std::string_view b);

// The names of the "*.txt" files in programDir + "辞書/" (file name less its last four
// characters), in the order the file system hands them over. Empty when the folder
// is missing or holds no such file.
std::vector<std::string> findDictionaryNames(const std::string& programDir);

// Inserts `name` into `names` at its sorted place (ascending, ignoring letter case;
// after equal names). Returns its position.
size_t insertSorted(std::vector<std::string>& names, std::string name);

// Position of the name equal to `text` byte for byte, or -1.
int findExactName(const std::vector<std::string>& names, std::string_view text);

} // namespace sorvanti
