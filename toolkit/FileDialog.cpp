#include "toolkit/FileDialog.h"

#include "toolkit/DialogRunner.h"
#include "toolkit/FilterText.h"

#include <QWidget>

namespace sorvanti {

namespace {

// True when the last part of `path` has an extension of its own ("memo.txt", "a.b.c");
// a leading dot alone (".profile") is no extension.
bool hasExtension(const QString& path) {
    const QString base = path.section(QLatin1Char('/'), -1);
    return base.lastIndexOf(QLatin1Char('.')) > 0;
}

} // namespace

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
    FileName = withChosenExtension(request.fileName, Filter, request.filterIndex, DefaultExt);
    FilterIndex = request.filterIndex;
    return true;
}

QString FileDialog::withChosenExtension(const QString& name, const QString& filter, int filterIndex,
                                        const QString& defaultExt) {
    // The default extension's text is never used itself: it only switches the rule on, and
    // the extension comes from the pattern of the chosen type.
    if (defaultExt.isEmpty() || name.isEmpty() || hasExtension(name))
        return name;
    return name + filtertext::extension(filter, filterIndex - 1);
}

} // namespace sorvanti
