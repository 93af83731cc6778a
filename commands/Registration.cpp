#include "commands/Registration.h"

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

QString wordText(const DictionaryTable& table, int32_t entry, int side) {
    return toQString(cp932::decode(table.word(entry, side)));
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
                          wordText(table, earlier, 0), wordText(table, earlier, 1));
    }
    if (!notes.isEmpty())
        ShowMessage(parent, QStringLiteral("登録しました。") + notes.join(QLatin1Char('\n')));
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
    if (DialogRunner::current().execDialog(dialog) != QDialog::Accepted)
        return;

    std::array<std::string, 2> words;
    for (int s = 0; s < 2; ++s) {
        std::optional<std::string> bytes = dictionaryBytes(parent, dialog.field(s)->text());
        if (!bytes)
            return;
        words[s] = std::move(*bytes);
    }
    switch (wordregistration::registerPair(table, words[0], words[1])) {
    case wordregistration::Outcome::Registered:
        tellWhenHidden(parent, table);
        return;
    case wordregistration::Outcome::NoFileForm:
        ShowMessage(parent, kNoFileForm);
        return;
    case wordregistration::Outcome::CannotOpen:
        ShowMessage(parent, kCannotOpen);
        return;
    case wordregistration::Outcome::TableFull:
        ShowMessage(parent, kTableFull);
        return;
    case wordregistration::Outcome::WouldReadAsUtf8:
        ShowMessage(parent, kWouldReadAsUtf8);
        return;
    case wordregistration::Outcome::WriteFailed:
        throw Error(table.path() + " に書き込めません");
    }
}

} // namespace sorvanti::registration
