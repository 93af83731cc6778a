#include "integration/TOKBDsettei.h"

namespace sorvanti {

TOKBDsettei* OKBDsettei = nullptr;

TOKBDsettei::TOKBDsettei(QWidget* parent)
    : OkCancelDialog(QStringLiteral("OKBDsettei"), QStringLiteral("設定"), parent) {}

} // namespace sorvanti
