#pragma once

#include <string>

class QWidget;

namespace sorvanti {

class DictionaryTable;

namespace dictionarychoice {

// Loads the dictionary `name` of the folder `dataFolder` into `table` and tells the user,
// over `parent`, what the load left out: a file that cannot be opened, entries past the
// 2000th, a file cut at 16 MB, lines that were not taken. The entries read before a read
// error stay in force; the error is thrown (Error) for the error box.
void load(QWidget* parent, DictionaryTable& table, const std::string& dataFolder,
          const std::string& name);

} // namespace dictionarychoice
} // namespace sorvanti
