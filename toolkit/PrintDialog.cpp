#include "toolkit/PrintDialog.h"

#include "toolkit/DialogRunner.h"

#include <QPrinter>
#include <QWidget>

namespace sorvanti {

PrintDialog::PrintDialog(QObject* owner) : QObject(owner) {}

PrintDialog::~PrintDialog() = default;

QPrinter& PrintDialog::Printer() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

bool PrintDialog::Execute() {
    return execute(false);
}

bool PrintDialog::ExecuteSetup() {
    return execute(true);
}

bool PrintDialog::execute(bool setup) {
    PrintDialogRequest request{setup, PageNums, FromPage, ToPage, MinPage, MaxPage};
    if (!DialogRunner::current().printDialog(qobject_cast<QWidget*>(parent()), Printer(), request))
        return false;
    FromPage = request.fromPage;
    ToPage = request.toPage;
    return true;
}

} // namespace sorvanti
