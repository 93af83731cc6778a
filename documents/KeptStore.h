#pragma once

#include "documents/KeptDocuments.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class QLockFile;

namespace sorvanti {

// Where the window keeps its panes' unsaved documents and the dictionary editor's unsaved
// table between runs, so that no exit (the close box, a signal, the session's end, a crash
// after the last keep) loses them.
//
// Each running program keeps into a slot of its own, a folder "slot-N" under the store's
// folder, held by a lock file for as long as it runs; no program writes into a slot another
// one holds. A slot holds the index (kept::Index) and one file per kept document. Files are
// written beside their place and renamed into it (FileReplacement), the documents first and
// the index last, and a document file goes only once the index no longer names it: a crash at
// any point leaves the last complete keep.
//
// keep() hands the work to a thread of the store's own, so that the window's thread only
// takes the snapshots; flush() waits for it.
class KeptStore : public QObject {
    Q_OBJECT
public:
    // A document of a keep: a snapshot to write, or (none) the one written before under the
    // same serial.
    struct Document {
        uint64_t serial = 0;
        std::optional<kept::Snapshot> snapshot;
    };
    struct Pane {
        kept::PaneState state;
        std::vector<Document> documents;
    };
    // The dictionary editor's unsaved table: the bytes to write, or (none) those written before.
    struct Table {
        kept::TableState state;
        std::optional<std::string> bytes;
    };
    struct Keep {
        std::array<Pane, 2> panes;
        std::optional<Table> table; // none: the editor has nothing unsaved
    };

    explicit KeptStore(const QString& folder);
    // Waits for the keeps under way, then releases the slot: a slot that keeps nothing goes,
    // one that keeps documents stays for the next start.
    ~KeptStore() override;

    // Claims a slot: the newest one that no running program holds and that keeps documents
    // (whose index comes back in `restored`), or a new one. The folders of further such slots
    // come back in `others`; they are left as they are. False, with the reason in `error`,
    // when no slot can be had: nothing is kept then.
    bool claim(std::optional<kept::Index>& restored, QStringList& others, QString& error);
    // The claimed slot's folder, ending with "/"; empty before claim().
    const QString& slot() const { return slot_; }
    // The content of a file of the claimed slot; nullopt when it cannot be read.
    std::optional<std::string> read(const std::string& name) const;

    // Queues a keep of both panes and the table; the documents not named, and a table not
    // given, are no longer kept.
    void keep(Keep what);
    // Waits until every keep queued so far is written.
    void flush();

signals:
    // A keep could not be written: the system's reason, in Japanese.
    void failed(const QString& reason);

private:
    void run();
    // Writes one keep; "" or the failure.
    std::string write(Keep& what);
    // Writes the table's bytes when they are new; "" or the failure.
    std::string writeTable(Keep& what, kept::Index& index);
    void removeUnnamed(const kept::Index& index);
    // A new slot folder with its lock; false when none can be made.
    bool newSlot(QString& error);

    QString folder_;
    QString slot_;
    std::unique_ptr<QLockFile> lock_;

    // Shared with the thread.
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Keep> queue_;
    bool busy_ = false;
    bool stop_ = false;
    // The thread's own: the file of each (pane, serial) and of the table written, the next file
    // number, and whether the last index kept anything.
    std::map<std::pair<int, uint64_t>, kept::KeptFile> files_;
    std::string tableFile_; // the file of the table written, "" for none
    uint64_t nextFile_ = 1;
    bool keepsAnything_ = false;
    std::string lastFailure_;
    std::thread thread_;
};

} // namespace sorvanti
