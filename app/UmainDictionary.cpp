// The dictionary selector and word registration.
#include "app/Umain.h"

#include "commands/DictionaryChoice.h"
#include "commands/Registration.h"
#include "conversion/Catalogue.h"
#include "toolkit/Guard.h"
#include "toolkit/Messages.h"

#include <QAction>
#include <QComboBox>
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
    for (QToolButton* b : {SBhenkan0, SBhenkan1, SBtouroku})
        b->setEnabled(true);
    showNotices(dictionarychoice::load(*table_, env_.dataFolder.toStdString(),
                                       CBdictionary->currentText().toStdString()));
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
    registration::registerWord(this, *table_, ActivePane);
}

} // namespace sorvanti
