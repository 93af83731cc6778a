#pragma once

#include <QDialog>

namespace sorvanti {

// The file-association dialog with its OK and cancel buttons.
class TOKBDkanren : public QDialog {
    Q_OBJECT
public:
    explicit TOKBDkanren(QWidget* parent = nullptr);
};

extern TOKBDkanren* OKBDkanren;

} // namespace sorvanti
