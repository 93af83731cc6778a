#pragma once

#include "toolkit/BevelDialog.h"

#include <functional>

class QLabel;
class QLineEdit;

namespace sorvanti {

// "辞書登録": asks for the standard word (Etango0) and the converted word (Etango1).
// "登録" is the default button (Enter), "キャンセル" the cancel button (Escape). "登録" closes
// the dialog only when `registerWords` (when set) says the words were taken; otherwise the
// dialog stays open with the words as they were.
class TOKBDtouroku : public BevelDialog {
    Q_OBJECT
public:
    explicit TOKBDtouroku(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* Etango0 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Etango1 = nullptr;

    // The field of side `side` (0 standard word, 1 converted word).
    QLineEdit* field(int side) const { return side == 0 ? Etango0 : Etango1; }

    std::function<bool()> registerWords;

    void accept() override;
};

// The dialog while it is shown.
extern TOKBDtouroku* OKBDtouroku;

} // namespace sorvanti
