#include "toolkit/DialogRunner.h"

#include "toolkit/FilterText.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>
#include <QUrl>

namespace sorvanti {

namespace {
DialogRunner* installed = nullptr;

} // namespace

DialogRunner& DialogRunner::current() {
    static DialogRunner real;
    return installed ? *installed : real;
}

void DialogRunner::install(DialogRunner* runner) {
    installed = runner;
}

QMessageBox::StandardButton DialogRunner::messageBox(QWidget* parent, QMessageBox::Icon icon,
                                                     const QString& title, const QString& text,
                                                     QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, title, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

bool DialogRunner::fileDialog(QWidget* parent, FileDialogRequest& request) {
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Both dialogs take the name of a file that does not exist yet (an open then fails with
    // the file's own error), and the save dialog replaces a file without asking.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (request.save)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = filtertext::qtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
            dialog.selectNameFilter(filters[request.filterIndex - 1]);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    // The extension of the chosen type is added by the dialog component, for every runner.
    request.fileName = dialog.selectedFiles().first();
    const int chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0)
        request.filterIndex = chosen + 1;
    return true;
}

bool DialogRunner::fontDialog(QWidget* parent, QFont& font) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, parent);
    if (ok)
        font = chosen;
    return ok;
}

bool DialogRunner::colorDialog(QWidget* parent, QColor& color, bool /*fullOpen*/) {
    // Qt's colour dialog always shows its custom-colour part, which is the full form.
    const QColor chosen = QColorDialog::getColor(color, parent);
    if (!chosen.isValid())
        return false;
    color = chosen;
    return true;
}

bool DialogRunner::printDialog(QWidget* parent, QPrinter& printer, PrintDialogRequest& request) {
    QPrintDialog dialog(&printer, parent);
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile;
    if (request.pageNums) {
        options |= QAbstractPrintDialog::PrintPageRange;
        dialog.setMinMax(request.minPage, request.maxPage);
        dialog.setFromTo(request.fromPage, request.toPage);
    }
    dialog.setOptions(options);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (request.pageNums) {
        if (printer.printRange() == QPrinter::PageRange) {
            request.fromPage = printer.fromPage();
            request.toPage = printer.toPage();
        } else {
            request.fromPage = request.minPage;
            request.toPage = request.maxPage;
        }
    }
    return true;
}

int DialogRunner::execDialog(QDialog& dialog) {
    return dialog.exec();
}

bool DialogRunner::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace sorvanti
