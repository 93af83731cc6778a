#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace sorvanti {

// The small non-modal dialog of 検索 and 置換: what to find, what to put instead, the case
// choice, and the buttons. It only holds the user's input; FindReplace acts on it. "検索"
// shows the find row alone, "置換" the replace row and its buttons too. Closing hides it and
// keeps what was typed for the rest of the run.
class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindReplaceDialog(QWidget* parent = nullptr);

    QLabel* Lfind = nullptr;
    QLineEdit* Efind = nullptr;
    QLabel* Lreplace = nullptr;
    QLineEdit* Ereplace = nullptr;
    QCheckBox* CBcase = nullptr;
    QPushButton* Bnext = nullptr;
    QPushButton* Bprevious = nullptr;
    QPushButton* Breplace = nullptr;
    QPushButton* BreplaceAll = nullptr;
    QPushButton* Bclose = nullptr;

    // Shows the find row alone ("検索") or with the replace row ("置換").
    void setReplacing(bool replacing);
    // Whether the pane can take replacements; the replace buttons follow it.
    void setEditable(bool editable);

private:
    void updateButtons();

    bool editable_ = true;
};

} // namespace sorvanti
