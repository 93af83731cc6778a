#include "integration/TOKBDsettei.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace sorvanti {

TOKBDsettei* OKBDsettei = nullptr;

TOKBDsettei::TOKBDsettei(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("OKBDsettei"));
    setWindowTitle(QStringLiteral("設定"));
    auto* column = new QVBoxLayout(this);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addStretch(1);
    column->addWidget(buttons);
}

} // namespace sorvanti
