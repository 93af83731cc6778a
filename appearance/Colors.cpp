#include "appearance/Colors.h"

#include "appearance/ColorValue.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QStatusBar>
#include <QTextEdit>

namespace sorvanti::colors {

namespace {

int paneIndexAfter(const QObject* component, int prefixLength) {
    return component->objectName().mid(prefixLength).toInt();
}

} // namespace

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

void paintBackground(QWidget* widget, int32_t value) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colorvalue::toQColor(value, QApplication::palette()));
    widget->setPalette(palette);
}

void paintPane(QTextEdit* edit, int32_t value) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, colorvalue::toQColor(value, QApplication::palette()));
    // The frame's colour would otherwise reach the edit's scroll bars.
    palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    edit->setPalette(palette);
}

std::optional<PopupTarget> classifyPopupTarget(const QObject* component) {
    if (!component)
        return std::nullopt;
    if (qobject_cast<const QGroupBox*>(component))
        return PopupTarget{PopupTarget::Frame, paneIndexAfter(component, 7)};
    if (qobject_cast<const QTextEdit*>(component))
        return PopupTarget{PopupTarget::Pane, paneIndexAfter(component, 6)};
    if (qobject_cast<const QFrame*>(component))
        return PopupTarget{PopupTarget::IconBar};
    if (qobject_cast<const QStatusBar*>(component))
        return PopupTarget{PopupTarget::StatusBar};
    return std::nullopt;
}

ColorSurface surfaceOf(const PopupTarget& target, int activePane) {
    switch (target.kind) {
    case PopupTarget::Frame:
        return target.pane == activePane ? ColorSurface::FrameAct : ColorSurface::FrameDis;
    case PopupTarget::Pane:
        return target.pane == 0 ? ColorSurface::Edit0 : ColorSurface::Edit1;
    case PopupTarget::IconBar:
        return ColorSurface::IconBar;
    case PopupTarget::StatusBar:
        break;
    }
    return ColorSurface::StatusBar;
}

} // namespace sorvanti::colors
