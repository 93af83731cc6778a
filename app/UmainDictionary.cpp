// The dictionary selector and word registration.
#include "app/Umain.h"

#include "commands/DictionaryChoice.h"
#include "commands/LiveConversion.h"
#include "commands/Registration.h"
#include "conversion/Catalogue.h"
#include "conversion/DictionaryTable.h"
#include "toolkit/Messages.h"

#include <QAction>
#include <QComboBox>
#include <QScopeGuard>
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
    SBtouroku->setEnabled(true);
    enableConversionButtons();
    // What was read stays in force also when the load fails part way.
    const auto changed = qScopeGuard([this] { dictionaryChanged(); });
    dictionarychoice::load(this, *table_, env_.dataFolder.toStdString(),
                           CBdictionary->currentText().toStdString());
}

void TVeruzazur::SBtourokuClick(QObject* /*sender*/) {
    Copy1Click(Copy1);
    const int32_t before = table_->count();
    registration::registerWord(this, *table_, ActivePane);
    // The pair converts at once where the lower pane follows the upper one.
    if (table_->count() != before && live_->isOn())
        live_->reconvertAll();
}

} // namespace sorvanti
