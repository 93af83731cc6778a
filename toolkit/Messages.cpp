#include "toolkit/Messages.h"

#include "toolkit/DialogRunner.h"

#include <QCoreApplication>

namespace sorvanti {

QString applicationTitleFor(const QString& programPath) {
    QString name = programPath.section(QLatin1Char('/'), -1);
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}

QString applicationTitle() {
    return QCoreApplication::applicationName();
}

void ShowMessage(QWidget* parent, const QString& text) {
    DialogRunner::current().messageBox(parent, QMessageBox::NoIcon, applicationTitle(), text,
                                       QMessageBox::Ok);
}

void ReportException(QWidget* parent, const QString& message) {
    DialogRunner::current().messageBox(parent, QMessageBox::Critical, applicationTitle(),
                                       message + QLatin1Char('.'), QMessageBox::Ok);
}

} // namespace sorvanti
