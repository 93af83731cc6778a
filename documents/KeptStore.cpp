#include "documents/KeptStore.h"

#include "toolkit/ErrorText.h"
#include "toolkit/FileReplacement.h"

#include <QDir>
#include <QLockFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <unistd.h>

namespace sorvanti {

namespace {

constexpr const char* kIndex = "index";
// The kept files of a slot: the panes' documents and the editor's table.
const QStringList kKeptFiles = {QStringLiteral("pane*"), QStringLiteral("editor*")};

std::optional<std::string> readFile(const std::string& path) {
    std::string bytes;
    if (readFileContent(path, bytes) != 0)
        return std::nullopt;
    return bytes;
}

// A slot's lock, held while a program runs; only a program that is gone leaves it stale.
std::unique_ptr<QLockFile> lockOf(const QString& slot) {
    auto lock = std::make_unique<QLockFile>(slot + QStringLiteral("/lock"));
    lock->setStaleLockTime(0);
    return lock;
}

// The number in a kept file's name ("pane0-12.rtf" -> 12).
uint64_t fileNumber(const QString& name) {
    return name.section(QLatin1Char('-'), 1).section(QLatin1Char('.'), 0, 0).toULongLong();
}

} // namespace

KeptStore::KeptStore(const QString& folder) : folder_(folder) {
    if (!folder_.endsWith(QLatin1Char('/')))
        folder_ += QLatin1Char('/');
}

KeptStore::~KeptStore() {
    if (!thread_.joinable())
        return;
    flush();
    {
        std::lock_guard<std::mutex> guard(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
    lock_->unlock();
    // A slot that keeps nothing goes; one with documents waits for the next start.
    if (!keepsAnything_)
        QDir(slot_).removeRecursively();
}

bool KeptStore::claim(std::optional<kept::Index>& restored, QStringList& others, QString& error) {
    if (!QDir().mkpath(folder_)) {
        error = folder_;
        return false;
    }
    struct Found {
        QString slot;
        kept::Index index;
        std::unique_ptr<QLockFile> lock;
    };
    std::vector<Found> found;
    const QDir folder(folder_);
    for (const QString& name : folder.entryList({QStringLiteral("slot-*")}, QDir::Dirs)) {
        const QString slot = folder_ + name;
        std::unique_ptr<QLockFile> lock = lockOf(slot);
        if (!lock->tryLock(0))
            continue; // a running program's
        const std::optional<std::string> text = readFile((slot + u'/' + kIndex).toStdString());
        std::optional<kept::Index> index = text ? kept::readIndex(*text) : std::nullopt;
        if (!index || index->empty()) {
            lock->unlock();
            QDir(slot).removeRecursively();
            continue;
        }
        found.push_back({slot, std::move(*index), std::move(lock)});
    }
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return a.index.savedAt > b.index.savedAt; });
    for (size_t i = 1; i < found.size(); ++i) {
        found[i].lock->unlock();
        others << found[i].slot;
    }
    if (found.empty()) {
        if (!newSlot(error))
            return false;
    } else {
        slot_ = found[0].slot + u'/';
        lock_ = std::move(found[0].lock);
        restored = std::move(found[0].index);
        keepsAnything_ = true;
        // The slot's table is the one kept until a keep gives another.
        if (restored->table)
            tableFile_ = restored->table->file;
        // New files take numbers after those of the files the slot holds.
        for (const QString& name : QDir(slot_).entryList(kKeptFiles, QDir::Files))
            nextFile_ = std::max(nextFile_, fileNumber(name) + 1);
    }
    thread_ = std::thread(&KeptStore::run, this);
    return true;
}

bool KeptStore::newSlot(QString& error) {
    for (int n = 1; n <= 1000; ++n) {
        const QString slot = folder_ + QStringLiteral("slot-") + QString::number(n);
        // Made here, so no other program is starting on it.
        if (!QDir().mkdir(slot))
            continue;
        std::unique_ptr<QLockFile> lock = lockOf(slot);
        if (!lock->tryLock(0))
            continue;
        slot_ = slot + u'/';
        lock_ = std::move(lock);
        return true;
    }
    error = folder_;
    return false;
}

std::optional<std::string> KeptStore::read(const std::string& name) const {
    return readFile(slot_.toStdString() + name);
}

void KeptStore::keep(Keep what) {
    if (!thread_.joinable())
        return;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        queue_.push_back(std::move(what));
    }
    wake_.notify_one();
}

