#include "about/Udebug.h"
#include "app/CommandLine.h"
#include "app/Environment.h"
#include "app/SignalCloser.h"
#include "app/Umain.h"
#include "toolkit/Messages.h"
#include "toolkit/ProgramIcon.h"
#include "toolkit/Translation.h"

#include <QApplication>

#include <cstdio>
#include <exception>

using namespace sorvanti;

namespace {

// The entry point's own report of an error that escaped start-up or the event loop.
void reportFatal(const QString& message) {
    try {
        ReportException(nullptr, message);
    } catch (...) {
        std::fprintf(stderr, "%s.\n", message.toUtf8().constData());
    }
}

} // namespace

int main(int argc, char** argv) {
    // Answered before any window or display is needed.
    if (const auto text = commandline::informationRequested(argc, argv)) {
        std::fputs(text->c_str(), stdout);
        return 0;
    }
    QApplication app(argc, argv);
    installToolkitTranslation();
    const Environment env = Environment::fromProcess(argc, argv);
    // The title names the program on the task bar and on message boxes; the window's
    // caption stays its own, so no display name is set (it would be appended to it).
    QApplication::setApplicationName(applicationTitleFor(env.programPath));
    // Lets the desktop match the window to the installed entry (its name and icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("sorvanti"));
    // Every window of the program carries its icon unless it sets one of its own.
    QApplication::setWindowIcon(programIcon());
    try {
        Veruzazur = new TVeruzazur(env);
        // The debug window is made hidden beside the main window and never shown.
        Fdebug = new TFdebug();
        SignalCloser closer;
        Veruzazur->show();
        app.exec();
    } catch (const std::exception& e) {
        reportFatal(QString::fromUtf8(e.what()));
    } catch (...) {
        reportFatal(QString());
    }
    // The main window goes first: its destructor writes the settings.
    delete Veruzazur;
    delete Fdebug;
    return 0;
}
