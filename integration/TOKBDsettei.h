#pragma once

#include <QDialog>

namespace sorvanti {

// The settings dialog with its OK and cancel buttons.
class TOKBDsettei : public QDialog {
    Q_OBJECT
public:
    explicit TOKBDsettei(QWidget* parent = nullptr);
};

extern TOKBDsettei* OKBDsettei;

} // namespace sorvanti
