#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

namespace sorvanti {

// Turns SIGTERM and SIGINT into closing `window` from the event loop, so that a program
// ended from outside still shuts down the normal way and writes its settings.
class SignalCloser : public QObject {
    Q_OBJECT
public:
    explicit SignalCloser(QWidget* window);
    ~SignalCloser() override;

private:
    void closeWindow();

    QWidget* window_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace sorvanti
