#include "conversion/WordModeDeclaration.h"

namespace sorvanti::wordmode {

bool isDeclaration(std::string_view line) {
    const size_t start = line.find_first_not_of(" \t");
    return start != std::string_view::npos && line.substr(start).starts_with(kDeclaration);
}

} // namespace sorvanti::wordmode
