#include "commands/TOKBDtouroku.h"

#include "toolkit/FormFont.h"
#include "toolkit/ScreenCentre.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace sorvanti {

TOKBDtouroku* OKBDtouroku = nullptr;

TOKBDtouroku::TOKBDtouroku(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("OKBDtouroku"));
    setWindowTitle(QStringLiteral("辞書登録"));
    setFont(formFont());
    setFixedSize(313, 214);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const auto named = [](QWidget* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    Bevel1 = new QFrame(this);
    named(Bevel1, "Bevel1");
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 297, 161);

    Label1 = new QLabel(QStringLiteral("標準語"), this);
    named(Label1, "Label1");
    Label1->setGeometry(24, 24, 120, 16);
    Etango0 = new QLineEdit(this);
    named(Etango0, "Etango0");
    Etango0->setGeometry(24, 42, 265, 24);
    Label2 = new QLabel(QStringLiteral("変換語"), this);
    named(Label2, "Label2");
    Label2->setGeometry(24, 92, 120, 16);
    Etango1 = new QLineEdit(this);
    named(Etango1, "Etango1");
    Etango1->setGeometry(24, 110, 265, 24);

    OKBtn = new QPushButton(QStringLiteral("登録"), this);
    named(OKBtn, "OKBtn");
    OKBtn->setGeometry(79, 180, 75, 25);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    named(CancelBtn, "CancelBtn");
    CancelBtn->setGeometry(159, 180, 75, 25);
    CancelBtn->setAutoDefault(false);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, Etango0);
    setTabOrder(Etango0, Etango1);
}

void TOKBDtouroku::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(*this);
}

} // namespace sorvanti
