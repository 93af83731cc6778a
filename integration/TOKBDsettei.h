#pragma once

#include "integration/ProgramOptions.h"
#include "toolkit/BevelDialog.h"

class QCheckBox;

namespace sorvanti {

// The settings dialog: inside the bevel, one check box per option, above OK and キャンセル.
// OK takes what the boxes show (options()); キャンセル changes nothing.
class TOKBDsettei : public BevelDialog {
    Q_OBJECT
public:
    explicit TOKBDsettei(QWidget* parent = nullptr);

    // "入力中に変換" and "置き換えた語に色を付ける".
    QCheckBox* CKnyuuryoku = nullptr;
    QCheckBox* CKiro = nullptr;

    void setOptions(const ProgramOptions& options);
    ProgramOptions options() const;
};

} // namespace sorvanti
