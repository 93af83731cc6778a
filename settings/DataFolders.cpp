#include "settings/DataFolders.h"

#include "settings/Oini.h"
#include "toolkit/ErrorText.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef SORVANTI_DATA_FROM_BIN
#define SORVANTI_DATA_FROM_BIN "../share/sorvanti"
#endif

namespace sorvanti {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDictionaryFolder = "辞書/";

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// The XDG base folders count only as absolute paths; anything else falls back to the
// default under the home folder. Returns "" when neither is to be had.
std::string baseFolder(const std::string& variable, const std::string& home,
                       const char* defaultUnderHome) {
    if (!variable.empty() && variable.front() == '/')
        return withSlash(variable);
    if (home.empty() || home.front() != '/')
        return {};
    return withSlash(home) + defaultUnderHome;
}

// Copies `from` to `to` unless `to` exists; the exclusive create makes "never replace"
// hold even when two starts race. Returns "" or the failure.
std::string copyNew(const fs::path& from, const fs::path& to, bool& written) {
    written = false;
    std::FILE* in = std::fopen(from.c_str(), "rb");
    if (!in)
        return pathErrorText(from.string(), errno);
    std::FILE* out = std::fopen(to.c_str(), "wbx");
    if (!out) {
        const int error = errno;
        std::fclose(in);
        return error == EEXIST ? std::string() : pathErrorText(to.string(), error);
    }
    char buffer[65536];
    std::string failure;
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        if (std::fwrite(buffer, 1, n, out) != n) {
            failure = pathErrorText(to.string(), errno);
            break;
        }
    }
    if (failure.empty() && std::ferror(in))
        failure = pathErrorText(from.string(), errno ? errno : EIO);
    std::fclose(in);
    if (std::fclose(out) != 0 && failure.empty())
        failure = pathErrorText(to.string(), errno);
    // A cut copy would pass for the user's own dictionary; better none at all.
    if (!failure.empty()) {
        std::error_code ignored;
        fs::remove(to, ignored);
        return failure;
    }
    written = true;
    return {};
}

} // namespace

UserDirectories UserDirectories::fromProcess() {
    UserDirectories user;
    user.home = environmentValue("HOME");
    if (user.home.empty()) {
        struct passwd entry;
        struct passwd* found = nullptr;
        char buffer[4096];
        if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found &&
            found->pw_dir)
            user.home = found->pw_dir;
    }
    user.configHome = environmentValue("XDG_CONFIG_HOME");
    user.dataHome = environmentValue("XDG_DATA_HOME");
    user.stateHome = environmentValue("XDG_STATE_HOME");
    return user;
}

std::string UserDirectories::configFolder() const {
    return baseFolder(configHome, home, ".config/");
}

std::string UserDirectories::dataFolder() const {
    return baseFolder(dataHome, home, ".local/share/");
}

std::string UserDirectories::stateFolder() const {
    return baseFolder(stateHome, home, ".local/state/");
}

DataFolders foldersBeside(const std::string& programPath) {
    const size_t slash = programPath.rfind('/');
    DataFolders beside;
    beside.settingsFile = settingsFileName(programPath);
    beside.dictionaryBase =
        slash == std::string::npos ? std::string("./") : programPath.substr(0, slash + 1);
    beside.keptFolder = beside.settingsFile;
    beside.keptFolder.replace(beside.keptFolder.size() - 3, 3, "kept/");
    return beside;
}

DataFolders locateDataFolders(const std::string& programPath, const UserDirectories& user) {
    const DataFolders beside = foldersBeside(programPath);
    std::error_code ec;
    if (fs::is_directory(beside.dictionaryBase + "辞書", ec))
        return beside;
    const std::string config = user.configFolder();
    const std::string data = user.dataFolder();
    if (config.empty() || data.empty())
        return beside;

    DataFolders installed;
    installed.installed = true;
    installed.settingsFile = config + "Sorvanti/Sorvanti.ini";
    installed.dictionaryBase = data + "Sorvanti/";
    const std::string state = user.stateFolder();
    installed.keptFolder = state.empty() ? data + "Sorvanti/kept/" : state + "Sorvanti/";
    installed.samplesBase = withSlash(
        (fs::path(beside.dictionaryBase) / SORVANTI_DATA_FROM_BIN).lexically_normal().string());
    return installed;
}

std::vector<std::string> dictionaryBases(const DataFolders& folders) {
    std::vector<std::string> bases{folders.dictionaryBase};
    if (folders.installed && !folders.samplesBase.empty())
        bases.push_back(folders.samplesBase);
    return bases;
}

FolderSetup prepareUserFolders(const DataFolders& folders) {
    FolderSetup setup;
    if (!folders.installed)
        return setup;
    auto note = [&setup](std::string failure) {
        if (setup.error.empty())
            setup.error = std::move(failure);
    };

    std::error_code ec;
    const fs::path settingsFolder = fs::path(folders.settingsFile).parent_path();
    fs::create_directories(settingsFolder, ec);
    if (ec)
        note(pathErrorText(settingsFolder.string(), ec.value()));

    const fs::path samples = folders.samplesBase + kDictionaryFolder;
    const fs::path mine = folders.dictionaryBase + kDictionaryFolder;
    // Without shipped samples nothing is made, so that a later start that has them still
    // counts as the first.
    if (fs::exists(mine, ec) || ec || !fs::is_directory(samples, ec))
        return setup;
    setup.firstStart = true;
    fs::create_directories(mine, ec);
    if (ec) {
        note(pathErrorText(mine.string(), ec.value()));
        return setup;
    }
    fs::directory_iterator it(samples, ec);
    if (ec) {
        note(pathErrorText(samples.string(), ec.value()));
        return setup;
    }
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        const fs::path& from = it->path();
        std::error_code kind;
        if (from.extension() != ".txt" || !it->is_regular_file(kind))
            continue;
        bool written = false;
        std::string failure = copyNew(from, mine / from.filename(), written);
        if (!failure.empty())
            note(std::move(failure));
        setup.copied += written ? 1 : 0;
    }
    if (ec)
        note(pathErrorText(samples.string(), ec.value()));
    return setup;
}

} // namespace sorvanti
