#pragma once

#include "toolkit/FileDialog.h"

namespace sorvanti {

// The open dialog component; its owner is the window the dialog is shown over.
class OpenDialog : public FileDialog {
    Q_OBJECT
public:
    explicit OpenDialog(QObject* owner) : FileDialog(false, owner) {}
};

} // namespace sorvanti
