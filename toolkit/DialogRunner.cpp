#include "toolkit/DialogRunner.h"

#include "toolkit/FilterText.h"
#include "toolkit/Translation.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStringList>
#include <QUrl>

namespace sorvanti {

namespace {
DialogRunner* installed = nullptr;

// What was chosen in the print dialog last: a print queue, or a PDF file.
struct PrinterChoice {
    bool toFile;
    QString printer;
    QString file;
};

PrinterChoice choiceOf(const QPrinter& printer) {
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    return {toFile, toFile ? QString() : printer.printerName(), printer.outputFileName()};
}

// Making the print dialog makes the system's default queue current; the last choice is put
// back before it shows. The dialog proposes "PDF ファイルに出力" when the printer writes a PDF
// file, and its own parts (the queue list "printers", the file field "filename") show the rest.
void putBackChoice(QPrintDialog& dialog, QPrinter& printer, const PrinterChoice& last) {
    if (last.toFile) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        if (last.file.isEmpty())
            return; // no file chosen yet: the dialog proposes its own
        printer.setOutputFileName(last.file);
        if (auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("filename")))
            file->setText(last.file);
    } else if (auto* queues = dialog.findChild<QComboBox*>(QStringLiteral("printers"))) {
        const int queue = queues->findText(last.printer);
        if (queue >= 0)
            queues->setCurrentIndex(queue);
    }
}

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
    showFileDetailsInJapanese(dialog);
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
    const PrinterChoice last = choiceOf(printer);
    QPrintDialog dialog(&printer, parent);
    putBackChoice(dialog, printer, last);
    if (request.setup) {
        // Page setup chooses a printer and its settings; confirming it prints nothing.
        dialog.setWindowTitle(QStringLiteral("ページ設定"));
        if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
            buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    }
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
