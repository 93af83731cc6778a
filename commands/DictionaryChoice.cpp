#include "commands/DictionaryChoice.h"

#include "conversion/DictionaryEncoding.h"
#include "conversion/DictionaryLoader.h"
#include "toolkit/Error.h"
#include "toolkit/Messages.h"

#include <QString>

namespace sorvanti::dictionarychoice {

namespace {

const QString kCannotOpenDictionary = QStringLiteral("辞書ファイルが開けません。");
const QString kDictionaryTooLarge =
    QStringLiteral("辞書ファイルが大きすぎます。最初の16MBだけを読みました。");
const QString kDictionaryCut =
    QStringLiteral("辞書の単語が多すぎます。最初の2000語だけを使います。");

} // namespace

void load(QWidget* parent, DictionaryTable& table, const std::string& dataFolder,
          const std::string& name) {
    const LoadResult result = loadDictionary(table, dataFolder, name);
    if (!result.opened) {
        ShowMessage(parent, kCannotOpenDictionary);
        return;
    }
    if (result.entriesDropped > 0)
        ShowMessage(parent, kDictionaryCut);
    if (result.sizeLimitReached)
        ShowMessage(parent, kDictionaryTooLarge);
    if (result.linesNotTaken > 0)
        ShowMessage(parent, QString::fromStdString(linesNotTakenNotice(result.linesNotTaken,
                                                                       result.firstLineNotTaken)));
    if (!result.complete)
        throw Error(QStringLiteral("ストリームからの読み込みに失敗しました").toStdString());
}

} // namespace sorvanti::dictionarychoice
