#include "app/WindowSettings.h"

#include "appearance/Colors.h"

namespace sorvanti::windowsettings {

namespace {

Entry color(Id id, ColorSurface surface) {
    return {id, "カラー", colors::settingsKey(surface), colors::defaultColor(surface)};
}

} // namespace

const char* const kNoDictionaryName = "辞書を選択して下さい";

const std::array<Entry, 12> kEntries = {
    Entry{Id::Width, "メイン", "Width", 0},
    Entry{Id::Height, "メイン", "Height", 0},
    Entry{Id::Top, "メイン", "Top", 0},
    Entry{Id::Left, "メイン", "Left", 0},
    color(Id::FrameAct, ColorSurface::FrameAct),
    color(Id::FrameDis, ColorSurface::FrameDis),
    color(Id::Edit0, ColorSurface::Edit0),
    color(Id::Edit1, ColorSurface::Edit1),
    color(Id::IconBar, ColorSurface::IconBar),
    color(Id::StatusBar, ColorSurface::StatusBar),
    Entry{Id::Vh, "分割", "Vh", 0},
    Entry{Id::Name, "辞書", "Name", 0},
};

} // namespace sorvanti::windowsettings
