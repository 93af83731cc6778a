#pragma once

#include <QObject>

#include <memory>

class QPrinter;

namespace sorvanti {

// The print dialog component. It owns the printer that a confirmed Execute() set up;
// the printer is made on first use, since opening the print system takes time.
class PrintDialog : public QObject {
    Q_OBJECT
public:
    explicit PrintDialog(QObject* owner);
    ~PrintDialog() override;

    QPrinter& Printer();
    bool Execute();

private:
    std::unique_ptr<QPrinter> printer_;
};

} // namespace sorvanti
