#include "app/HotExit.h"

#include "conversion/DictionaryDocument.h"
#include "dictedit/DictionaryModel.h"
#include "dictedit/TFjisho.h"
#include "documents/DocumentFiles.h"
#include "documents/Pane.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextDocument>

#include <utility>

namespace sorvanti {

namespace {

const QString kRestored = QStringLiteral("前回の編集内容を復元しました");
const QString kTableToo = QStringLiteral("（辞書の編集も）");
const QString kTableRestored = QStringLiteral("前回の辞書の編集内容を復元しました");
const QString kOthers = QStringLiteral("。ほかの編集内容は %1 にあります");
const QString kCannotKeep = QStringLiteral("編集内容を保管できません（%1）");
const QString kNoPlace = QStringLiteral("編集内容を保管する場所を用意できません（%1）");

} // namespace

HotExit::HotExit(Pane& upper, Pane& lower, const QString& folder)
    : panes_{&upper, &lower}, store_(folder) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &HotExit::keep);
    connect(&store_, &KeptStore::failed, this,
            [this](const QString& reason) { emit note(kCannotKeep.arg(reason)); });
    QCoreApplication::instance()->installEventFilter(this);
}

HotExit::~HotExit() {
    keepNow();
}

QString HotExit::restore(const std::function<TFjisho&()>& editor) {
    // Once a run: the slot is claimed at the first call.
    if (std::exchange(restoreTried_, true))
        return {};
    std::optional<kept::Index> index;
    QStringList others;
    QString error;
    claimed_ = store_.claim(index, others, error);
    if (!claimed_)
        return kNoPlace.arg(error);
    for (int p = 0; p < 2; ++p)
        connect(panes_[p], &Pane::changed, this, [this, p] { paneChanged(p); });
    if (!index)
        return {};
    bool panesBack = false;
    for (int p = 0; p < 2; ++p) {
        const kept::PaneIndex& kept = index->panes[size_t(p)];
        Pane& pane = *panes_[p];
        for (const kept::KeptFile& file : kept.files) {
            const std::optional<std::string> bytes = store_.read(file.name);
            if (bytes)
                pane.restoreDocument(
                    [&](QTextDocument& doc) { readDocumentBytes(doc, *bytes, !file.rtf); }, true);
        }
        if (kept.files.empty())
            continue;
        panesBack = true;
        pane.setFileName(kept.state.fileName);
        pane.setPlainText(kept.state.plainText);
        pane.setFormat(kept.state.format);
        pane.caretToTop();
    }
    const std::optional<std::string> table =
        index->table ? store_.read(index->table->file) : std::nullopt;
    if (table)
        restoreTable({index->table->state, *table}, editor());
    // The slot holds what was given back until the next keep writes it again.
    timer_.start(interval_);
    if (!panesBack && !table)
        return {};
    QString restored = panesBack ? kRestored + (table ? kTableToo : QString()) : kTableRestored;
    if (others.isEmpty())
        return restored;
    // The home folder as "~", so that more of the note fits the status bar.
    const QString home = QDir::homePath() + u'/';
    for (QString& other : others)
        if (other.startsWith(home))
            other.replace(0, home.size() - 1, QStringLiteral("~"));
    return restored + kOthers.arg(others.join(QStringLiteral("、")));
}

void HotExit::restoreTable(const KeptStore::Table& table, TFjisho& editor) {
    const kept::TableState& s = table.state;
    // The editor names a dictionary by its file's name in the dictionary folder.
    editor.restoreTable(QFileInfo(s.path).completeBaseName(),
                        DictionaryDocument(*table.bytes, s.encoding),
                        FileStamp{s.existed, s.size, s.hash});
    // Shown once the window is: it stands over it then.
    QTimer::singleShot(0, &editor, [&editor] { editor.show(); });
    // The slot keeps it as it is until it changes, is saved or given up.
    keptTable_ = table;
}

