#include "commands/DictionaryChoice.h"

#include "conversion/DictionaryEncoding.h"
#include "conversion/DictionaryLoader.h"
#include "toolkit/Error.h"

#include <QString>

namespace sorvanti::dictionarychoice {

namespace {

const QString kCannotOpenDictionary = QStringLiteral("辞書ファイルが開けません。");
const QString kDictionaryTooLarge =
    QStringLiteral("辞書ファイルが大きすぎます。最初の16MBだけを読みました。");
const QString kDictionaryCut =
    QStringLiteral("辞書の単語が多すぎます。最初の2000語だけを使います。");

} // namespace

QStringList load(DictionaryTable& table, const std::string& dataFolder, const std::string& name) {
    const LoadResult result = loadDictionary(table, dataFolder, name);
    if (!result.opened)
        return {kCannotOpenDictionary};
    if (!result.complete)
        throw Error(QStringLiteral("ストリームからの読み込みに失敗しました").toStdString());
    QStringList notices;
    if (result.entriesDropped > 0)
        notices << kDictionaryCut;
    if (result.sizeLimitReached)
        notices << kDictionaryTooLarge;
    if (result.linesNotTaken > 0)
        notices << QString::fromStdString(
            linesNotTakenNotice(result.linesNotTaken, result.firstLineNotTaken));
    return notices;
}

} // namespace sorvanti::dictionarychoice
