#pragma once

#include <QFont>
#include <QMessageBox>
#include <QString>

class QColor;
class QDialog;
class QPrinter;
class QUrl;
class QWidget;

namespace sorvanti {

// What a file dialog is asked and what it answers: `fileName` and `filterIndex` (1-based,
// as the dialog components count) go in as the start values and come back as chosen.
struct FileDialogRequest {
    bool save = false;
    QString title;
    QString fileName;
    QString filter;
    int filterIndex = 1;
    QString defaultExt;
};

// What a print dialog is offered and what it answers: with `pageNums` the page-range
// choice is available within minPage..maxPage; fromPage/toPage go in as the proposed
// range and come back as chosen. The selection choice is never offered; printing to a PDF
// file always is, since a Linux desktop often has no printer at all. The printer chosen last
// (a queue, or a PDF file and its name) is what the dialog proposes.
struct PrintDialogRequest {
    bool setup = false; // "ページ設定": the dialog chooses the printer; confirming prints nothing
    bool pageNums = false;
    int fromPage = 0;
    int toPage = 0;
    int minPage = 0;
    int maxPage = 0;
};

// Every modal interaction of the program goes through the installed runner. The base class
// shows the real dialogs; tests install a subclass that records the calls and answers them.
class DialogRunner {
public:
    virtual ~DialogRunner() = default;

    // The runner in force: the one installed last, or the real one.
    static DialogRunner& current();
    // Installs `runner` (not owned); nullptr restores the real dialogs.
    static void install(DialogRunner* runner);

    virtual QMessageBox::StandardButton messageBox(QWidget* parent, QMessageBox::Icon icon,
                                                   const QString& title, const QString& text,
                                                   QMessageBox::StandardButtons buttons);
    // True when the user confirmed; the request then holds the chosen name and filter.
    virtual bool fileDialog(QWidget* parent, FileDialogRequest& request);
    virtual bool fontDialog(QWidget* parent, QFont& font);
    virtual bool colorDialog(QWidget* parent, QColor& color, bool fullOpen);
    // True when the user confirmed; the printer then holds the chosen printer and settings.
    virtual bool printDialog(QWidget* parent, QPrinter& printer, PrintDialogRequest& request);
    // Runs `dialog` modally and returns its result code.
    virtual int execDialog(QDialog& dialog);
    // Hands `url` to the desktop (browser, mail program); false when nothing took it.
    virtual bool openUrl(const QUrl& url);
};

} // namespace sorvanti
