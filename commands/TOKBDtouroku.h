#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace sorvanti {

// "辞書登録": asks for the standard word (Etango0) and the converted word (Etango1).
// "登録" is the default button (Enter), "キャンセル" the cancel button (Escape).
class TOKBDtouroku : public QDialog {
    Q_OBJECT
public:
    explicit TOKBDtouroku(QWidget* parent = nullptr);

    QFrame* Bevel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Etango0 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Etango1 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    // The field of side `side` (0 standard word, 1 converted word).
    QLineEdit* field(int side) const { return side == 0 ? Etango0 : Etango1; }

protected:
    // Opens in the middle of the screen, not over the main window.
    void showEvent(QShowEvent* event) override;
};

// The dialog while it is shown.
extern TOKBDtouroku* OKBDtouroku;

} // namespace sorvanti
