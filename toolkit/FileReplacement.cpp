#include "toolkit/FileReplacement.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sorvanti {

namespace {

std::string resolveLink(const std::string& path) {
    char buffer[PATH_MAX];
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && ::realpath(path.c_str(), buffer))
        return buffer;
    return path;
}

// A new file beside `target`, named after it and hidden: its descriptor, or -1 with errno.
int createBeside(const std::string& target, std::string& temp) {
    static std::atomic<unsigned> counter{0};
    const size_t slash = target.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = folder + "." + name + "." + std::to_string(::getpid()) + "." +
               std::to_string(counter.fetch_add(1)) + ".tmp";
        // The umask applies to 0666, as it does to a file created by a plain write.
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

int FileReplacement::open(const std::string& path, Special special) {
    discard();
    target_ = resolveLink(path);
    struct stat st {};
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return EISDIR;
    if (exists && ::access(target_.c_str(), W_OK) != 0)
        return errno;
    if (exists && !S_ISREG(st.st_mode)) {
        if (special == Special::Refuse)
            return EINVAL;
        fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
        return fd_ < 0 ? errno : 0;
    }
    fd_ = createBeside(target_, temp_);
    if (fd_ < 0) {
        const int error = errno;
        temp_.clear();
        return error;
    }
    if (exists && ::fchmod(fd_, st.st_mode & 07777) != 0) {
        const int error = errno;
        discard();
        return error;
    }
    return 0;
}

int FileReplacement::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

int FileReplacement::commit(bool* renameFailed) {
    if (renameFailed)
        *renameFailed = false;
    // The data must be on disk before the rename makes it the file's content; a device or
    // a pipe written in place is only closed.
    if (!temp_.empty() && ::fsync(fd_) != 0) {
        const int error = errno;
        discard();
        return error;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        discard();
        return error;
    }
    if (!temp_.empty() && ::rename(temp_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        if (renameFailed)
            *renameFailed = true;
        discard();
        return error;
    }
    temp_.clear();
    return 0;
}

void FileReplacement::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

int replaceFileContent(const std::string& path, std::string_view content) {
    FileReplacement file;
    int error = file.open(path);
    if (error == 0)
        error = file.write(content);
    if (error == 0)
        error = file.commit();
    return error;
}

int readFileContent(const std::string& path, std::string& bytes) {
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return errno;
    char buffer[1 << 16];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    const int error = std::ferror(file) ? (errno ? errno : EIO) : 0;
    std::fclose(file);
    return error;
}

} // namespace sorvanti