void KeptStore::flush() {
    std::unique_lock<std::mutex> guard(mutex_);
    idle_.wait(guard, [this] { return queue_.empty() && !busy_; });
}

void KeptStore::run() {
    std::unique_lock<std::mutex> guard(mutex_);
    for (;;) {
        wake_.wait(guard, [this] { return stop_ || !queue_.empty(); });
        if (queue_.empty())
            return;
        Keep what = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        guard.unlock();
        const std::string failure = write(what);
        // Each failure is told once, not at every keep.
        if (!failure.empty() && failure != lastFailure_)
            emit failed(QString::fromStdString(failure));
        lastFailure_ = failure;
        guard.lock();
        busy_ = false;
        if (queue_.empty())
            idle_.notify_all();
    }
}

std::string KeptStore::write(Keep& what) {
    const std::string slot = slot_.toStdString();
    kept::Index index;
    index.savedAt = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::system_clock::now().time_since_epoch())
                        .count();
    for (int p = 0; p < 2; ++p) {
        kept::PaneIndex& pane = index.panes[size_t(p)];
        pane.state = what.panes[size_t(p)].state;
        for (Document& document : what.panes[size_t(p)].documents) {
            const std::pair<int, uint64_t> key{p, document.serial};
            if (document.snapshot) {
                const kept::Snapshot::Content content = document.snapshot->content();
                document.snapshot.reset();
                kept::KeptFile file{"pane" + std::to_string(p) + '-' + std::to_string(nextFile_++) +
                                        (content.rtf ? ".rtf" : ".txt"),
                                    content.rtf};
                if (const int error = replaceFileContent(slot + file.name, content.bytes))
                    return pathErrorText(slot + file.name, error);
                files_[key] = file;
            }
            const auto written = files_.find(key);
            if (written != files_.end())
                pane.files.push_back(written->second);
        }
    }
    if (std::string failure = writeTable(what, index); !failure.empty())
        return failure;
    const std::string indexPath = slot + kIndex;
    if (index.empty()) {
        if (::unlink(indexPath.c_str()) != 0 && errno != ENOENT)
            return pathErrorText(indexPath, errno);
    } else if (const int error = replaceFileContent(indexPath, kept::writeIndex(index))) {
        return pathErrorText(indexPath, error);
    }
    keepsAnything_ = !index.empty();
    removeUnnamed(index);
    return {};
}

std::string KeptStore::writeTable(Keep& what, kept::Index& index) {
    if (!what.table)
        return {};
    if (what.table->bytes) {
        const std::string name = "editor-" + std::to_string(nextFile_++) + ".txt";
        const std::string path = slot_.toStdString() + name;
        if (const int error = replaceFileContent(path, *what.table->bytes))
            return pathErrorText(path, error);
        what.table->bytes.reset();
        tableFile_ = name;
    }
    if (!tableFile_.empty())
        index.table = kept::TableIndex{what.table->state, tableFile_};
    return {};
}

void KeptStore::removeUnnamed(const kept::Index& index) {
    const auto named = [&index](const std::string& name) {
        if (index.table && index.table->file == name)
            return true;
        for (const kept::PaneIndex& pane : index.panes)
            for (const kept::KeptFile& file : pane.files)
                if (file.name == name)
                    return true;
        return false;
    };
    for (const QString& name : QDir(slot_).entryList(kKeptFiles, QDir::Files)) {
        const std::string file = name.toStdString();
        if (!named(file))
            ::unlink((slot_.toStdString() + file).c_str());
    }
    for (auto it = files_.begin(); it != files_.end();)
        it = named(it->second.name) ? std::next(it) : files_.erase(it);
    if (!named(tableFile_))
        tableFile_.clear();
}

} // namespace sorvanti
