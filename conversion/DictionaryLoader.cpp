#include "conversion/DictionaryLoader.h"

#include "conversion/DictionaryEncoding.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace sorvanti {

namespace {

// The line buffer holds 256 bytes: a read takes at most 255 bytes and stops after a
// line feed, so longer lines arrive in pieces that are each taken apart on their own.
constexpr size_t kLinePieceBytes = 255;

bool isSeparator(char c) {
    return c == ' ' || c == '\t';
}

bool endsLine(std::string_view line, size_t pos) {
    return pos >= line.size() || line[pos] == '\n' || line[pos] == '\0';
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Takes one piece of a line apart. Until the table is full the words go into its
// scratch slot and an entry is committed; afterwards they go into `overflow`, which
// lies outside the table, and the entry is only counted.
void takeLine(std::string_view line, DictionaryTable& table, DictionaryEntry& overflow,
              LoadResult& result) {
    DictionaryEntry& slot = table.full() ? overflow : table.scratchSlot();
    size_t pos = readField(line, 0, 0, slot);
    if (pos == std::string_view::npos)
        return;
    if (readField(line, pos, 1, slot) == std::string_view::npos)
        return;
    if (!table.commitSlot())
        ++result.entriesDropped;
}

} // namespace

size_t readField(std::string_view line, size_t pos, int side, DictionaryEntry& slot) {
    while (pos < line.size() && isSeparator(line[pos]))
        ++pos;
    if (endsLine(line, pos))
        return std::string_view::npos;
    if (side == 0 && line[pos] == '#')
        return std::string_view::npos;

    const size_t start = pos;
    while (!endsLine(line, pos) && !isSeparator(line[pos]))
        ++pos;
    // Cut at 40 bytes regardless of character boundaries; the rest of the word is
    // passed over so the next field starts after the whole word.
    const size_t stored = std::min(pos - start, size_t{DictionaryTable::kMaxWordBytes});
    std::memcpy(slot.word[side], line.data() + start, stored);
    slot.word[side][stored] = '\0';

    if (side == 0 && endsLine(line, pos))
        return std::string_view::npos;
    slot.length[side] = static_cast<int16_t>(stored);
    return pos;
}

LoadResult loadDictionaryFile(DictionaryTable& table, const std::string& path) {
    LoadResult result;
    table.setPath(path);

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        result.error = std::strerror(errno);
        return result;
    }
    // A folder opens here but can never be read as a dictionary.
    struct stat info {};
    if (fstat(fileno(file.get()), &info) == 0 && S_ISDIR(info.st_mode)) {
        result.error = std::strerror(EISDIR);
        return result;
    }
    result.opened = true;

    // The encoding is known only once the whole file is seen: a first pass finds it, over
    // no more than the load itself reads, so that a file that never ends ends this pass too.
    textencoding::Detector detector;
    {
        char buffer[64 * 1024];
        size_t got;
        int64_t left = kMaxDictionaryBytes;
        while (left > 0 &&
               (got = std::fread(buffer, 1, size_t(std::min<int64_t>(sizeof buffer, left)),
                                 file.get())) > 0) {
            detector.feed({buffer, got});
            left -= int64_t(got);
        }
    }
    const textencoding::Detected detected = detector.result();
    result.encoding = detected.encoding;
    const bool utf8 = detected.encoding == textencoding::Encoding::Utf8;
    if (std::ferror(file.get()) || std::fseek(file.get(), detected.bom ? 3 : 0, SEEK_SET) != 0) {
        result.opened = false;
        result.error = std::strerror(errno);
        return result;
    }
    table.clear();

    DictionaryEntry overflow{};
    char piece[kLinePieceBytes];
    size_t pieceLength = 0;
    bool pendingCarriageReturn = false;

    auto put = [&](char c) {
        piece[pieceLength++] = c;
        if (c == '\n' || pieceLength == kLinePieceBytes) {
            takeLine({piece, pieceLength}, table, overflow, result);
            pieceLength = 0;
        }
    };

    // A UTF-8 line is gathered whole and goes on in its code page 932 form.
    std::string utf8Line;
    std::string cp932Line;
    int64_t lineNumber = 0;
    auto endUtf8Line = [&](bool lineFeed) {
        ++lineNumber;
        cp932Line.clear();
        if (utf8LineToCp932(utf8Line, cp932Line) == Utf8LineFault::None) {
            for (const char b : cp932Line)
                put(b);
            if (lineFeed)
                put('\n');
        } else if (result.linesNotTaken++ == 0) {
            result.firstLineNotTaken = lineNumber;
        }
        utf8Line.clear();
    };
    auto take = [&](char c) {
        if (!utf8)
            put(c);
        else if (c == '\n')
            endUtf8Line(true);
        else
            utf8Line += c;
    };

    char buffer[64 * 1024];
    size_t got;
    int64_t total = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        // A file that never ends (a device, a pipe that keeps writing) would otherwise be
        // read for ever; nothing that size is a dictionary.
        if (total + int64_t(got) > kMaxDictionaryBytes) {
            got = size_t(kMaxDictionaryBytes - total);
            result.sizeLimitReached = true;
        }
        total += int64_t(got);
        for (size_t i = 0; i < got; ++i) {
            const char c = buffer[i];
            // Text mode: a carriage return directly before a line feed is dropped as the
            // bytes are read, before the line buffer splits them into pieces.
            if (pendingCarriageReturn) {
                pendingCarriageReturn = false;
                if (c != '\n')
                    take('\r');
            }
            if (c == '\r')
                pendingCarriageReturn = true;
            else
                take(c);
        }
        if (result.sizeLimitReached)
            break;
    }
    if (!result.sizeLimitReached && std::ferror(file.get())) {
        result.complete = false;
        result.error = std::strerror(errno);
    }
    if (pendingCarriageReturn)
        take('\r');
    if (utf8 && !utf8Line.empty())
        endUtf8Line(false); // a last line without a line feed
    if (pieceLength > 0)
        takeLine({piece, pieceLength}, table, overflow, result);

    result.entries = table.count();
    return result;
}

std::string dictionaryPath(const std::string& programDir, std::string_view name) {
    std::string path = programDir;
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += "辞書/";
    path += name;
    path += ".txt";
    return path;
}

LoadResult loadDictionary(DictionaryTable& table, const std::string& programDir,
                          std::string_view name) {
    return loadDictionaryFile(table, dictionaryPath(programDir, name));
}

} // namespace sorvanti
