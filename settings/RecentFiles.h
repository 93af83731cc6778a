#pragma once

#include "settings/SettingRows.h"

#include <array>
#include <string>
#include <vector>

namespace sorvanti {

// The documents last opened or saved, newest first, as the file menu's "最近使ったファイル"
// lists them: a document already in the list moves to the front, and the list keeps at most
// kMax of them. Paths are UTF-8; two paths are the same document when they are equal.
class RecentFiles {
public:
    static constexpr size_t kMax = 8;

    const std::vector<std::string>& paths() const { return paths_; }
    void add(const std::string& path);
    // Returns whether `path` was in the list.
    bool remove(const std::string& path);

    // The list in the settings file: section "最近使ったファイル", keys "File1" (the newest)
    // to "File8", an empty value for none. Reading drops empty and repeated entries.
    using Stored = std::array<std::string, kMax>;
    static const std::array<settings::Row<Stored>, kMax>& settingRows();
    void read(const Stored& stored);
    Stored stored() const;

private:
    std::vector<std::string> paths_;
};

} // namespace sorvanti
