#pragma once

#include <QDialog>

class QFrame;
class QPushButton;

namespace sorvanti {

// The tools menu's small dialogs: a fixed 313 × 214 client area, a framed bevel above the
// "OK" (default) and "キャンセル" (Escape) buttons, centred on the screen when shown.
class BevelDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 313;
    static constexpr int kHeight = 214;

    BevelDialog(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

    QFrame* Bevel1 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    // The buttons come last in the focus chain, so controls added to the bevel are created
    // first and take the focus when the dialog opens.
    void addButtons();
};

} // namespace sorvanti
