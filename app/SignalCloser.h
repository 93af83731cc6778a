#pragma once

#include <QObject>

class QSocketNotifier;

namespace sorvanti {

// Turns SIGTERM and SIGINT into the application's Quit from the event loop, as the session's
// end does: the windows close without asking (HotExit keeps what is unsaved), the program
// shuts down the normal way and writes its settings.
class SignalCloser : public QObject {
    Q_OBJECT
public:
    SignalCloser();
    ~SignalCloser() override;

private:
    void quit();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace sorvanti
