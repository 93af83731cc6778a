#include "toolkit/ProgramIcon.h"

namespace sorvanti {

QIcon programIcon() {
    return QIcon(QStringLiteral(":/icons/sorvanti.svg"));
}

} // namespace sorvanti
