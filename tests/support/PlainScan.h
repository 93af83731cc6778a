#pragma once

// The plain table scan: at each position every entry is tried in table order. Slow but
// plainly right, it is the reference the indexed engine is checked and measured against.

#include "conversion/DictionaryTable.h"
#include "conversion/Engine.h"

#include <cstring>
#include <string>
#include <string_view>

namespace sorvanti::test {

inline void plainConvertLine(const DictionaryTable& table, std::string_view line, int side,
                             std::string& out) {
    const int target = 1 - side;
    size_t i = 0;
    while (i < line.size()) {
        const std::string_view rest = line.substr(i);
        int32_t found = -1;
        for (int32_t e = 0; e < table.count(); ++e) {
            const std::string_view word = table.word(e, side);
            if (!word.empty() && word.size() <= rest.size() &&
                std::memcmp(word.data(), rest.data(), word.size()) == 0) {
                found = e;
                break;
            }
        }
        if (found >= 0) {
            out.append(table.word(found, target));
            i += table.word(found, side).size();
        } else if (isLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size()) {
            out.append(line.substr(i, 2));
            i += 2;
        } else {
            out += line[i];
            ++i;
        }
    }
}

inline std::string plainConvertLine(const DictionaryTable& table, std::string_view line, int side) {
    std::string out;
    plainConvertLine(table, line, side, out);
    return out;
}

} // namespace sorvanti::test
