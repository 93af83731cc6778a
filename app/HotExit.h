#pragma once

#include "documents/KeptStore.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>

namespace sorvanti {

class Pane;
class TFjisho;

// Keeps the panes' unsaved documents in a KeptStore, so that the program never has to ask at
// exit: a few seconds after each change, and at once when the window closes, the session
// ends or the window goes. The next start gives them back.
//
// What a pane keeps is its unsaved documents (Pane::unsavedDocuments): its own text while it
// has changes, and the texts an Open, a drop or a conversion replaced without a question,
// until the user saves them or gives them up with "新規作成". Each is written once: only the
// pane's own document is taken again, and only when it changed. The dictionary editor's table
// is kept the same way while it has unsaved changes: the bytes its save would write, taken
// again after it changed.
//
// The program ending from outside (SIGTERM or SIGINT through SignalCloser, the session's end:
// the application's Quit) asks nothing: the editor is told not to ask at its close, and
// everything is kept. The user's own close still lets the editor ask first.
class HotExit : public QObject {
    Q_OBJECT
public:
    // How long after a change the documents are kept.
    static constexpr int kKeepAfterMilliseconds = 3000;

    HotExit(Pane& upper, Pane& lower, const QString& folder);
    // Keeps what changed since the last keep, then releases the store's slot.
    ~HotExit() override;

    // Claims the store's slot and gives the panes back what an earlier run kept, once, and the
    // editor that `editor` makes (shown then) a kept table. Returns the note for the status bar:
    // "" when there was nothing to give back.
    QString restore(const std::function<TFjisho&()>& editor);
    // The dictionary editor, once the window has made it: its unsaved table is kept too.
    void watchEditor(TFjisho& editor);
    // Keeps what changed, now, and waits until it is written.
    void keepNow();
    // Another interval than kKeepAfterMilliseconds.
    void setInterval(int milliseconds) { interval_ = milliseconds; }
    // The program is ending from outside: closing asks nothing.
    bool ending() const { return ending_; }

    // The editor's unsaved table as the store keeps it: what the window's thread takes.
    static KeptStore::Table takeTable(const TFjisho& editor);

signals:
    // A note for the status bar: a keep failed.
    void note(const QString& text);

protected:
    // The application's Quit: the program ends from outside (a signal, the session's end), or
    // after the user's close of the window, which has asked already.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paneChanged(int p);
    void editorChanged();
    // A change is kept after the interval; one that leaves something no longer unsaved at once.
    void keepAfter(bool dropped);
    // Takes the snapshots of what changed and hands them to the store.
    void keep();
    // The editor's part of a keep; `changed` is set when it differs from the last keep's.
    std::optional<KeptStore::Table> keepTable(bool& changed);
    void restoreTable(const KeptStore::Table& table, TFjisho& editor);
    void endUnasked();

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
    // The editor, whether its table changed since the last keep, and what the store has of it.
    QPointer<TFjisho> editor_;
    bool editorChanged_ = false;
    std::optional<KeptStore::Table> keptTable_; // with the bytes written
    bool ending_ = false;
};

} // namespace sorvanti
