#include "documents/DocumentFormat.h"

#include <array>

namespace sorvanti {

namespace {

constexpr std::array kTypes{
    DocumentType{".svt", "ｿﾙﾊﾞﾝﾁﾌｧｲﾙ", true},
    DocumentType{".txt", "ﾃｷｽﾄﾌｧｲﾙ", true},
    DocumentType{".rtf", "ﾘｯﾁﾃｷｽﾄﾌｧｲﾙ", false},
};

} // namespace

std::span<const DocumentType> documentTypes() {
    return kTypes;
}

bool isPlainTextName(const QString& path) {
    return !path.contains(QLatin1String(".rtf"), Qt::CaseSensitive);
}

QString dialogFilter() {
    QStringList entries;
    for (const DocumentType& type : kTypes) {
        const QString ext = QString::fromUtf8(type.extension);
        entries << QString::fromUtf8(type.typeName) + QLatin1String(" (*") + ext +
                       QLatin1String(")|*") + ext;
    }
    return entries.join(QLatin1Char('|'));
}

QString dialogDefaultExt() {
    QString text;
    for (const DocumentType& type : kTypes)
        text += QLatin1String("|*") + QString::fromUtf8(type.extension);
    return text;
}

QStringList nameFiltersFromFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList names;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        names << parts[i];
    return names;
}

QString filterExtension(const QString& filter, int index) {
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

} // namespace sorvanti
