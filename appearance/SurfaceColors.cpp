#include "appearance/SurfaceColors.h"

#include "appearance/ColorValue.h"

#include <QApplication>
#include <QTextEdit>
#include <QWidget>

namespace sorvanti {

namespace colors {

int32_t defaultColor(ColorSurface surface) {
    switch (surface) {
    case ColorSurface::FrameAct:
        return colorvalue::kSkyBlue;
    case ColorSurface::Edit0:
        return colorvalue::kWindow;
    case ColorSurface::Edit1:
        return colorvalue::kMoneyGreen;
    case ColorSurface::FrameDis:
    case ColorSurface::IconBar:
    case ColorSurface::StatusBar:
        break;
    }
    return colorvalue::kButtonFace;
}

const char* settingsKey(ColorSurface surface) {
    switch (surface) {
    case ColorSurface::FrameAct:
        return "FrameAct";
    case ColorSurface::FrameDis:
        return "FrameDis";
    case ColorSurface::Edit0:
        return "Edit0";
    case ColorSurface::Edit1:
        return "Edit1";
    case ColorSurface::IconBar:
        return "IconBar";
    case ColorSurface::StatusBar:
        break;
    }
    return "StatusBar";
}

} // namespace colors

namespace {

size_t slot(ColorSurface surface) {
    return static_cast<size_t>(surface);
}

// The background of a frame, the tool bar or the status bar.
void paintBackground(QWidget* widget, int32_t value) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colorvalue::toQColor(value, QApplication::palette()));
    widget->setPalette(palette);
}

// A pane's text area; its scroll bars keep the system's colour.
void paintPane(QTextEdit* edit, int32_t value) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, colorvalue::toQColor(value, QApplication::palette()));
    // The frame's colour would otherwise reach the edit's scroll bars.
    palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    edit->setPalette(palette);
}

} // namespace

SurfaceColors::SurfaceColors(const Widgets& widgets) : widgets_(widgets) {
    for (ColorSurface s : colors::kAllSurfaces)
        values_[slot(s)] = colors::defaultColor(s);
}

int32_t SurfaceColors::value(ColorSurface surface) const {
    return values_[slot(surface)];
}

void SurfaceColors::set(ColorSurface surface, int32_t value) {
    values_[slot(surface)] = value;
    paint(surface);
}

void SurfaceColors::resetAll() {
    for (ColorSurface s : colors::kAllSurfaces)
        reset(s);
}

void SurfaceColors::setActivePane(int pane) {
    activePane_ = pane;
    paint(ColorSurface::FrameAct);
}

void SurfaceColors::paintAll() {
    for (ColorSurface s : colors::kAllSurfaces)
        paint(s);
}

void SurfaceColors::paint(ColorSurface surface) const {
    switch (surface) {
    case ColorSurface::FrameAct:
    case ColorSurface::FrameDis:
        // Both frames: a change of either role or of the active pane moves both.
        for (int p = 0; p < 2; ++p)
            paintBackground(widgets_.frames[p], value(p == activePane_ ? ColorSurface::FrameAct
                                                                       : ColorSurface::FrameDis));
        return;
    case ColorSurface::Edit0:
    case ColorSurface::Edit1:
        paintPane(widgets_.panes[surface == ColorSurface::Edit0 ? 0 : 1], value(surface));
        return;
    case ColorSurface::IconBar:
        paintBackground(widgets_.iconBar, value(surface));
        return;
    case ColorSurface::StatusBar:
        paintBackground(widgets_.statusBar, value(surface));
        return;
    }
}

std::optional<ColorSurface> SurfaceColors::surfaceOf(const QObject* component) const {
    if (!component)
        return std::nullopt;
    for (int p = 0; p < 2; ++p) {
        if (component == widgets_.frames[p])
            return p == activePane_ ? ColorSurface::FrameAct : ColorSurface::FrameDis;
        if (component == widgets_.panes[p])
            return p == 0 ? ColorSurface::Edit0 : ColorSurface::Edit1;
    }
    if (component == widgets_.iconBar)
        return ColorSurface::IconBar;
    if (component == widgets_.statusBar)
        return ColorSurface::StatusBar;
    return std::nullopt;
}

template <ColorSurface S> int32_t& SurfaceColors::field(SurfaceColors& colors) {
    return colors.values_[slot(S)];
}

std::span<const settings::Row<SurfaceColors>> SurfaceColors::settingRows() {
    using Row = settings::Row<SurfaceColors>;
    const auto row = [](ColorSurface s, int32_t& (*field)(SurfaceColors&)) {
        return Row{.section = "カラー",
                   .key = colors::settingsKey(s),
                   .number = field,
                   .numberDefault = colors::defaultColor(s)};
    };
    static const Row rows[] = {
        row(ColorSurface::FrameAct, &field<ColorSurface::FrameAct>),
        row(ColorSurface::FrameDis, &field<ColorSurface::FrameDis>),
        row(ColorSurface::Edit0, &field<ColorSurface::Edit0>),
        row(ColorSurface::Edit1, &field<ColorSurface::Edit1>),
        row(ColorSurface::IconBar, &field<ColorSurface::IconBar>),
        row(ColorSurface::StatusBar, &field<ColorSurface::StatusBar>),
    };
    return rows;
}

} // namespace sorvanti
