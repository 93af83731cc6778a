#include "integration/TOKBDsettei.h"

namespace sorvanti {

TOKBDsettei* OKBDsettei = nullptr;

TOKBDsettei::TOKBDsettei(QWidget* parent)
    : BevelDialog(QStringLiteral("OKBDsettei"), QStringLiteral("設定"), parent) {
    addButtons();
}

} // namespace sorvanti
