// The dictionary editor's document on any file: it writes back the very bytes it read, its
// findings are those --check gives for those bytes in each direction, and bytes appended to
// the file join it as the file reads them whole.
#include "fuzz/FuzzSupport.h"

#include "conversion/DictionaryCheck.h"
#include "conversion/DictionaryDocument.h"

#include <string>
#include <vector>

using namespace sorvanti;

namespace {

std::vector<std::string> shown(const CheckReport& report, int side) {
    std::vector<std::string> lines;
    for (const CheckFinding& f : report.findings)
        if ((f.kind != FindingKind::Hidden && f.kind != FindingKind::StartsInsideWord) ||
            f.side == side)
            lines.push_back(std::to_string(f.line) + f.message);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DictionaryDocument document(bytes);
    FUZZ_CHECK(document.fileBytes() == bytes);
    const CheckReport mine = document.check();
    for (int side = 0; side < 2; ++side)
        FUZZ_CHECK(shown(mine, side) == shown(checkDictionary(bytes, side), side));

    const size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    DictionaryDocument grown(bytes.substr(0, cut));
    if (grown.appendFileBytes(bytes.substr(cut)))
        FUZZ_CHECK(grown.fileBytes() == bytes);
    return 0;
}
