#include "integration/TOKBDkanren.h"

namespace sorvanti {

TOKBDkanren* OKBDkanren = nullptr;

TOKBDkanren::TOKBDkanren(QWidget* parent)
    : OkCancelDialog(QStringLiteral("OKBDkanren"), QStringLiteral("関連付け"), parent) {}

} // namespace sorvanti
