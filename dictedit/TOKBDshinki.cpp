#include "dictedit/TOKBDshinki.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace sorvanti {

TOKBDshinki::TOKBDshinki(QWidget* parent)
    : BevelDialog(QStringLiteral("OKBDshinki"), QStringLiteral("新しい辞書"), parent) {
    Label1 = new QLabel(QStringLiteral("辞書の名前(&N)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(24, 24, 265, 16);
    Ename = new QLineEdit(this);
    Ename->setObjectName(QStringLiteral("Ename"));
    Ename->setGeometry(24, 42, 265, 24);
    Label1->setBuddy(Ename);
    Label2 = new QLabel(QStringLiteral("辞書のフォルダに「名前.txt」として作ります。"
                                       "中身は空で、CP932 (改行 CR LF) です。"),
                        this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setGeometry(24, 80, 265, 80);
    addButtons(QStringLiteral("作成"));
    CancelBtn->setAutoDefault(false);
}

} // namespace sorvanti
