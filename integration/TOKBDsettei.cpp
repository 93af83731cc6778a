#include "integration/TOKBDsettei.h"

namespace sorvanti {

TOKBDsettei::TOKBDsettei(QWidget* parent)
    : BevelDialog(QStringLiteral("OKBDsettei"), QStringLiteral("設定"), parent) {
    addButtons();
}

} // namespace sorvanti
