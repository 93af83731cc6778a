#include "toolkit/BevelDialog.h"

#include "toolkit/FormFont.h"
#include "toolkit/ScreenCentre.h"

#include <QFrame>
#include <QPushButton>

namespace sorvanti {

BevelDialog::BevelDialog(const QString& objectName, const QString& caption, QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setFont(formFont());
    setFixedSize(kWidth, kHeight);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(8, 8, kWidth - 16, 164);
}

void BevelDialog::addButtons(const QString& okCaption) {
    OKBtn = new QPushButton(okCaption, this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(79, 180, 75, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(159, 180, 75, 25);
    // Escape rejects the dialog through QDialog's own key handling.
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void BevelDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(*this);
}

} // namespace sorvanti
