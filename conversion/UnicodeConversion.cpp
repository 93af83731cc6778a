#include "conversion/UnicodeConversion.h"

#include "conversion/WordMode.h"
#include "toolkit/Cp932.h"

namespace sorvanti {

namespace {

// Appends the conversion `converted` of a run to `out` and its matches, with their byte offsets
// turned into UTF-16 offsets, to `matches`: `runFrom` is where the run starts in the line,
// `outStart` where the call's output starts in `out`. Matches begin and end where characters
// do, so the output is decoded piece by piece as it would be whole, and its offsets come with
// it; in the run, every character of code page 932 is one UTF-16 unit (a stray byte too, as its
// raw-byte escape), so its offsets are counts of characters.
void appendWithMatches(const std::vector<EngineMatch>& found, std::string_view bytes,
                       std::string_view converted, size_t runFrom, size_t outStart,
                       std::u16string& out, std::vector<TextMatch>& matches) {
    const cp932::Boundaries& boundaries = cp932::boundaries();
    const auto characters = [&](size_t from, size_t to) {
        size_t count = 0;
        for (size_t at = from; at < to; at += boundaries.length(bytes, at))
            ++count;
        return count;
    };
    size_t byte = 0, unit = runFrom, outByte = 0;
    for (const EngineMatch& m : found) {
        unit += characters(byte, m.from);
        const size_t length = characters(m.from, m.from + m.length);
        cp932::decodeAppend(converted.substr(outByte, m.outFrom - outByte), out);
        const size_t outUnit = out.size() - outStart;
        cp932::decodeAppend(converted.substr(m.outFrom, m.outLength), out);
        matches.push_back({unit, length, outUnit, out.size() - outStart - outUnit, m.entry});
        unit += length;
        byte = m.from + m.length;
        outByte = m.outFrom + m.outLength;
    }
    cp932::decodeAppend(converted.substr(outByte), out);
}

} // namespace

void convertUnicodeLine(Engine& engine, std::u16string_view line, int side, std::u16string& out,
                        RawByteEscapes escapes, std::vector<TextMatch>* matches, WordMode* words) {
    // Reused across calls: converting a large text line by line allocates nothing per line.
    thread_local std::string bytes;
    thread_local std::string converted;
    thread_local std::vector<EngineMatch> found;
    const size_t outStart = out.size();
    const bool escapesAreBytes = escapes == RawByteEscapes::AsBytes;
    if (words)
        words->beginText(line);
    size_t pos = 0;
    while (pos < line.size()) {
        size_t runEnd = cp932::findUnencodable(line.substr(pos), escapesAreBytes);
        runEnd = runEnd == std::u16string_view::npos ? line.size() : pos + runEnd;
        if (runEnd > pos) {
            bytes.clear();
            cp932::encodeAppend(line.substr(pos, runEnd - pos), bytes);
            converted.clear();
            found.clear();
            engine.convertLine(bytes, side, converted, matches ? &found : nullptr,
                               words ? &words->textRun(pos, runEnd) : nullptr);
            if (matches)
                appendWithMatches(found, bytes, converted, pos, outStart, out, *matches);
            else
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
