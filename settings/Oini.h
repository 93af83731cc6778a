#pragma once

#include "settings/IniFile.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace sorvanti {

// The settings file name for a program path: everything up to and including the last
// "." of the file name, then "ini"; a file name without a dot gets ".ini" appended.
// A dot in a folder name is never the one replaced, nor the leading dot of a hidden file.
// "/opt/s.v/Sorvanti" -> "/opt/s.v/Sorvanti.ini", "/x/Sorvanti.exe" -> "/x/Sorvanti.ini".
std::string settingsFileName(const std::string& programPath);

// Integer rules of the settings: "0x"/"0X" + hex (longer than two characters), "$" + hex,
// or decimal with optional sign; hex numbers up to 0xFFFFFFFF (eight significant digits)
// are a 32-bit pattern, so "0x8000000F" -> -2147483633; anything else (empty, malformed,
// out of range, a sign before a hex number) gives `fallback`. Blanks and tabs around the
// number are ignored, blanks inside it are not.
int32_t parseSettingsInteger(std::string_view text, int32_t fallback);

// The settings object. Section, key and value strings are UTF-8; the file holds them as
// code page 932. A text with a character that code page 932 lacks (an emoji) is stored
// as UTF-8 behind the bytes EF BB BF, which no code page 932 text begins with, and reads
// back unchanged. Bytes that are not code page 932 read as private-use characters that
// write back as the same bytes. ReadString returns at most 2047 bytes of the stored value
// (a character cut at that limit is dropped). Writes throw
// sorvanti::Error("<file> に書き込めません"); each write reaches the file at once.
class Oini {
public:
    explicit Oini(const std::string& programPath);
    ~Oini();

    const std::string& fileName() const { return file_.path(); }

    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    void WriteInteger(std::string_view section, std::string_view key, int32_t value);
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

private:
    IniFile file_;
};

} // namespace sorvanti
