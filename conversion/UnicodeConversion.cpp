#include "conversion/UnicodeConversion.h"

#include "toolkit/Cp932.h"

namespace sorvanti {

void convertUnicodeLine(Engine& engine, std::u16string_view line, int side, std::u16string& out,
                        RawByteEscapes escapes) {
    // Reused across calls: converting a large text line by line allocates nothing per line.
    thread_local std::string bytes;
    thread_local std::string converted;
    const bool escapesAreBytes = escapes == RawByteEscapes::AsBytes;
    size_t pos = 0;
    while (pos < line.size()) {
        size_t runEnd = cp932::findUnencodable(line.substr(pos), escapesAreBytes);
        runEnd = runEnd == std::u16string_view::npos ? line.size() : pos + runEnd;
        if (runEnd > pos) {
            bytes.clear();
            cp932::encodeAppend(line.substr(pos, runEnd - pos), bytes);
            converted.clear();
            engine.convertLine(bytes, side, converted);
            cp932::decodeAppend(converted, out);
            pos = runEnd;
        }
        // The character here (if any) has no code page 932 form: it goes through as is.
        if (pos < line.size()) {
            size_t units = 1;
            cp932::encodable(line, pos, &units);
            out.append(line.substr(pos, units));
            pos += units;
        }
    }
}

std::u16string convertUnicodeLine(Engine& engine, std::u16string_view line, int side) {
    std::u16string out;
    convertUnicodeLine(engine, line, side, out);
    return out;
}

} // namespace sorvanti
