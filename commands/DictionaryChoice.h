#pragma once

#include <QStringList>

#include <string>

namespace sorvanti {

class DictionaryTable;

namespace dictionarychoice {

// Loads the dictionary `name` of the folder `dataFolder` into `table` and gives the notices
// that tell the user what the load left out, in the order to show them: a file that cannot be
// opened, entries past the 2000th, a file cut at 16 MB, lines that were not taken. The
// entries read before a read error stay in force; the error is thrown (Error) for the error
// box.
QStringList load(DictionaryTable& table, const std::string& dataFolder, const std::string& name);

} // namespace dictionarychoice
} // namespace sorvanti
