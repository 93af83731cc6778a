#pragma once

// Text documents need a GUI application; the Qt harnesses make one, offscreen, once.
#include <QGuiApplication>

namespace sorvanti::fuzz {

inline void startQt(int* argc, char*** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
}

} // namespace sorvanti::fuzz
