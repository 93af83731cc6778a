#pragma once

#include "conversion/DictionaryCheck.h"

#include <ostream>
#include <string_view>

namespace sorvanti {

// Writes "FILE:LINE: message" for each finding the report keeps, a line for those it only
// counted, then a summary line, to `out`. Returns 0 when nothing is lost, 1 otherwise.
int printCheckReport(const CheckReport& report, std::string_view fileName, std::ostream& out);

} // namespace sorvanti
