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
