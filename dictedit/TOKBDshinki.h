#pragma once

#include "toolkit/BevelDialog.h"

class QLabel;
class QLineEdit;

namespace sorvanti {

// "新しい辞書": asks for the name of a new dictionary (Ename). "作成" is the default button
// (Enter), "キャンセル" the cancel button (Escape).
class TOKBDshinki : public BevelDialog {
    Q_OBJECT
public:
    explicit TOKBDshinki(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* Ename = nullptr;
    QLabel* Label2 = nullptr;
};

} // namespace sorvanti
