#pragma once

#include "settings/SettingRows.h"

#include <cstdint>
#include <span>

namespace sorvanti {

// What the settings dialog "設定" sets, kept in the settings file's section "設定"; each is 0
// (off, also when the file has none) or 1.
struct ProgramOptions {
    // "入力中に変換": the lower pane follows every edit of the upper one.
    int32_t liveConversion = 0;
    // "置き換えた語に色を付ける": the words a conversion replaced are marked.
    int32_t highlight = 0;
    bool operator==(const ProgramOptions&) const = default;

    static std::span<const settings::Row<ProgramOptions>> settingRows();
};

} // namespace sorvanti
