#include "commands/Registration.h"

#include "commands/ConversionCommand.h"
#include "commands/TOKBDtouroku.h"
#include "conversion/DictionaryTable.h"
#include "conversion/Shadowing.h"
#include "conversion/WordCheck.h"
#include "conversion/WordRegistration.h"
#include "toolkit/Cp932.h"
#include "toolkit/DialogRunner.h"
#include "toolkit/Error.h"
#include "toolkit/Messages.h"
#include "toolkit/Utf16.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStringList>

#include <array>
#include <optional>
#include <string>

namespace sorvanti::registration {

namespace {

const QString kCannotOpen = QStringLiteral("辞書ファイルが開けません。");
const QString kNoFileForm =
    QStringLiteral("UTF-8 の辞書ファイルに書けないバイトがあるので、登録できません。");
const QString kTableFull = QStringLiteral("辞書の単語が2000語に達しているので、登録できません。");
const QString kWouldReadAsUtf8 = QStringLiteral(
    "この組を書き足すと辞書ファイル全体が UTF-8 として読まれてしまうので、登録できません。");

// The word in code page 932 bytes; nullopt after telling the user which character has
// no such form.
std::optional<std::string> dictionaryBytes(QWidget* parent, const QString& word) {
    const std::u16string_view text = utf16View(word);
    size_t bad = std::u16string::npos;
    std::string bytes = cp932::encode(text, &bad);
    if (bad == std::u16string::npos)
        return bytes;
    const int units = QChar::isHighSurrogate(text[bad]) && bad + 1 < text.size() ? 2 : 1;
    ShowMessage(parent, QStringLiteral("文字「%1」は辞書に登録できません。")
                            .arg(word.mid(static_cast<qsizetype>(bad), units)));
    return std::nullopt;
}

// The pair is registered whatever hides it; the user learns which earlier entry will match
// first, in either direction, so the pair seems not to work. In word mode only the same word
// is sure to hide it (the analyser would tell more, and the registration has none at hand).
void tellWhenHidden(QWidget* parent, const DictionaryTable& table) {
    const int32_t added = table.count() - 1;
    QStringList notes;
    for (int side = 0; side < 2; ++side) {
        const int32_t earlier = table.wordMode()
                                    ? wordcheck::hidingEntry(table, side, added, nullptr)
                                    : shadowingEntry(table, side, added);
        if (earlier < 0)
            continue;
        notes << QStringLiteral(
                     "%1では、先にある「%2 %3」が先に一致するので、この組は使われません。")
                     .arg(side == 0 ? QStringLiteral("変換") : QStringLiteral("逆変換"),
                          conversioncommand::entryWord(table, earlier, 0),
                          conversioncommand::entryWord(table, earlier, 1));
    }
    if (!notes.isEmpty())
        ShowMessage(parent, QStringLiteral("登録しました。") + notes.join(QLatin1Char('\n')));
}

// The message for a pair the file side did not take; empty when it did.
QString refusal(wordregistration::Outcome outcome, const wordregistration::WordProblem& problem) {
    using wordregistration::Outcome;
    switch (outcome) {
    case Outcome::Registered:
        return {};
    case Outcome::WordRefused:
        return QString::fromStdString(wordregistration::wordProblemMessage(problem));
    case Outcome::NoFileForm:
        return kNoFileForm;
    case Outcome::CannotOpen:
        return kCannotOpen;
    case Outcome::TableFull:
        return kTableFull;
    case Outcome::WouldReadAsUtf8:
        return kWouldReadAsUtf8;
    case Outcome::WriteFailed:
        break;
    }
    return {};
}

// Registers the dialog's two words; false, after telling the user why, when they were not
// taken, so that the dialog stays open with them.
bool registerFields(TOKBDtouroku& dialog, DictionaryTable& table) {
    std::array<std::string, 2> words;
    for (int s = 0; s < 2; ++s) {
        std::optional<std::string> bytes = dictionaryBytes(&dialog, dialog.field(s)->text());
        if (!bytes) {
            dialog.field(s)->setFocus();
            return false;
        }
        words[s] = std::move(*bytes);
    }
    wordregistration::WordProblem problem;
    const wordregistration::Outcome outcome =
        wordregistration::registerPair(table, words[0], words[1], &problem);
    if (outcome == wordregistration::Outcome::WriteFailed) {
        // The error box of a failed file operation, shown here: the dialog stays.
        ReportException(&dialog, QString::fromStdString(table.path() + " に書き込めません"));
        return false;
    }
    const QString message = refusal(outcome, problem);
    if (message.isEmpty())
        return true;
    ShowMessage(&dialog, message);
    if (outcome == wordregistration::Outcome::WordRefused)
        dialog.field(problem.side)->setFocus();
    return false;
}

// Ends the dialog's lifetime and its global name together.
struct ShownDialog {
    explicit ShownDialog(QWidget* parent) : dialog(new TOKBDtouroku(parent)) {
        OKBDtouroku = dialog;
    }
    ~ShownDialog() {
        OKBDtouroku = nullptr;
        delete dialog;
    }
    TOKBDtouroku* dialog;
};

} // namespace

QString firstLine(const QString& text) {
    const qsizetype end =
        text.indexOf(QRegularExpression(QStringLiteral("[\\r\\n\\x{2028}\\x{2029}]")));
    return end < 0 ? text : text.left(end);
}

void registerWord(QWidget* parent, DictionaryTable& table, int activePane) {
    ShownDialog shown(parent);
    TOKBDtouroku& dialog = *shown.dialog;
    const int side = activePane == 1 ? 1 : 0;
    dialog.field(side)->setText(firstLine(QGuiApplication::clipboard()->text()));
    // The caret starts in the field still to be filled, so the user can type straight away.
    dialog.field(1 - side)->setFocus();
    dialog.registerWords = [&] { return registerFields(dialog, table); };
    if (DialogRunner::current().execDialog(dialog) == QDialog::Accepted)
        tellWhenHidden(parent, table);
}

} // namespace sorvanti::registration
