#include "toolkit/FileDialog.h"

#include "toolkit/DialogRunner.h"

#include <QWidget>

namespace sorvanti {

FileDialog::FileDialog(bool save, QObject* owner) : QObject(owner), save_(save) {}

bool FileDialog::Execute() {
    FileDialogRequest request;
    request.save = save_;
    request.title = Title;
    request.fileName = FileName;
    request.filter = Filter;
    request.filterIndex = FilterIndex;
    request.defaultExt = DefaultExt;
    if (!DialogRunner::current().fileDialog(qobject_cast<QWidget*>(parent()), request))
        return false;
    FileName = request.fileName;
    FilterIndex = request.filterIndex;
    return true;
}

} // namespace sorvanti