void HotExit::watchEditor(TFjisho& editor) {
    editor_ = &editor;
    connect(&editor, &TFjisho::changed, this, &HotExit::editorChanged);
    if (ending_)
        editor.endWithoutAsking();
}

KeptStore::Table HotExit::takeTable(const TFjisho& editor) {
    const DictionaryDocument& document = editor.model().document();
    const FileStamp& stamp = editor.stamp();
    return {{editor.path(), document.encoding(), stamp.exists, stamp.size, stamp.hash},
            document.fileBytes()};
}

bool HotExit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance())
        endUnasked();
    return false;
}

void HotExit::endUnasked() {
    ending_ = true;
    if (editor_)
        editor_->endWithoutAsking();
    keepNow();
}

void HotExit::paneChanged(int p) {
    bool dropped = false;
    std::set<uint64_t> unsaved;
    for (const Pane::Document& d : panes_[p]->unsavedDocuments())
        unsaved.insert(d.serial);
    for (const uint64_t serial : keptSerials_[size_t(p)])
        dropped = dropped || unsaved.count(serial) == 0;
    keepAfter(dropped);
}

void HotExit::editorChanged() {
    editorChanged_ = true;
    keepAfter(keptTable_ && editor_ && !editor_->modified());
}

void HotExit::keepAfter(bool dropped) {
    // What is no longer unsaved (saved, emptied, given up) leaves the store at once; a change
    // is kept a few seconds after it, however many follow in between.
    const int wait = dropped ? 0 : interval_;
    if (!timer_.isActive() || timer_.remainingTime() > wait)
        timer_.start(wait);
}

void HotExit::keep() {
    timer_.stop();
    if (!claimed_)
        return;
    KeptStore::Keep what;
    std::array<KeptStore::Pane, 2>& panes = what.panes;
    bool changed = false;
    for (size_t p = 0; p < 2; ++p) {
        const Pane& pane = *panes_[p];
        const bool ownChanged = keptVersion_[p] != pane.version();
        changed = changed || ownChanged;
        std::set<uint64_t> serials;
        bool ownKept = false;
        for (const Pane::Document& d : pane.unsavedDocuments()) {
            KeptStore::Document document{d.serial, std::nullopt};
            const bool own = d.doc == &pane.document();
            if (keptSerials_[p].count(d.serial) == 0 || (own && ownChanged))
                document.snapshot = kept::Snapshot::take(*d.doc, !pane.isPlainText());
            serials.insert(d.serial);
            panes[p].documents.push_back(std::move(document));
            ownKept = ownKept || own;
        }
        // The name and format go with the pane's own text. Replaced texts kept without it
        // come back as new documents: under the name of a file saved since, "上書き保存"
        // would write them over it.
        if (ownKept)
            panes[p].state = {pane.fileName(), pane.isPlainText(), pane.format()};
        changed = changed || serials != keptSerials_[p];
        keptSerials_[p] = std::move(serials);
        keptVersion_[p] = pane.version();
    }
    what.table = keepTable(changed);
    if (changed)
        store_.keep(std::move(what));
}

std::optional<KeptStore::Table> HotExit::keepTable(bool& changed) {
    const bool changedSince = std::exchange(editorChanged_, false);
    if (!editor_ || !editor_->modified() || editor_->dictionaryName().isEmpty()) {
        changed = changed || keptTable_;
        keptTable_.reset();
        return std::nullopt;
    }
    if (keptTable_ && !changedSince)
        return KeptStore::Table{keptTable_->state, std::nullopt};
    KeptStore::Table table = takeTable(*editor_);
    if (keptTable_ && keptTable_->state == table.state && keptTable_->bytes == table.bytes)
        return KeptStore::Table{table.state, std::nullopt};
    changed = true;
    keptTable_ = table;
    return table;
}

void HotExit::keepNow() {
    keep();
    store_.flush();
}

} // namespace sorvanti
