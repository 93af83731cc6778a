#include "conversion/UnicodeConversion.h"

#include "toolkit/Cp932.h"

namespace sorvanti {

namespace {

// Turns the byte offsets of a run's matches into UTF-16 offsets: `runFrom` is where the run
// starts in the line, `outFrom` where its output starts in what the call appends. Each piece
// between two offsets is counted on its own; matches begin and end where characters do.
void addTextMatches(const std::vector<EngineMatch>& found, std::string_view bytes,
                    std::string_view converted, size_t runFrom, size_t outFrom,
                    std::vector<TextMatch>& matches) {
    size_t byte = 0, unit = runFrom, outByte = 0, outUnit = outFrom;
    // Every character of code page 932 decodes to one UTF-16 unit (a stray byte to its raw-byte
    // escape): a piece has as many units as characters.
    const cp932::Boundaries& boundaries = cp932::boundaries();
    const auto units = [&boundaries](std::string_view piece) {
        size_t count = 0;
        for (size_t at = 0; at < piece.size(); at += boundaries.length(piece, at))
            ++count;
        return count;
    };
    for (const EngineMatch& m : found) {
        unit += units(bytes.substr(byte, m.from - byte));
        outUnit += units(converted.substr(outByte, m.outFrom - outByte));
        const size_t length = units(bytes.substr(m.from, m.length));
        const size_t outLength = units(converted.substr(m.outFrom, m.outLength));
        matches.push_back({unit, length, outUnit, outLength, m.entry});
        unit += length;
        outUnit += outLength;
        byte = m.from + m.length;
        outByte = m.outFrom + m.outLength;
    }
}

} // namespace

void convertUnicodeLine(Engine& engine, std::u16string_view line, int side, std::u16string& out,
                        RawByteEscapes escapes, std::vector<TextMatch>* matches) {
    // Reused across calls: converting a large text line by line allocates nothing per line.
    thread_local std::string bytes;
    thread_local std::string converted;
    thread_local std::vector<EngineMatch> found;
    const size_t outStart = out.size();
    const bool escapesAreBytes = escapes == RawByteEscapes::AsBytes;
    size_t pos = 0;
    while (pos < line.size()) {
        size_t runEnd = cp932::findUnencodable(line.substr(pos), escapesAreBytes);
        runEnd = runEnd == std::u16string_view::npos ? line.size() : pos + runEnd;
        if (runEnd > pos) {
            bytes.clear();
            cp932::encodeAppend(line.substr(pos, runEnd - pos), bytes);
            converted.clear();
            found.clear();
            engine.convertLine(bytes, side, converted, matches ? &found : nullptr);
            if (matches)
                addTextMatches(found, bytes, converted, pos, out.size() - outStart, *matches);
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
