#include "toolkit/FilterText.h"

namespace sorvanti::filtertext {

namespace {

// Whether a description ends with its patterns in parentheses: "ﾃｷｽﾄﾌｧｲﾙ (*.txt)" does,
// "テキスト (UTF-8)" does not.
bool namesItsPatterns(const QString& description) {
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    return open >= 0 && description.endsWith(QLatin1Char(')')) &&
           description.indexOf(QLatin1Char('*'), open) >= 0;
}

} // namespace

QStringList qtNameFilters(const QString& filter) {
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (namesItsPatterns(parts[i])) {
            result << parts[i];
            continue;
        }
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        result << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return result;
}

QString extension(const QString& filter, int index) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    const qsizetype at = qsizetype(index) * 2 + 1;
    if (index < 0 || at >= parts.size())
        return {};
    // A pattern may list several masks ("*.txt;*.text"); the first one gives the extension.
    const QString mask = parts[at].section(QLatin1Char(';'), 0, 0).trimmed();
    const qsizetype dot = mask.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || mask.indexOf(QLatin1Char('*'), dot) >= 0 ||
        mask.indexOf(QLatin1Char('?'), dot) >= 0 || dot + 1 == mask.size())
        return {};
    return mask.mid(dot);
}

} // namespace sorvanti::filtertext
