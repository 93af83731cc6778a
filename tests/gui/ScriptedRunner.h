#pragma once

#include "toolkit/DialogRunner.h"

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QMessageBox>
#include <QPrinter>
#include <QString>
#include <QUrl>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace sorvanti::test {

// Stands in for the user at every modal dialog: records what was shown and answers
// message boxes from a script (OK when the script is empty) and every other dialog from its
// own script (cancel when it is empty; such unscripted showings are counted in
// otherDialogs). Installed for its lifetime.
class ScriptedRunner : public DialogRunner {
public:
    struct Box {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
    };

    ScriptedRunner() { DialogRunner::install(this); }
    ~ScriptedRunner() override { DialogRunner::install(nullptr); }

    // What the user does in a file dialog: cancel, or confirm `fileName` as typed with the
    // type list at `filterIndex` (1-based; 0 leaves the type the dialog proposed).
    struct FileAnswer {
        bool confirm = false;
        QString fileName;
        int filterIndex = 0;
    };
    static FileAnswer confirm(const QString& fileName, int filterIndex = 0) {
        return {true, fileName, filterIndex};
    }
    static FileAnswer cancel() { return {}; }

    std::vector<Box> boxes;
    std::deque<FileAnswer> fileAnswers;
    std::vector<FileDialogRequest> fileRequests;
    std::deque<QMessageBox::StandardButton> answers;
    int otherDialogs = 0;

    // Colour and font dialogs: the value each was opened with; an answer is the value the
    // user confirms, or nullopt for cancel.
    std::vector<QColor> colorRequests;
    std::deque<std::optional<QColor>> colorAnswers;
    std::vector<QFont> fontRequests;
    std::deque<std::optional<QFont>> fontAnswers;

    // The print dialog: a confirmed answer may send the job to a PDF file and choose a page
    // range (0 keeps the range proposed).
    struct PrintAnswer {
        bool confirm = false;
        QString pdfFile;
        int fromPage = 0;
        int toPage = 0;
    };
    std::vector<PrintDialogRequest> printRequests;
    std::deque<PrintAnswer> printAnswers;

    // A dialog of the program's own: the callback plays the user (fills the fields, picks a
    // choice) and returns the result code, QDialog::Accepted or Rejected.
    std::vector<QString> dialogNames;
    std::deque<std::function<int(QDialog&)>> dialogAnswers;

    std::vector<QUrl> openedUrls;

    QMessageBox::StandardButton messageBox(QWidget*, QMessageBox::Icon icon, const QString& title,
                                           const QString& text,
                                           QMessageBox::StandardButtons buttons) override {
        boxes.push_back({icon, title, text, buttons});
        if (answers.empty())
            return QMessageBox::Ok;
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool fileDialog(QWidget*, FileDialogRequest& request) override {
        fileRequests.push_back(request);
        if (fileAnswers.empty())
            return ++otherDialogs, false;
        const FileAnswer answer = fileAnswers.front();
        fileAnswers.pop_front();
        if (!answer.confirm)
            return false;
        request.fileName = answer.fileName;
        if (answer.filterIndex > 0)
            request.filterIndex = answer.filterIndex;
        return true;
    }
    bool fontDialog(QWidget*, QFont& font) override {
        fontRequests.push_back(font);
        return answer(fontAnswers, font);
    }
    bool colorDialog(QWidget*, QColor& color, bool) override {
        colorRequests.push_back(color);
        return answer(colorAnswers, color);
    }
    bool printDialog(QWidget*, QPrinter& printer, PrintDialogRequest& request) override {
        printRequests.push_back(request);
        if (printAnswers.empty())
            return ++otherDialogs, false;
        const PrintAnswer answer = printAnswers.front();
        printAnswers.pop_front();
        if (!answer.confirm)
            return false;
        if (!answer.pdfFile.isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(answer.pdfFile);
        }
        if (answer.fromPage > 0) {
            request.fromPage = answer.fromPage;
            request.toPage = answer.toPage;
        }
        return true;
    }
    int execDialog(QDialog& dialog) override {
        dialogNames.push_back(dialog.objectName());
        if (dialogAnswers.empty())
            return ++otherDialogs, QDialog::Rejected;
        const auto play = dialogAnswers.front();
        dialogAnswers.pop_front();
        return play(dialog);
    }
    bool openUrl(const QUrl& url) override {
        openedUrls.push_back(url);
        return true;
    }

    template <typename T> bool answer(std::deque<std::optional<T>>& script, T& value) {
        if (script.empty())
            return ++otherDialogs, false;
        const std::optional<T> chosen = script.front();
        script.pop_front();
        if (chosen)
            value = *chosen;
        return chosen.has_value();
    }

    QStringList texts() const {
        QStringList list;
        for (const Box& b : boxes)
            list << b.text;
        return list;
    }
};

} // namespace sorvanti::test
