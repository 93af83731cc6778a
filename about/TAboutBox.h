#pragma once

#include "about/EyeAnimation.h"

#include <QDialog>
#include <QPixmap>

#include <array>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace sorvanti {

// The about box: product name, version and date beside a face whose eyes look around and
// blink, and two links (web page, mail) that the eyes turn to while the mouse is on them.
// Escape does not close it: it has no cancel button.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    static const QString kWebPage;
    static const QString kMailAddress;
    static const QString kDisplayName;

    // `random` stands in for the C library's generator (seeded with the time when empty).
    explicit TAboutBox(QWidget* parent = nullptr, std::function<int()> random = {});

    QFrame* Panel1 = nullptr;
    QLabel* Iface = nullptr;
    QLabel* Ieye = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Comments = nullptr;
    QLabel* Llicense = nullptr;
    QLabel* Lweb = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* LeMail = nullptr;
    QPushButton* OKButton = nullptr;
    QTimer* Timer1 = nullptr;

    int eyeFrame() const { return eyes_.frame(); }

    void FormCreate();
    void FormClose();
    void Timer1Timer();
    void LwebMouseEnter();
    void LwebMouseLeave();
    void LwebClick();
    void LeMailMouseEnter();
    void LeMailMouseLeave();
    void LeMailClick();

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createComponents();
    void showEyes(int frame);
    void linkEntered(QLabel* link, int frame);
    void linkLeft(QLabel* link);

    EyeAnimation eyes_;
    std::array<QPixmap, 10> eyePictures_;
};

// "バージョン情報(&A)...": shows the about box modally over `owner`.
void showAboutBox(QWidget* owner);

} // namespace sorvanti
