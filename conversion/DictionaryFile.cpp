#include "conversion/DictionaryFile.h"

#include "conversion/DictionaryLoader.h"
#include "toolkit/FileReplacement.h"

#include <cerrno>
#include <cstdio>
#include <functional>

namespace sorvanti {

namespace {

uint64_t hashOf(std::string_view bytes) {
    return std::hash<std::string_view>{}(bytes);
}

} // namespace

DictionaryFileRead readDictionaryFile(const std::string& path) {
    DictionaryFileRead read;
    const DictionaryFilePtr file = openDictionaryFile(path, read.error);
    if (!file)
        return read;
    char buffer[64 * 1024];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        read.bytes.append(buffer, got);
        if (int64_t(read.bytes.size()) > kMaxDictionaryBytes) {
            read.error = EFBIG;
            return read;
        }
    }
    if (std::ferror(file.get())) {
        read.error = errno ? errno : EIO;
        return read;
    }
    read.stamp = {true, int64_t(read.bytes.size()), hashOf(read.bytes)};
    return read;
}

FileLook lookAgain(const std::string& path, const FileStamp& stamp) {
    FileLook look;
    look.now = readDictionaryFile(path);
    if (look.now.error == ENOENT) {
        look.change = stamp.exists ? FileChange::Missing : FileChange::None;
        return look;
    }
    const std::string_view bytes = look.now.bytes;
    if (look.now.error != 0 || !stamp.exists)
        look.change = FileChange::Changed;
    else if (look.now.stamp.size == stamp.size && look.now.stamp.hash == stamp.hash)
        look.change = FileChange::None;
    else if (look.now.stamp.size > stamp.size &&
             hashOf(bytes.substr(0, size_t(stamp.size))) == stamp.hash)
        look.change = FileChange::Appended;
    else
        look.change = FileChange::Changed;
    if (look.change == FileChange::Appended)
        look.appended = bytes.substr(size_t(stamp.size));
    return look;
}

int writeDictionaryFile(const std::string& path, std::string_view bytes, FileStamp& stamp) {
    if (const int error = replaceFileContent(path, bytes); error != 0)
        return error;
    stamp = {true, int64_t(bytes.size()), hashOf(bytes)};
    return 0;
}

} // namespace sorvanti
