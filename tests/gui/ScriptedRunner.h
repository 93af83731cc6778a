#pragma once

#include "toolkit/DialogRunner.h"

#include <QMessageBox>
#include <QString>

#include <deque>
#include <vector>

namespace sorvanti::test {

// Stands in for the user at every modal dialog: records what was shown and answers
// message boxes from a script (OK when the script is empty) and file dialogs from their own
// script (cancel when it is empty). Installed for its lifetime.
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
    bool fontDialog(QWidget*, QFont&) override { return ++otherDialogs, false; }
    bool colorDialog(QWidget*, QColor&, bool) override { return ++otherDialogs, false; }
    bool printDialog(QWidget*, QPrinter&) override { return ++otherDialogs, false; }
    int execDialog(QDialog&) override { return ++otherDialogs, 0; }

    QStringList texts() const {
        QStringList list;
        for (const Box& b : boxes)
            list << b.text;
        return list;
    }
};

} // namespace sorvanti::test
