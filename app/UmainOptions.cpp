// The options of "設定": live conversion of the upper pane into the lower one, and the marks
// on the words conversions replaced.
#include "app/Umain.h"

#include "commands/LiveConversion.h"
#include "commands/ReplacementMarks.h"
#include "documents/Pane.h"
#include "integration/IntegrationCommands.h"
#include "toolkit/BusyCursor.h"
#include "toolkit/Messages.h"

#include <QAction>
#include <QTextEdit>
#include <QToolButton>

namespace sorvanti {

namespace {

const QString kFollowsConversion =
    QStringLiteral("入力中に変換している間は、変換語の欄に文書を読み込めません。");

} // namespace

void TVeruzazur::Settei1Click(QObject* /*sender*/) {
    ProgramOptions options = options_;
    if (integration::showSettings(this, options))
        applyOptions(options);
}

void TVeruzazur::applyOptions(const ProgramOptions& options) {
    const BusyCursor busy; // turning live conversion on converts the whole pane
    options_ = options;
    const bool wasMarking = marks_[1]->isOn();
    for (ReplacementMarks* m : marks_)
        m->setOn(options.highlight != 0);
    if (options.liveConversion && !live_->isOn())
        live_->start();
    else if (!options.liveConversion && live_->isOn())
        live_->stop();
    else if (live_->isOn() && options.highlight && !wasMarking)
        live_->reconvertAll(); // the lower pane's words get their marks at once
    enableConversionButtons();
    enableEditItems();
}

// While the lower pane follows the upper one, it is converted already and cannot be converted
// back from.
void TVeruzazur::enableConversionButtons() {
    const bool chosen = CBdictionaryTag >= 0;
    SBhenkan0->setEnabled(chosen && !live_->isOn());
    SBhenkan1->setEnabled(chosen && !live_->isOn());
}

// A read-only pane has nothing of the user's to undo, cut or paste into.
void TVeruzazur::enableEditItems() {
    const bool editable = !activePane().edit()->isReadOnly();
    for (QAction* a : {Undo1, Redo1, Cut1, Paste1, Replace1})
        a->setEnabled(editable);
}

// Marks name lines of the dictionary in force: another dictionary takes them all away, and
// converts the lower pane again when it follows the upper one.
void TVeruzazur::dictionaryChanged() {
    const BusyCursor busy;
    for (ReplacementMarks* m : marks_)
        m->clear();
    if (live_->isOn())
        live_->reconvertAll();
}

bool TVeruzazur::refusesDocument(int p) {
    if (!live_->isOn() || p != 1)
        return false;
    ShowMessage(this, kFollowsConversion);
    return true;
}

} // namespace sorvanti
