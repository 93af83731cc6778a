#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sorvanti {

// An initialisation file read and written like the system profile functions: section
// and key names compared ignoring ASCII case (double-byte characters compare exactly),
// blanks and tabs around names and values trimmed, lines that are not "[section]" or
// "key=value" (comments, junk) and other sections kept byte for byte. The first section
// and the first key of a name are the ones in force. Quotes around a value are kept.
// All strings are the file's own bytes (code page 932).
//
// Every call reads the file anew; every write rewrites it at once through a temporary
// file in the same folder and a rename, so the file is never left half written. A write
// changes only its key: in place when it exists, otherwise as a new line after the last
// non-blank line of the section, or as a new section at the end of the file. Lines are
// read with LF or CR LF ends; new lines take the line end of the file's first line, and a
// new file has LF ends. A symbolic link is followed and stays a link.
class IniFile {
public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    // The value, at most 2047 bytes; nullopt when the file, section or key is missing.
    std::optional<std::string> read(std::string_view section, std::string_view key) const;

    // Throws sorvanti::Error("<path> に書き込めません"), leaving the file as it was, when the
    // file cannot be written (missing or read-only folder, read-only file, not a regular
    // file) or when the line cannot hold the value: a line break in any argument, an empty
    // key, "=" in a key, "]" in a section name, a section name ending in the first byte of a
    // double-byte character (it would swallow the closing "]").
    void write(std::string_view section, std::string_view key, std::string_view value);

private:
    std::string path_;
};

} // namespace sorvanti
