#pragma once

#include "toolkit/OkCancelDialog.h"

namespace sorvanti {

// The settings dialog with its OK and cancel buttons.
class TOKBDsettei : public OkCancelDialog {
    Q_OBJECT
public:
    explicit TOKBDsettei(QWidget* parent = nullptr);
};

extern TOKBDsettei* OKBDsettei;

} // namespace sorvanti
