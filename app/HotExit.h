#pragma once

#include "documents/KeptStore.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <cstdint>
#include <set>

namespace sorvanti {

class Pane;

// Keeps the panes' unsaved documents in a KeptStore, so that the program never has to ask at
// exit: a few seconds after each change, and at once when the window closes, the session
// ends or the window goes. The next start gives them back.
//
// What a pane keeps is its unsaved documents (Pane::unsavedDocuments): its own text while it
// has changes, and the texts an Open, a drop or a conversion replaced without a question,
// until the user saves them or gives them up with "新規作成". Each is written once: only the
// pane's own document is taken again, and only when it changed.
class HotExit : public QObject {
    Q_OBJECT
public:
    // How long after a change the documents are kept.
    static constexpr int kKeepAfterMilliseconds = 3000;

    HotExit(Pane& upper, Pane& lower, const QString& folder);
    // Keeps what changed since the last keep, then releases the store's slot.
    ~HotExit() override;

    // Claims the store's slot and gives the panes back what an earlier run kept, once. Returns
    // the note for the status bar: "" when there was nothing to give back.
    QString restore();
    // Keeps what changed, now, and waits until it is written.
    void keepNow();
    // Another interval than kKeepAfterMilliseconds.
    void setInterval(int milliseconds) { interval_ = milliseconds; }

signals:
    // A note for the status bar: a keep failed.
    void note(const QString& text);

private:
    void paneChanged(int p);
    // Takes the snapshots of what changed and hands them to the store.
    void keep();

    std::array<Pane*, 2> panes_;
    KeptStore store_;
    bool restoreTried_ = false;
    bool claimed_ = false;
    QTimer timer_;
    int interval_ = kKeepAfterMilliseconds;
    // Per pane: the version of its own document at the last keep, and the documents the
    // store has.
    std::array<uint64_t, 2> keptVersion_{};
    std::array<std::set<uint64_t>, 2> keptSerials_;
};

} // namespace sorvanti
