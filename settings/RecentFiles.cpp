#include "settings/RecentFiles.h"

#include <algorithm>

namespace sorvanti {

namespace {

template <size_t... I>
std::array<settings::Row<RecentFiles::Stored>, RecentFiles::kMax>
makeRows(std::index_sequence<I...>) {
    static const char* const keys[] = {"File1", "File2", "File3", "File4",
                                       "File5", "File6", "File7", "File8"};
    static_assert(sizeof keys / sizeof keys[0] == RecentFiles::kMax);
    return {settings::Row<RecentFiles::Stored>{
        .section = "最近使ったファイル",
        .key = keys[I],
        .text = [](RecentFiles::Stored& s) -> std::string& { return s[I]; }}...};
}

} // namespace

void RecentFiles::add(const std::string& path) {
    remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMax)
        paths_.resize(kMax);
}

bool RecentFiles::remove(const std::string& path) {
    const auto at = std::find(paths_.begin(), paths_.end(), path);
    if (at == paths_.end())
        return false;
    paths_.erase(at);
    return true;
}

const std::array<settings::Row<RecentFiles::Stored>, RecentFiles::kMax>&
RecentFiles::settingRows() {
    static const auto rows = makeRows(std::make_index_sequence<kMax>());
    return rows;
}

void RecentFiles::read(const Stored& stored) {
    paths_.clear();
    // Oldest first, so that each add() puts the newer one before it.
    for (auto it = stored.rbegin(); it != stored.rend(); ++it)
        if (!it->empty())
            add(*it);
}

RecentFiles::Stored RecentFiles::stored() const {
    Stored s;
    std::copy(paths_.begin(), paths_.end(), s.begin());
    return s;
}

} // namespace sorvanti
