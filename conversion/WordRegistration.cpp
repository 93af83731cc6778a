#include "conversion/WordRegistration.h"

#include "conversion/DictionaryEncoding.h"
#include "conversion/DictionaryLoader.h"
#include "conversion/DictionaryTable.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace sorvanti::wordregistration {

namespace {

// What registration needs to know of the file's end: how many line feeds it holds and the
// line end to write before the new line (none when the file ends with one, or is empty or
// missing; else the file's own, so that its last line stays whole; a last line ending in a
// lone CR only lacks the LF of a CR LF).
struct FileEnd {
    int64_t lineFeeds = 0;
    std::string missingLineEnd;
};

FileEnd fileEnd(const std::string& path, const DictionaryFileFormat& format) {
    FileEnd end;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return end;
    // Lines are counted as far as a load reads (a device may never end).
    char buffer[64 * 1024];
    size_t got;
    int64_t left = kMaxDictionaryBytes;
    while (left > 0 && (got = std::fread(buffer, 1, size_t(std::min<int64_t>(sizeof buffer, left)),
                                         file)) > 0) {
        end.lineFeeds += std::count(buffer, buffer + got, '\n');
        left -= int64_t(got);
    }
    int last = EOF;
    if (std::fseek(file, -1, SEEK_END) == 0)
        last = std::fgetc(file);
    std::fclose(file);
    if (last != EOF && last != '\n')
        end.missingLineEnd = last == '\r' && format.lineEnd == "\r\n" ? "\n" : format.lineEnd;
    return end;
}

constexpr const char* kSideName[2] = {"標準語", "変換語"};

WordFault faultOf(std::string_view word, int side) {
    if (word.empty())
        return WordFault::Empty;
    if (word.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return WordFault::LineBreak;
    if (word.find_first_of(" \t") != std::string_view::npos)
        return WordFault::Blank;
    if (side == 0 && word.front() == '#')
        return WordFault::CommentMark;
    if (word.size() > size_t{DictionaryTable::kMaxWordBytes})
        return WordFault::TooLong;
    return WordFault::None;
}

} // namespace

WordProblem checkWords(std::string_view standard, std::string_view converted) {
    const std::string_view words[2] = {standard, converted};
    for (int side = 0; side < 2; ++side) {
        const WordFault fault = faultOf(words[side], side);
        if (fault != WordFault::None)
            return {fault, side, words[side].size()};
    }
    return {};
}

std::string wordProblemMessage(const WordProblem& problem) {
    const std::string side = kSideName[problem.side];
    switch (problem.fault) {
    case WordFault::None:
        break;
    case WordFault::Empty:
        return side + "を入れて下さい。";
    case WordFault::Blank:
        return side + "に空白やタブは使えません。";
    case WordFault::LineBreak:
        return side + "に改行は使えません。";
    case WordFault::CommentMark:
        return side + "は「#」で始められません。";
    case WordFault::TooLong:
        return side + "が長すぎます（" + std::to_string(problem.bytes) + "バイト、" +
               std::to_string(DictionaryTable::kMaxWordBytes) + "バイトまで）。";
    }
    return {};
}

Outcome registerPair(DictionaryTable& table, std::string_view standard, std::string_view converted,
                     WordProblem* problem) {
    const WordProblem found = checkWords(standard, converted);
    if (problem)
        *problem = found;
    if (found.fault != WordFault::None)
        return Outcome::WordRefused;
    if (table.full())
        return Outcome::TableFull;
    const DictionaryFileFormat format = dictionaryFileFormat(table.path());
    const std::optional<std::string> line = dictionaryLine(standard, converted, format);
    if (!line)
        return Outcome::NoFileForm;
    const FileEnd end = fileEnd(table.path(), format);
    const std::string bytes = end.missingLineEnd + *line;
    if (!keepsItsReading(format, bytes))
        return Outcome::WouldReadAsUtf8;
    std::FILE* file = std::fopen(table.path().c_str(), "ab");
    if (!file)
        return Outcome::CannotOpen;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed)
        return Outcome::WriteFailed;
    // The new line follows every line the file had, the one given its line end included.
    const int64_t newLine = end.lineFeeds + (end.missingLineEnd.empty() ? 1 : 2);
    table.appendEntry(standard, converted, int32_t(std::min<int64_t>(newLine, INT32_MAX)));
    return Outcome::Registered;
}

} // namespace sorvanti::wordregistration
