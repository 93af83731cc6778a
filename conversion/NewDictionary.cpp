#include "conversion/NewDictionary.h"

#include "conversion/DictionaryLoader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <system_error>

namespace sorvanti::newdictionary {

namespace {

// The longest file name the folder's file system takes (255 where it cannot be asked).
size_t longestName(const std::string& folder) {
    const long most = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return most > 0 ? size_t(most) : size_t{NAME_MAX};
}

} // namespace

NameProblem checkName(const std::string& dataFolder, std::string_view name) {
    if (name.empty())
        return NameProblem::Empty;
    if (name.find('/') != std::string_view::npos)
        return NameProblem::Slash;
    if (name.find('\0') != std::string_view::npos)
        return NameProblem::Zero;
    if (name == "." || name == "..")
        return NameProblem::Dots;
    std::string folder = dictionaryFolder(dataFolder);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        folder = dataFolder; // made by create(); its parent's file system decides meanwhile
    if (name.size() + 4 > longestName(folder))
        return NameProblem::TooLong;
    if (std::filesystem::symlink_status(dictionaryPath(dataFolder, name), ec).type() !=
        std::filesystem::file_type::not_found)
        return NameProblem::Exists;
    return NameProblem::None;
}

int create(const std::string& dataFolder, std::string_view name) {
    std::error_code ec;
    std::filesystem::create_directories(dictionaryFolder(dataFolder), ec);
    if (ec)
        return ec.value();
    const std::string path = dictionaryPath(dataFolder, name);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    return ::close(fd) == 0 ? 0 : errno;
}

} // namespace sorvanti::newdictionary
