#include "commands/TOKBDtouroku.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace sorvanti {

TOKBDtouroku* OKBDtouroku = nullptr;

TOKBDtouroku::TOKBDtouroku(QWidget* parent)
    : BevelDialog(QStringLiteral("OKBDtouroku"), QStringLiteral("辞書登録"), parent) {
    // A sunken panel rather than the other forms' framed box.
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 297, 161);

    const auto field = [this](const char* labelName, const QString& caption, int top,
                              const char* name, QLabel*& label, QLineEdit*& edit) {
        label = new QLabel(caption, this);
        label->setObjectName(QString::fromLatin1(labelName));
        label->setGeometry(24, top, 120, 16);
        edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setGeometry(24, top + 18, 265, 24);
    };
    field("Label1", QStringLiteral("標準語"), 24, "Etango0", Label1, Etango0);
    field("Label2", QStringLiteral("変換語"), 92, "Etango1", Label2, Etango1);

    addButtons(QStringLiteral("登録"));
    CancelBtn->setAutoDefault(false);
    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, Etango0);
    setTabOrder(Etango0, Etango1);
}

void TOKBDtouroku::accept() {
    if (registerWords && !registerWords())
        return;
    BevelDialog::accept();
}

} // namespace sorvanti
