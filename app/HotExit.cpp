#include "app/HotExit.h"

#include "documents/Pane.h"

#include <QDir>
#include <QTextDocument>

#include <utility>

namespace sorvanti {

namespace {

const QString kRestored = QStringLiteral("前回の編集内容を復元しました");
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
}

HotExit::~HotExit() {
    keepNow();
}

QString HotExit::restore() {
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
    for (int p = 0; p < 2; ++p) {
        const kept::PaneIndex& kept = index->panes[size_t(p)];
        Pane& pane = *panes_[p];
        for (const kept::KeptFile& file : kept.files) {
            const std::optional<std::string> bytes = store_.read(file.name);
            if (bytes)
                pane.restoreDocument([&](QTextDocument& doc) { kept::fill(doc, *bytes, file.rtf); },
                                     true);
        }
        if (kept.files.empty())
            continue;
        pane.setFileName(kept.state.fileName);
        pane.setPlainText(kept.state.plainText);
        pane.setFormat(kept.state.format);
        pane.caretToTop();
    }
    // The slot holds the documents given back until the next keep writes them again.
    timer_.start(interval_);
    if (others.isEmpty())
        return kRestored;
    // The home folder as "~", so that more of the note fits the status bar.
    const QString home = QDir::homePath() + u'/';
    for (QString& other : others)
        if (other.startsWith(home))
            other.replace(0, home.size() - 1, QStringLiteral("~"));
    return kRestored + kOthers.arg(others.join(QStringLiteral("、")));
}

void HotExit::paneChanged(int p) {
    // A text that is no longer unsaved (saved, emptied, given up) leaves the store at once;
    // a change is kept a few seconds after it, however many follow in between.
    bool dropped = false;
    std::set<uint64_t> unsaved;
    for (const Pane::Document& d : panes_[p]->unsavedDocuments())
        unsaved.insert(d.serial);
    for (const uint64_t serial : keptSerials_[size_t(p)])
        dropped = dropped || unsaved.count(serial) == 0;
    const int wait = dropped ? 0 : interval_;
    if (!timer_.isActive() || timer_.remainingTime() > wait)
        timer_.start(wait);
}

void HotExit::keep() {
    timer_.stop();
    if (!claimed_)
        return;
    KeptStore::Keep panes;
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
    if (changed)
        store_.keep(std::move(panes));
}

void HotExit::keepNow() {
    keep();
    store_.flush();
}

} // namespace sorvanti
