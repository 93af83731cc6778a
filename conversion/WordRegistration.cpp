#include "conversion/WordRegistration.h"

#include "conversion/DictionaryEncoding.h"
#include "conversion/DictionaryTable.h"

#include <cstdio>
#include <optional>

namespace sorvanti::wordregistration {

namespace {

// Whether the file, open for reading and appending, ends inside a line.
bool endsInsideLine(std::FILE* file, bool* endsWithCr) {
    *endsWithCr = false;
    if (std::fseek(file, 0, SEEK_END) != 0)
        return false;
    const long size = std::ftell(file);
    if (size <= 0 || std::fseek(file, size - 1, SEEK_SET) != 0)
        return false;
    const int last = std::fgetc(file);
    *endsWithCr = last == '\r';
    return last != '\n' && last != EOF;
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
    std::FILE* file = std::fopen(table.path().c_str(), "ab+");
    if (!file)
        return Outcome::CannotOpen;
    std::string bytes;
    bool endsWithCr = false;
    if (endsInsideLine(file, &endsWithCr))
        bytes = endsWithCr && format.lineEnd == "\r\n" ? "\n" : format.lineEnd;
    bytes += *line;
    // Appending mode writes at the end anyway; the seek is what lets a write follow a read.
    const bool written = std::fseek(file, 0, SEEK_END) == 0 &&
                         std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed)
        return Outcome::WriteFailed;
    table.appendEntry(standard, converted);
    return Outcome::Registered;
}

} // namespace sorvanti::wordregistration
