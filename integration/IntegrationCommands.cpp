#include "integration/IntegrationCommands.h"

#include "integration/FileAssociation.h"
#include "integration/TOKBDkanren.h"
#include "integration/TOKBDsettei.h"
#include "toolkit/DialogRunner.h"

namespace sorvanti::integration {

void associate(QWidget* owner, const QString& programPath) {
    TOKBDkanren dialog(owner);
    if (DialogRunner::current().execDialog(dialog) != QDialog::Accepted)
        return;
    const association::Places places = association::Places::fromEnvironment();
    if (dialog.ItemIndex() == 0)
        association::registerDocumentType(programPath, places);
    else
        association::removeDocumentType(programPath, places);
    association::notifyDesktop(places);
}

void showSettings(QWidget* owner) {
    TOKBDsettei dialog(owner);
    DialogRunner::current().execDialog(dialog);
}

} // namespace sorvanti::integration
