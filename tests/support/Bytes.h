#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace sorvanti::test {

// The bytes of a file exactly as stored; empty when it cannot be read.
inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace sorvanti::test
