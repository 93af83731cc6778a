#pragma once

#include "toolkit/BevelDialog.h"

namespace sorvanti {

// The settings dialog: an empty bevel above OK and キャンセル. Nothing is set in it yet, so
// neither button changes anything.
class TOKBDsettei : public BevelDialog {
    Q_OBJECT
public:
    explicit TOKBDsettei(QWidget* parent = nullptr);
};

} // namespace sorvanti
