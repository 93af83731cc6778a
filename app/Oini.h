#pragma once

#include "app/IniFile.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace sorvanti {

// The settings file name for a program path: everything up to and including the last
// "." of the file name, then "ini"; a file name without a dot gets ".ini" appended.
// A dot in a folder name is never the one replaced. "/opt/s.v/Sorvanti" -> "/opt/s.v/Sorvanti.ini".
std::string settingsFileName(const std::string& programPath);

// Integer rules of the settings: "0x"/"0X" + hex (longer than two characters), "$" + hex,
// or decimal with optional sign; up to eight hex digits are a 32-bit pattern; anything
// else (empty, malformed, out of range) gives `fallback`.
int32_t parseSettingsInteger(std::string_view text, int32_t fallback);

// The settings object. Section, key and value strings are UTF-8; the file holds them as
// code page 932. Writes throw sorvanti::Error("<file> に書き込めません").
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
