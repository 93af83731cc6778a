#pragma once

#include <array>
#include <cstdint>

namespace sorvanti::windowsettings {

// What the main window keeps in its settings file: read once at start-up and written once
// at exit, both in this order.
enum class Id {
    Width,
    Height,
    Top,
    Left,
    FrameAct,
    FrameDis,
    Edit0,
    Edit1,
    IconBar,
    StatusBar,
    Vh,
    Name
};

struct Entry {
    Id id;
    const char* section;
    const char* key;
    // The value taken when the file has none. Width and Height default to the window's
    // own size, Top and Left to the position that centres it on the screen, Name to
    // kNoDictionaryName; their field here is unused.
    int32_t fallback;
};

extern const std::array<Entry, 12> kEntries;

// The selector's text before any dictionary was chosen (UTF-8).
extern const char* const kNoDictionaryName;

} // namespace sorvanti::windowsettings
