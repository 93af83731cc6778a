#pragma once

#include "toolkit/OkCancelDialog.h"

namespace sorvanti {

// The file-association dialog with its OK and cancel buttons.
class TOKBDkanren : public OkCancelDialog {
    Q_OBJECT
public:
    explicit TOKBDkanren(QWidget* parent = nullptr);
};

extern TOKBDkanren* OKBDkanren;

} // namespace sorvanti
