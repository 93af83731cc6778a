// The dictionary selector and word registration.
#include "app/Umain.h"

#include "commands/DictionaryChoice.h"
#include "commands/Registration.h"
#include "commands/WordModeChoice.h"
#include "conversion/Catalogue.h"
#include "conversion/DictionaryTable.h"
#include "toolkit/Messages.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QToolButton>

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
    for (QToolButton* b : {SBhenkan0, SBhenkan1, SBtouroku})
        b->setEnabled(true);
    // Word mode follows a table that the load replaced, also when a read error is thrown
    // after the entries read before it went in.
    const uint64_t generation = table_->generation();
    const auto followWords = [this, generation] {
        if (table_->generation() != generation)
            words_->follow(this, *table_);
        ShowWordMode();
    };
    try {
        dictionarychoice::load(this, *table_, env_.dataFolder.toStdString(),
                               CBdictionary->currentText().toStdString());
    } catch (...) {
        followWords();
        throw;
    }
    followWords();
}

void TVeruzazur::ShowWordMode() {
    Lwords->setText(words_->label());
}

void TVeruzazur::SBtourokuClick(QObject* /*sender*/) {
    Copy1Click(Copy1);
    registration::registerWord(this, *table_, ActivePane);
}

} // namespace sorvanti
