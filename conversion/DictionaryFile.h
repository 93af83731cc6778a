#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sorvanti {

// What a dictionary file held when it was read or written, so that a change made to it
// elsewhere since (a "登録" in the window, another program) is noticed before it is written
// again. The content decides: a file only touched has not changed, and a change within the
// time stamp's resolution is still seen.
struct FileStamp {
    bool exists = false;
    int64_t size = 0;
    uint64_t hash = 0; // of the whole content
};

struct DictionaryFileRead {
    int error = 0; // 0, or the system's error number (EFBIG: more than a dictionary load reads)
    std::string bytes;
    FileStamp stamp;
};

// Reads the whole file at `path`, which may hold no more than a dictionary load reads
// (kMaxDictionaryBytes): a larger file could not be written back whole.
DictionaryFileRead readDictionaryFile(const std::string& path);

enum class FileChange {
    None,     // as stamped
    Appended, // bytes were added to its end and nothing else changed
    Changed,  // changed otherwise (or unreadable now)
    Missing,  // gone
};

struct FileLook {
    FileChange change = FileChange::None;
    std::string appended; // Appended: the bytes added
    DictionaryFileRead now;
};

// The file at `path` compared with what `stamp` says it held.
FileLook lookAgain(const std::string& path, const FileStamp& stamp);

// Replaces the file's content with `bytes` atomically (FileReplacement): 0 and `stamp` set to
// the file written, or the system's error number and `stamp` unchanged.
int writeDictionaryFile(const std::string& path, std::string_view bytes, FileStamp& stamp);

} // namespace sorvanti
