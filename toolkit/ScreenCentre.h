#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace sorvanti {

// Puts a top-level window in the middle of its screen (the forms that open "centred on the
// screen" rather than over their owner). Call it from showEvent, after Qt placed it.
inline void centreOnScreen(QWidget& window) {
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

} // namespace sorvanti
