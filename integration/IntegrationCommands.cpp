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

bool showSettings(QWidget* owner, ProgramOptions& options) {
    TOKBDsettei dialog(owner);
    dialog.setOptions(options);
    if (DialogRunner::current().execDialog(dialog) != QDialog::Accepted)
        return false;
    options = dialog.options();
    return true;
}

} // namespace sorvanti::integration
