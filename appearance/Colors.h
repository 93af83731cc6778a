#pragma once

#include <QString>

#include <cstdint>
#include <optional>

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

// Paints the background of a frame, the tool bar or the status bar.
void paintBackground(QWidget* widget, int32_t value);
// Paints a pane's text area; its scroll bars keep the system's colour.
void paintPane(QTextEdit* edit, int32_t value);

// What the pop-up menu was opened on, classified as the colour commands see it: a frame
// (pane index from its name after "GBframe"), a pane (after "REedit"), any other panel (the
// tool bar) or a status bar, tested in that order. A text edit is a QFrame too, so the
// order matters. nullopt for anything else.
struct PopupTarget {
    enum Kind { Frame, Pane, IconBar, StatusBar } kind;
    int pane = 0;
};
std::optional<PopupTarget> classifyPopupTarget(const QObject* component);

// The surface whose colour a command on `target` changes: a frame stands for the role it has
// while `activePane` is active.
ColorSurface surfaceOf(const PopupTarget& target, int activePane);

} // namespace colors
} // namespace sorvanti
