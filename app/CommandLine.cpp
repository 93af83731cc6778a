#include "app/CommandLine.h"

namespace sorvanti::commandline {

std::optional<QString> documentName(const QString& commandLine) {
    const QString separator = QStringLiteral("\" \"");
    const qsizetype at = commandLine.indexOf(separator);
    if (at < 0)
        return std::nullopt;
    QString name = commandLine.mid(at + separator.size());
    name.chop(1);
    return name;
}

} // namespace sorvanti::commandline
