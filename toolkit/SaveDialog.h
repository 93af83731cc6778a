#pragma once

#include "toolkit/FileDialog.h"

namespace sorvanti {

// The save dialog component; its owner is the window the dialog is shown over.
class SaveDialog : public FileDialog {
    Q_OBJECT
public:
    explicit SaveDialog(QObject* owner) : FileDialog(true, owner) {}
};

} // namespace sorvanti
