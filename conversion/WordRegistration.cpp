#include "conversion/WordRegistration.h"

#include "conversion/DictionaryEncoding.h"
#include "conversion/DictionaryTable.h"

#include <cstdio>
#include <optional>

namespace sorvanti::wordregistration {

namespace {

// The line end to write before the new line: none when the file ends with one (or is empty or
// missing), else the file's own, so that its last line stays whole. A last line ending in a
// lone CR only lacks the LF of a CR LF.
std::string missingLineEnd(const std::string& path, const DictionaryFileFormat& format) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return {};
    int last = EOF;
    if (std::fseek(file, -1, SEEK_END) == 0)
        last = std::fgetc(file);
    std::fclose(file);
    if (last == EOF || last == '\n')
        return {};
    return last == '\r' && format.lineEnd == "\r\n" ? "\n" : format.lineEnd;
}

} // namespace

Outcome registerPair(DictionaryTable& table, std::string_view standard,
                     std::string_view converted) {
    if (table.full())
        return Outcome::TableFull;
    const DictionaryFileFormat format = dictionaryFileFormat(table.path());
    const std::optional<std::string> line = dictionaryLine(standard, converted, format);
    if (!line)
        return Outcome::NoFileForm;
    const std::string bytes = missingLineEnd(table.path(), format) + *line;
    if (!keepsItsReading(format, bytes))
        return Outcome::WouldReadAsUtf8;
    std::FILE* file = std::fopen(table.path().c_str(), "ab");
    if (!file)
        return Outcome::CannotOpen;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed)
        return Outcome::WriteFailed;
    table.appendEntry(standard, converted);
    return Outcome::Registered;
}

} // namespace sorvanti::wordregistration
