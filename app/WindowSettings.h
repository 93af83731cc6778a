#pragma once

#include "app/ScreenFit.h"
#include "settings/SettingRows.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

class QWidget;

namespace sorvanti::windowsettings {

// A window's size and place as the settings file keeps them ("Width" and "Height" its size
// without the frame, "Top" and "Left" the place of its frame), and the screen size that
// centres it when the file has no place. A stored size below the window's minimum (a damaged
// file: 0, negative) is replaced by the size the window has.
struct Placement {
    StoredGeometry stored;
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    int minimumWidth = 0;
    int minimumHeight = 0;
};

// The rows of a placement under `section`: without a stored size the window keeps the size
// `stored` holds when read; without a stored place it is centred on the screen.
std::array<settings::Row<Placement>, 4> placementRows(const char* section);

// Reads the window's placement from `section` and shows the window there; a size or place
// that no screen can show (a damaged file, a screen since removed) is brought back onto the
// screens (fitToScreens), one that fits is kept exactly.
void readPlacement(QWidget& window, const Oini& ini, const char* section);
void writePlacement(const QWidget& window, Oini& ini, const char* section);

// What else the main window keeps: the split orientation (0 stacked, 1 side by side; any
// other stored value reads as 1) and the name of the chosen dictionary (UTF-8).
struct Choices {
    int32_t vh = 0;
    std::string dictionaryName;
};
std::span<const settings::Row<Choices>> choiceRows();

// The main window's section of its placement, and the dictionary editor's.
inline constexpr const char* kMainSection = "メイン";
inline constexpr const char* kEditorSection = "辞書編集";

// The selector's text before any dictionary was chosen (UTF-8).
extern const char* const kNoDictionaryName;

} // namespace sorvanti::windowsettings
