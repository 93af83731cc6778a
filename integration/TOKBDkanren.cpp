#include "integration/TOKBDkanren.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace sorvanti {

TOKBDkanren* OKBDkanren = nullptr;

TOKBDkanren::TOKBDkanren(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("OKBDkanren"));
    setWindowTitle(QStringLiteral("関連付け"));
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
