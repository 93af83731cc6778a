// The dictionary loader on any file: it ends, keeps within the table, stores words as the
// field reader defines them, and the loaded table converts both ways as the plain scan does.
#include "fuzz/FuzzSupport.h"
#include "support/PlainScan.h"

#include "conversion/DictionaryLoader.h"
#include "conversion/DictionaryTable.h"
#include "conversion/Engine.h"
#include "conversion/WordRegistration.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <memory>

using namespace sorvanti;

namespace {

// One in-memory file for the whole run, reached by path as the loader wants.
const std::string& memoryFile(int& fd) {
    static int file = memfd_create("dictionary", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(file);
    fd = file;
    return path;
}

bool sameTable(const DictionaryTable& a, const DictionaryTable& b) {
    for (int32_t i = 0; i < a.count(); ++i)
        if (a.word(i, 0) != b.word(i, 0) || a.word(i, 1) != b.word(i, 1))
            return false;
    return a.count() == b.count();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int fd = -1;
    const std::string& path = memoryFile(fd);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(ftruncate(fd, 0) == 0);
    FUZZ_CHECK(pwrite(fd, data, size, 0) == ssize_t(size));

    auto table = std::make_unique<DictionaryTable>();
    const LoadResult result = loadDictionaryFile(*table, path);
    FUZZ_CHECK(result.opened && result.complete && !result.sizeLimitReached);
    FUZZ_CHECK(result.entries == table->count());
    FUZZ_CHECK(table->count() <= DictionaryTable::kCapacity);
    FUZZ_CHECK(result.entriesDropped == 0 || table->full());
    for (int32_t i = 0; i < table->count(); ++i) {
        for (int side = 0; side < 2; ++side) {
            const std::string_view word = table->word(i, side);
            FUZZ_CHECK(word.size() <= size_t(DictionaryTable::kMaxWordBytes));
            FUZZ_CHECK(word.find_first_of(std::string_view(" \t\n\0", 4)) ==
                       std::string_view::npos);
            FUZZ_CHECK(table->entry(i).word[side][word.size()] == '\0');
        }
        FUZZ_CHECK(!table->word(i, 0).empty() && table->word(i, 0)[0] != '#');
    }

    // Loading again gives the same table.
    auto again = std::make_unique<DictionaryTable>();
    loadDictionaryFile(*again, path);
    FUZZ_CHECK(sameTable(*again, *table));

    // Both conversion directions over the file's own lines.
    Engine engine(*table);
    std::string_view text = fuzz::view(data, size);
    for (int line = 0; line < 16 && !text.empty(); ++line) {
        auto [first, rest] = fuzz::cut(text, "\n");
        for (int side = 0; side < 2; ++side)
            FUZZ_CHECK(engine.convertLine(first, side) ==
                       test::plainConvertLine(*table, first, side));
        text = rest;
    }

    // A registered half-width katakana pair (it can look like UTF-8) gives the next load's table.
    if (size < 4096 && wordregistration::registerPair(*table, "\xC8\xBA", "x") ==
                           wordregistration::Outcome::Registered) {
        loadDictionaryFile(*again, path);
        FUZZ_CHECK(sameTable(*again, *table));
    }
    return 0;
}
