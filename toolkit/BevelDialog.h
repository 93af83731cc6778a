#pragma once

#include <QDialog>

class QFrame;
class QPushButton;

namespace sorvanti {

// The base of the modal forms with OK and Cancel buttons: the form font, a fixed 313 × 214
// client area, a sunken bevel above the OK button (the default button, Enter) and
// "キャンセル" (Escape), centred on the screen when shown.
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
    // first and take the focus when the dialog opens. `okCaption` names what OK does.
    void addButtons(const QString& okCaption = QStringLiteral("OK"));
};

} // namespace sorvanti
