#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sorvanti {

// An initialisation file read and written like the system profile functions: section
// and key names compared ignoring ASCII case, blanks around names and values trimmed,
// other lines kept as they are, a write changing only its key (adding the section or
// key at the end when missing). All strings are the file's own bytes (code page 932).
// Every call reads the file anew; every write rewrites it at once.
class IniFile {
public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    // The value, at most 2047 bytes; nullopt when the file, section or key is missing.
    std::optional<std::string> read(std::string_view section, std::string_view key) const;

    // Throws sorvanti::Error("<path> に書き込めません") when the file cannot be written.
    void write(std::string_view section, std::string_view key, std::string_view value);

private:
    std::string path_;
};

} // namespace sorvanti
