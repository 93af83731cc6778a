#pragma once

#include <string>
#include <string_view>

namespace sorvanti {

// A file's whole new content, written beside it and put in its place only when complete:
// readers see the old file or the new one, never a part, and a failure leaves the old file
// exactly as it was. A symbolic link stays a link (the file it points to is replaced); a
// replaced file keeps its permission bits, a new one gets 0666 less the umask. A file that
// may not be written is refused, as a plain write would refuse it, although the rename
// would replace it. Failures are given as the system's error numbers.
class FileReplacement {
public:
    // What becomes of a target that exists and is not a regular file (a device, a pipe):
    // it has no content to keep, and renaming over it would replace the node itself.
    enum class Special { Refuse, WriteInPlace };

    FileReplacement() = default;
    ~FileReplacement() { discard(); }
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Starts replacing `path`: 0, or the error (EISDIR for a folder).
    int open(const std::string& path, Special special = Special::Refuse);
    // Appends to the new content: 0 or the error.
    int write(std::string_view bytes);
    // Makes the new content the file's: 0 or the error. `renameFailed` (when given) tells
    // whether the content was complete and only putting it in the file's place failed.
    int commit(bool* renameFailed = nullptr);
    // Drops the new content; the file stays as it was.
    void discard();

    // The file replaced: the path given, with a symbolic link resolved.
    const std::string& target() const { return target_; }

private:
    std::string target_;
    std::string temp_; // empty when written in place
    int fd_ = -1;
};

// Replaces the whole of `path` with `content`: 0 or the error.
int replaceFileContent(const std::string& path, std::string_view content);

// Reads the whole of `path` into `bytes`: 0 or the error (ENOENT when there is no such file).
int readFileContent(const std::string& path, std::string& bytes);

} // namespace sorvanti
