#pragma once

#include <QString>

namespace sorvanti::test {

// Test texts are written in UTF-8.
inline QString u(const char* s) {
    return QString::fromUtf8(s);
}

} // namespace sorvanti::test
