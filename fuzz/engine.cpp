// The indexed engine against the plain table scan: the same output for every line, both
// sides, also after entries are appended and when a line is handed over in parts.
//
// Input: dictionary lines "standard<TAB>converted" up to a blank line, then the text.
#include "fuzz/FuzzSupport.h"
#include "support/PlainScan.h"

#include "conversion/DictionaryTable.h"
#include "conversion/Engine.h"

#include <memory>

using namespace sorvanti;

namespace {

void fillTable(DictionaryTable& table, std::string_view lines) {
    while (!lines.empty()) {
        auto [line, rest] = fuzz::cut(lines, "\n");
        lines = rest;
        auto [standard, converted] = fuzz::cut(line, "\t");
        if (!table.appendEntry(standard, converted))
            break;
    }
}

void checkLines(Engine& engine, const DictionaryTable& table, std::string_view text) {
    while (true) {
        auto [line, rest] = fuzz::cut(text, "\n");
        for (int side = 0; side < 2; ++side) {
            const std::string expected = test::plainConvertLine(table, line, side);
            FUZZ_CHECK(engine.convertLine(line, side) == expected);
            // In parts, as sorvanti-convert hands over a line too long to hold.
            std::string parts;
            std::string held(line);
            const size_t keep = DictionaryTable::kMaxWordBytes + 1;
            while (held.size() > keep + 1) {
                const size_t stop = 1 + (held.size() - keep - 1) * (line.size() % 3 + 1) / 4;
                held.erase(0, engine.convertPart(held, stop, side, parts));
            }
            engine.convertLine(held, side, parts);
            FUZZ_CHECK(parts == expected);
        }
        if (rest.empty() && text.find('\n') == std::string_view::npos)
            break;
        text = rest;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto [dictionary, text] = fuzz::cut(fuzz::view(data, size), "\n\n");
    auto table = std::make_unique<DictionaryTable>();
    // The first half of the entries indexed, then the rest appended to the indexed table.
    auto [first, more] = fuzz::cut(dictionary, "\n#\n");
    fillTable(*table, first);
    Engine engine(*table);
    checkLines(engine, *table, text);
    fillTable(*table, more);
    checkLines(engine, *table, text);
    return 0;
}
