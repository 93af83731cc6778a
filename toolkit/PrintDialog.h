#pragma once

#include <QObject>

#include <memory>

class QPrinter;

namespace sorvanti {

// The print dialog component. It owns the printer that a confirmed Execute() set up; the
// printer is made on first use, since opening the print system takes time. PageNums makes
// the page range available within MinPage..MaxPage; FromPage/ToPage are the proposed range
// and, after a confirmed Execute(), the chosen one. Everything set stays for the next showing,
// and so does the printer chosen, a queue or a PDF file.
class PrintDialog : public QObject {
    Q_OBJECT
public:
    explicit PrintDialog(QObject* owner);
    ~PrintDialog() override;

    bool PageNums = false;
    int FromPage = 0;
    int ToPage = 0;
    int MinPage = 0;
    int MaxPage = 0;

    QPrinter& Printer();
    bool Execute();
    // The same dialog for "ページ設定": its confirming button reads "OK", since it prints nothing.
    bool ExecuteSetup();

private:
    bool execute(bool setup);
    std::unique_ptr<QPrinter> printer_;
};

} // namespace sorvanti
