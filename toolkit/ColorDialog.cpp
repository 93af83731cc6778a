#include "toolkit/ColorDialog.h"

#include "toolkit/DialogRunner.h"

#include <QWidget>

namespace sorvanti {

bool ColorDialog::Execute() {
    QColor color = Color;
    if (!DialogRunner::current().colorDialog(qobject_cast<QWidget*>(parent()), color, FullOpen))
        return false;
    Color = color;
    return true;
}

} // namespace sorvanti
