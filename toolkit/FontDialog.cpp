#include "toolkit/FontDialog.h"

#include "toolkit/DialogRunner.h"

#include <QWidget>

namespace sorvanti {

bool FontDialog::Execute() {
    QFont font = Font;
    if (!DialogRunner::current().fontDialog(qobject_cast<QWidget*>(parent()), font))
        return false;
    Font = font;
    return true;
}

} // namespace sorvanti
