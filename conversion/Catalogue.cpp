#include "conversion/Catalogue.h"

#include "conversion/DictionaryLoader.h"
#include "toolkit/AsciiCase.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace sorvanti {

namespace {

constexpr std::string_view kDictionaryExtension = ".txt";

} // namespace

int compareNamesIgnoringCase(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const unsigned char ca = ascii::toLower(static_cast<unsigned char>(a[i]));
        const unsigned char cb = ascii::toLower(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::vector<std::string> findDictionaryNames(const std::string& programDir) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    const std::string folder = dictionaryFolder(programDir);

    std::error_code ec;
    fs::directory_iterator it(fs::path(folder), ec);
    if (ec)
        return names;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            break;
        // The name is the byte string of the file name; the loader puts ".txt" back.
        const std::string fileName = it->path().filename().string();
        if (fileName.size() < kDictionaryExtension.size() ||
            fileName.compare(fileName.size() - kDictionaryExtension.size(),
                             kDictionaryExtension.size(), kDictionaryExtension) != 0)
            continue;
        std::error_code statError;
        if (!it->is_regular_file(statError))
            continue;
        names.push_back(fileName.substr(0, fileName.size() - kDictionaryExtension.size()));
    }
    return names;
}

size_t insertSorted(std::vector<std::string>& names, std::string name) {
    const auto at = std::upper_bound(names.begin(), names.end(), name,
                                     [](const std::string& a, const std::string& b) {
                                         return compareNamesIgnoringCase(a, b) < 0;
                                     });
    const size_t position = static_cast<size_t>(at - names.begin());
    names.insert(at, std::move(name));
    return position;
}

int findExactName(const std::vector<std::string>& names, std::string_view text) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == text)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace sorvanti
