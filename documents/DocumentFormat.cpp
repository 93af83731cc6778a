#include "documents/DocumentFormat.h"

#include <QStringList>

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

QString openDialogFilter() {
    return dialogFilter() + QStringLiteral("|すべてのファイル (*)|*");
}

QString dialogDefaultExt() {
    QString text;
    for (const DocumentType& type : kTypes)
        text += QLatin1String("|*") + QString::fromUtf8(type.extension);
    return text;
}

} // namespace sorvanti
