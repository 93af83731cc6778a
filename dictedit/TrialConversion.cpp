#include "dictedit/TrialConversion.h"

#include "conversion/Engine.h"
#include "conversion/UnicodeConversion.h"
#include "conversion/WordMode.h"
#include "dictedit/DictionaryModel.h"
#include "toolkit/Utf16.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTextBrowser>
#include <QTextCursor>
#include <QUrl>

#include <optional>

namespace sorvanti {

namespace {

// Neighbouring replacements alternate between two colours, so that each shows where it ends.
const QColor kReplaced[2] = {QColor(0xD6, 0xEA, 0xFF), QColor(0xFF, 0xE2, 0xB8)};

QTextBrowser* resultField(QWidget* parent, const char* name) {
    auto* field = new QTextBrowser(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setOpenLinks(false);
    field->setLineWrapMode(QTextEdit::NoWrap);
    field->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    field->setFixedHeight(field->fontMetrics().height() * 2 + 4);
    return field;
}

} // namespace

TrialConversion::TrialConversion(DictionaryModel& model, QWidget* parent)
    : QGroupBox(QStringLiteral("試す"), parent), model_(model) {
    setObjectName(QStringLiteral("GBtamesu"));
    Etamesu = new QLineEdit(this);
    Etamesu->setObjectName(QStringLiteral("Etamesu"));
    Etamesu->setPlaceholderText(QStringLiteral("変換してみる文を入力"));
    REkekka0 = resultField(this, "REkekka0");
    REkekka1 = resultField(this, "REkekka1");
    Lnote = new QLabel(this);
    Lnote->setObjectName(QStringLiteral("Lnote"));
    Lnote->hide();

    auto* grid = new QGridLayout(this);
    const auto label = [this](const QString& caption, QWidget* buddy) {
        auto* l = new QLabel(caption, this);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label(QStringLiteral("文(&T)"), Etamesu), 0, 0);
    grid->addWidget(Etamesu, 0, 1);
    grid->addWidget(Lnote, 1, 1);
    grid->addWidget(label(QStringLiteral("変換"), REkekka0), 2, 0);
    grid->addWidget(REkekka0, 2, 1);
    grid->addWidget(label(QStringLiteral("逆変換"), REkekka1), 3, 0);
    grid->addWidget(REkekka1, 3, 1);

    connect(Etamesu, &QLineEdit::textChanged, this, &TrialConversion::refresh);
    for (QTextBrowser* field : {REkekka0, REkekka1})
        connect(field, &QTextBrowser::anchorClicked, this,
                [this](const QUrl& url) { emit lineChosen(url.toString().toInt() - 1); });
}

void TrialConversion::refresh() {
    const QString text = Etamesu->text();
    QString note;
    if (text.isEmpty()) {
        REkekka0->clear();
        REkekka1->clear();
    } else {
        // The table is made anew with every change, and the engine's index with it.
        Engine engine(*model_.report().table);
        std::optional<WordMode> wordMode;
        if (model_.report().wordMode) {
            if (const words::WordAnalyser* analyser = model_.analyser().get())
                wordMode.emplace(*analyser);
            else
                note = QStringLiteral("単語の切れ目によらずに変換しています (%1)")
                           .arg(QString::fromStdString(model_.analyser().error()));
        }
        for (int side = 0; side < 2; ++side) {
            std::u16string out;
            std::vector<TextMatch> matches;
            convertUnicodeLine(engine, utf16View(text), side, out, RawByteEscapes::AsBytes,
                               &matches, wordMode ? &*wordMode : nullptr);
            show(side, out, matches);
        }
        if (wordMode && wordMode->failures() > 0)
            note = QStringLiteral("この文は解析できないため、単語の切れ目によらずに変換しました");
    }
    Lnote->setText(note);
    Lnote->setVisible(!note.isEmpty());
}

void TrialConversion::show(int side, const std::u16string& out,
                           const std::vector<TextMatch>& matches) {
    QTextBrowser* field = result(side);
    field->clear();
    QTextCursor cursor(field->document());
    const QTextCharFormat plain;
    const std::u16string_view all(out);
    size_t at = 0;
    for (size_t k = 0; k < matches.size(); ++k) {
        const TextMatch& m = matches[k];
        cursor.insertText(toQString(all.substr(at, m.outFrom - at)), plain);
        const int row = model_.rowOfEntry(m.entry);
        const QString line = QString::number(row + 1);
        QTextCharFormat replaced;
        replaced.setBackground(kReplaced[k % 2]);
        replaced.setAnchor(true);
        replaced.setAnchorHref(line);
        replaced.setToolTip(
            QStringLiteral("%1 行目「%2 %3」")
                .arg(line, model_.index(row, DictionaryModel::StandardColumn).data().toString(),
                     model_.index(row, DictionaryModel::ConvertedColumn).data().toString()));
        cursor.insertText(toQString(all.substr(m.outFrom, m.outLength)), replaced);
        at = m.outFrom + m.outLength;
    }
    cursor.insertText(toQString(all.substr(at)), plain);
}

} // namespace sorvanti
