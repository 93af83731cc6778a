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

QString saveDialogFilter() {
    return QStringLiteral("テキスト (CP932)|*.svt;*.txt|テキスト (UTF-8)|*.svt;*.txt|"
                          "リッチテキスト|*.rtf");
}

SaveType proposedSaveType(bool plainText, bool named, const plaintext::Format& format) {
    if (named && !plainText)
        return SaveType::Rtf;
    return format.encoding == textencoding::Encoding::Utf8 ? SaveType::Utf8 : SaveType::Cp932;
}

plaintext::Format savedFormat(SaveType type, const plaintext::Format& format) {
    switch (type) {
    case SaveType::Cp932:
        return {};
    case SaveType::Utf8:
        return plaintext::inUtf8(format);
    case SaveType::Rtf:
        break;
    }
    return format;
}

QString dialogDefaultExt() {
    QString text;
    for (const DocumentType& type : kTypes)
        text += QLatin1String("|*") + QString::fromUtf8(type.extension);
    return text;
}

} // namespace sorvanti
