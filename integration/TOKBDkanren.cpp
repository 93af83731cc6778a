#include "integration/TOKBDkanren.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace sorvanti {

TOKBDkanren::TOKBDkanren(QWidget* parent)
    : BevelDialog(QStringLiteral("OKBDkanren"), QStringLiteral("関連付け"), parent) {
    Label1 = new QLabel(QStringLiteral("レジストリに、専用データの関連付けを行います。"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(20, 22);
    Label1->adjustSize();

    RGsentaku = new QGroupBox(QStringLiteral("選択"), this);
    RGsentaku->setObjectName(QStringLiteral("RGsentaku"));
    RGsentaku->setGeometry(20, 52, kWidth - 40, 104);
    auto* column = new QVBoxLayout(RGsentaku);
    items_ = new QButtonGroup(this);
    const QString captions[] = {QStringLiteral("登録する。　又は、場所変更時。"),
                                QStringLiteral("削除する。")};
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(captions[i], RGsentaku);
        items_->addButton(item, i);
        column->addWidget(item);
    }
    setItemIndex(0);
    addButtons();
}

int TOKBDkanren::ItemIndex() const {
    return items_->checkedId();
}

void TOKBDkanren::setItemIndex(int index) {
    if (QAbstractButton* item = items_->button(index))
        item->setChecked(true);
}

} // namespace sorvanti
