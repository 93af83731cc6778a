#include "commands/WordModeChoice.h"

#include "conversion/DictionaryTable.h"

namespace sorvanti {

QString WindowWordMode::follow(const DictionaryTable& table) {
    declared_ = table.wordMode();
    lastFailures_ = 0;
    if (!declared_) {
        words_.reset();
        return {};
    }
    if (words_)
        return {};
    if (const words::WordAnalyser* analyser = analyser_.get()) {
        words_ = std::make_unique<WordMode>(*analyser);
        failuresBefore_ = 0;
        return {};
    }
    return QStringLiteral("この辞書は単語単位ですが、%1\n単語の切れ目によらずに変換します。")
        .arg(QString::fromStdString(analyser_.error()));
}

QString WindowWordMode::label() const {
    if (!declared_)
        return {};
    if (!words_)
        return QStringLiteral("単語単位 (無効)");
    if (lastFailures_ > 0)
        return QStringLiteral("単語単位 (解析できない %1 行は単語によらずに変換)")
            .arg(lastFailures_);
    return QStringLiteral("単語単位");
}

void WindowWordMode::conversionDone() {
    const int64_t failures = words_ ? words_->failures() : 0;
    lastFailures_ = failures - failuresBefore_;
    failuresBefore_ = failures;
}

} // namespace sorvanti
