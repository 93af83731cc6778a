// The dictionary selector and word registration.
#include "app/Umain.h"

#include "app/HotExit.h"
#include "app/WindowSettings.h"
#include "commands/DictionaryChoice.h"
#include "commands/LiveConversion.h"
#include "commands/Registration.h"
#include "commands/WordModeChoice.h"
#include "conversion/Catalogue.h"
#include "conversion/DictionaryTable.h"
#include "dictedit/TFjisho.h"
#include "toolkit/Guard.h"
#include "toolkit/Messages.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include <utility>

namespace sorvanti {

namespace {

const QString kNoDictionaryFiles = QStringLiteral("辞書ファイルが見つかりません。");

} // namespace

void TVeruzazur::FillCatalogue(const QString& rememberedName) {
    const std::vector<std::string> found = findDictionaryNames(env_.dataFolder.toStdString());
    int selected = -1;
    {
        // The list is built quietly; the selection handler runs once, below.
        const QSignalBlocker blocker(CBdictionary);
        CBdictionary->setEditText(rememberedName);
        if (found.empty()) {
            ShowMessage(this, kNoDictionaryFiles);
            return;
        }
        for (const std::string& name : found) {
            const size_t at = insertSorted(names_, name);
            CBdictionary->insertItem(static_cast<int>(at), QString::fromStdString(name));
        }
        selected = findExactName(names_, rememberedName.toStdString());
        CBdictionary->setCurrentIndex(selected);
        if (selected < 0)
            CBdictionary->setEditText(rememberedName);
    }
    if (selected >= 0)
        CBdictionaryChange(CBdictionary);
}

void TVeruzazur::CBdictionaryChange(QObject* /*sender*/) {
    const int index = CBdictionary->currentIndex();
    if (index == CBdictionaryTag || index < 0)
        return;
    CBdictionaryTag = index;
    SBtouroku->setEnabled(true);
    enableConversionButtons();
    loadDictionary(CBdictionary->currentText().toStdString());
}

void TVeruzazur::loadDictionary(const std::string& name) {
    // Word mode follows a table that the load replaced, also when a read error is thrown
    // after the entries read before it went in.
    const uint64_t generation = table_->generation();
    QStringList notices;
    const auto followWords = [&] {
        if (table_->generation() != generation)
            if (const QString notice = words_->follow(*table_); !notice.isEmpty())
                notices << notice;
        ShowWordMode();
        live_->setWordMode(words_->active());
        // What was read stays in force also when the load fails part way.
        dictionaryChanged();
        showNotices(notices);
    };
    try {
        notices = dictionarychoice::load(*table_, env_.dataFolder.toStdString(), name);
    } catch (...) {
        followWords();
        throw;
    }
    followWords();
}

void TVeruzazur::ShowWordMode() {
    Lwords->setText(words_->label());
}

void TVeruzazur::showNotices(const QStringList& notices) {
    if (constructing_) {
        pendingNotices_ += notices;
        return;
    }
    for (const QString& notice : notices)
        ShowMessage(this, notice);
}

void TVeruzazur::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (pendingNotices_.isEmpty())
        return;
    // After the window has been painted: the notices then stand over it.
    QTimer::singleShot(0, this, [this] {
        guarded(this, [this] { showNotices(std::exchange(pendingNotices_, {})); });
    });
}

void TVeruzazur::SBtourokuClick(QObject* /*sender*/) {
    Copy1Click(Copy1);
    const int32_t before = table_->count();
    registration::registerWord(this, *table_, ActivePane);
    // The pair converts at once where the lower pane follows the upper one.
    if (table_->count() != before && live_->isOn())
        live_->reconvertAll();
}

TFjisho& TVeruzazur::DictionaryEditor() {
    if (Fjisho)
        return *Fjisho;
    Fjisho = new TFjisho(env_.dataFolder, this);
    windowsettings::readPlacement(*Fjisho, *ini, windowsettings::kEditorSection);
    connect(Fjisho, &TFjisho::saved, this,
            [this](const QString& path) { guarded(this, [&] { DictionarySaved(path); }); });
    connect(Fjisho, &TFjisho::created, this,
            [this](const QString& name) { guarded(this, [&] { DictionaryCreated(name); }); });
    hotExit_->watchEditor(*Fjisho);
    return *Fjisho;
}

void TVeruzazur::Jisho1Click(QObject* /*sender*/) {
    DictionaryEditor();
    // The editor opens on the dictionary in use (on none before one is chosen).
    Fjisho->openDictionary(
        CBdictionaryTag >= 0 ? QString::fromStdString(names_[size_t(CBdictionaryTag)]) : QString());
    Fjisho->show();
    Fjisho->raise();
    Fjisho->activateWindow();
}

void TVeruzazur::DictionarySaved(const QString& path) {
    if (CBdictionaryTag < 0 || path.toStdString() != table_->path())
        return;
    loadDictionary(names_[size_t(CBdictionaryTag)]);
}

void TVeruzazur::DictionaryCreated(const QString& name) {
    const QSignalBlocker blocker(CBdictionary);
    const QString text = CBdictionary->currentText();
    const int current = CBdictionary->currentIndex();
    const size_t at = insertSorted(names_, name.toStdString());
    CBdictionary->insertItem(static_cast<int>(at), name);
    if (CBdictionaryTag >= static_cast<int>(at))
        ++CBdictionaryTag;
    // Listing it chooses nothing: the selector keeps what it showed.
    if (current < 0) {
        CBdictionary->setCurrentIndex(-1);
        CBdictionary->setEditText(text);
    }
}

} // namespace sorvanti
