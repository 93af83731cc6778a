#pragma once

#include <QDialog>

namespace sorvanti {

// A modal dialog whose only controls are "OK" and "キャンセル" below an empty
// stretch; the forms built on it differ only in their name and caption.
class OkCancelDialog : public QDialog {
    Q_OBJECT
public:
    OkCancelDialog(const QString& objectName, const QString& caption, QWidget* parent = nullptr);
};

} // namespace sorvanti
