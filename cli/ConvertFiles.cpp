#include "cli/ConvertFiles.h"

#include "cli/ConvertOptions.h"
#include "toolkit/ErrorText.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <istream>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

namespace sorvanti::cli {

Failure fileFailure(std::string_view pattern, std::string_view path, int error) {
    std::string message(pattern);
    size_t at = message.find("%s");
    message.replace(at, 2, path);
    message += ": ";
    message += systemErrorText(error);
    return Failure(message);
}

std::string resolveDictionary(const std::string& dictionary, const ConvertEnv& env) {
    struct stat st;
    std::string pathUsed = dictionary;
    if (::stat(dictionary.c_str(), &st) != 0) {
        int error = errno;
        if (error != ENOENT && error != ENOTDIR)
            throw fileFailure("辞書ファイルが開けません: %s", dictionary, error);
        pathUsed = dictionaryPath(env.programDir, dictionary);
        if (::stat(pathUsed.c_str(), &st) != 0 && errno == ENOENT && !env.samplesDir.empty()) {
            const std::string sample = dictionaryPath(env.samplesDir, dictionary);
            if (::stat(sample.c_str(), &st) == 0 || errno != ENOENT)
                pathUsed = sample;
        }
        if (::stat(pathUsed.c_str(), &st) != 0 && errno == ENOENT) {
            throw Failure("辞書ファイルが見つかりません: " + dictionary + " (" + pathUsed +
                          " もありません)");
        }
    }
    // Opening a folder for reading succeeds here; reading it would not.
    if (::stat(pathUsed.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        throw fileFailure("辞書ファイルが開けません: %s", pathUsed, EISDIR);
    if (::access(pathUsed.c_str(), R_OK) != 0)
        throw fileFailure("辞書ファイルが開けません: %s", pathUsed, errno);
    return pathUsed;
}

LoadResult loadDictionaryArgument(DictionaryTable& table, const std::string& dictionary,
                                  const ConvertEnv& env, std::string& pathUsed) {
    pathUsed = resolveDictionary(dictionary, env);
    LoadResult result = loadDictionaryFile(table, pathUsed);
    if (!result.opened)
        throw Failure("辞書ファイルが開けません: " + pathUsed + ": " +
                      systemErrorText(result.error));
    if (!result.complete)
        throw Failure("辞書ファイルの読み込みに失敗しました: " + pathUsed + ": " +
                      systemErrorText(result.error));
    return result;
}

std::string readDictionaryBytes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw fileFailure("辞書ファイルが開けません: %s", path, errno);
    std::string bytes;
    char buffer[64 * 1024];
    const size_t wanted = size_t(kMaxDictionaryBytes) + 1;
    while (bytes.size() < wanted) {
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, wanted - bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw fileFailure("辞書ファイルの読み込みに失敗しました: %s", path, error);
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return bytes;
}

Input::Input(std::string path, std::istream& stdinStream) : path_(std::move(path)) {
    if (path_ == "-") {
        stream_ = &stdinStream;
        return;
    }
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        throw fileFailure("ファイル %s は開けません", path_, errno);
    struct stat st;
    if (::fstat(fd_, &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            ::close(fd_);
            fd_ = -1;
            throw fileFailure("ファイル %s は開けません", path_, EISDIR);
        }
        if (S_ISREG(st.st_mode))
            size_ = st.st_size;
    }
}

Input::~Input() {
    if (fd_ >= 0)
        ::close(fd_);
}

size_t Input::read(char* buffer, size_t capacity) {
    if (stream_) {
        if (!*stream_)
            return 0;
        stream_->read(buffer, static_cast<std::streamsize>(capacity));
        if (stream_->bad())
            throw Failure(std::string(kStdinName) + " からの読み込みに失敗しました");
        return static_cast<size_t>(stream_->gcount());
    }
    for (;;) {
        ssize_t n = ::read(fd_, buffer, capacity);
        if (n >= 0)
            return static_cast<size_t>(n);
        if (errno != EINTR)
            throw fileFailure("%s からの読み込みに失敗しました", path_, errno);
    }
}

Output::Output(const std::string& path) {
    if (const int error = file_.open(path, FileReplacement::Special::WriteInPlace))
        throw fileFailure("ファイル %s を作成できません", path, error);
}

void Output::write(std::string_view bytes) {
    if (stream_) {
        stream_->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!*stream_)
            throw Failure(std::string(kStdoutName) + " に書き込めません");
        return;
    }
    if (const int error = file_.write(bytes))
        throw fileFailure("%s に書き込めません", file_.target(), error);
}

void Output::commit() {
    if (stream_) {
        stream_->flush();
        if (!*stream_)
            throw Failure(std::string(kStdoutName) + " に書き込めません");
        return;
    }
    bool renameFailed = false;
    if (const int error = file_.commit(&renameFailed))
        throw fileFailure(renameFailed ? "ファイル %s を作成できません" : "%s に書き込めません",
                          file_.target(), error);
}

void Output::discard() {
    if (!stream_)
        file_.discard();
}

void Progress::update(int64_t done) {
    if (!enabled_ || (total_ >= 0 ? total_ : done) < threshold_)
        return;
    int64_t mb = done >> 20;
    int percent = total_ > 0 ? static_cast<int>(done * 100 / total_) : -1;
    if (shown_ && mb == lastMb_ && percent == lastPercent_)
        return;
    lastMb_ = mb;
    lastPercent_ = percent;
    shown_ = true;
    err_ << '\r' << kProgram << ": ";
    if (percent >= 0)
        err_ << percent << "% (" << mb << " / " << (total_ >> 20) << " MB)";
    else
        err_ << mb << " MB";
    err_.flush();
}

void Progress::warn(std::string_view message) {
    finish();
    err_ << kProgram << ": 警告: " << message << '\n';
}

void Progress::finish() {
    if (shown_) {
        err_ << "\r\x1b[K";
        err_.flush();
        shown_ = false;
    }
}

} // namespace sorvanti::cli
