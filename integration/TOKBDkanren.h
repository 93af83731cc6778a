#pragma once

#include "toolkit/BevelDialog.h"

class QButtonGroup;
class QGroupBox;
class QLabel;

namespace sorvanti {

// The file-association dialog: register the document type (again, after the program moved)
// or remove it. Opens with "register" chosen.
class TOKBDkanren : public BevelDialog {
    Q_OBJECT
public:
    explicit TOKBDkanren(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QGroupBox* RGsentaku = nullptr;

    // The chosen item of RGsentaku: 0 register, 1 remove.
    int ItemIndex() const;
    void setItemIndex(int index);

private:
    QButtonGroup* items_ = nullptr;
};

} // namespace sorvanti
