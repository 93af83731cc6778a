#pragma once

#include "settings/SettingRows.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

class QObject;
class QTextEdit;
class QWidget;

namespace sorvanti {

// The six surfaces whose colours the user sets. The two frame roles are not surfaces of
// one frame: the active pane's frame shows FrameAct, the other FrameDis.
enum class ColorSurface { FrameAct, FrameDis, Edit0, Edit1, IconBar, StatusBar };

namespace colors {

constexpr ColorSurface kAllSurfaces[] = {ColorSurface::FrameAct, ColorSurface::FrameDis,
                                         ColorSurface::Edit0,    ColorSurface::Edit1,
                                         ColorSurface::IconBar,  ColorSurface::StatusBar};

// The colour value a surface starts with and returns to on "元の色に戻す".
int32_t defaultColor(ColorSurface surface);

// The name the surface's colour is stored under in the settings ("FrameAct", "Edit0", ...).
const char* settingsKey(ColorSurface surface);

} // namespace colors

// The colours of the window's surfaces: their six values (colour values as colorvalue
// reads them), the widgets that show them, the frame roles, and their rows in the settings.
// Every change of a value repaints what shows it; a frame shows the colour of its role,
// FrameAct while its pane is the active one, FrameDis otherwise.
class SurfaceColors {
public:
    struct Widgets {
        std::array<QWidget*, 2> frames;
        std::array<QTextEdit*, 2> panes;
        QWidget* iconBar;
        QWidget* statusBar;
    };

    // Every surface at its default, pane 0 active; nothing is painted until paintAll().
    explicit SurfaceColors(const Widgets& widgets);

    int32_t value(ColorSurface surface) const;
    void set(ColorSurface surface, int32_t value);
    void reset(ColorSurface surface) { set(surface, colors::defaultColor(surface)); }
    void resetAll();

    // The frames take the roles for `pane` as the active pane.
    void setActivePane(int pane);
    void paintAll();

    // The surface whose colour a command of the pop-up menu opened on `component` changes:
    // a frame stands for the role it has now, a pane's text edit for that pane, and the
    // tool bar and status bar for themselves. nullopt for any other component.
    std::optional<ColorSurface> surfaceOf(const QObject* component) const;

    // The six colours in the settings file (section "カラー"), in the order of kAllSurfaces.
    // Reading them changes the values only; paintAll() shows them.
    static std::span<const settings::Row<SurfaceColors>> settingRows();

private:
    template <ColorSurface S> static int32_t& field(SurfaceColors& colors);
    void paint(ColorSurface surface) const;

    Widgets widgets_;
    std::array<int32_t, std::size(colors::kAllSurfaces)> values_{};
    int activePane_ = 0;
};

} // namespace sorvanti
