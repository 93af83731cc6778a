#include "conversion/DictionaryLoader.h"

#include "conversion/DictionaryEncoding.h"
#include "conversion/WordModeDeclaration.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace sorvanti {

namespace {

bool endsLine(std::string_view line, size_t pos) {
    return pos >= line.size() || line[pos] == '\n' || line[pos] == '\0';
}

// The line reader: the bytes of the file, as read, become entries of the table. Text mode
// comes first (a CR directly before an LF is dropped; a CR that ends the file ends its last
// line); then a UTF-8 line is gathered whole and goes on in its code page 932 form; then the
// 256-byte line buffer cuts lines into pieces that the field reader takes apart one by one.
// Until the table is full the words go into its scratch slot and an entry is committed;
// afterwards they go into a slot outside the table, and the entry is only counted. Each entry
// keeps the number of the file line it came from (lines end at LF only, as text mode reads).
class LineReader {
public:
    LineReader(DictionaryTable& table, LoadResult& result, bool utf8)
        : table_(table), result_(result), utf8_(utf8) {}

    void read(std::string_view bytes) {
        for (const char c : bytes) {
            if (pendingCarriageReturn_) {
                pendingCarriageReturn_ = false;
                if (c != '\n')
                    take('\r');
            }
            if (c == '\r')
                pendingCarriageReturn_ = true;
            else
                take(c);
        }
    }

    // The end of the file.
    void finish() {
        // A CR with nothing after it is the last line's end, as it is once a registration
        // has put an LF after it.
        if (pendingCarriageReturn_)
            take('\n');
        pendingCarriageReturn_ = false;
        if (utf8_ && !utf8Line_.empty())
            endUtf8Line(false); // a last line without a line feed
        if (pieceLength_ > 0)
            takePiece();
    }

private:
    void take(char c) {
        if (utf8_) {
            if (c == '\n')
                endUtf8Line(true);
            else
                utf8Line_ += c;
            return;
        }
        put(c);
        if (c == '\n')
            ++line_;
    }

    void endUtf8Line(bool lineFeed) {
        cp932Line_.clear();
        if (utf8LineToCp932(utf8Line_, cp932Line_) == Utf8LineFault::None) {
            for (const char b : cp932Line_)
                put(b);
            if (lineFeed)
                put('\n');
        } else if (result_.linesNotTaken++ == 0) {
            result_.firstLineNotTaken = line_;
        }
        utf8Line_.clear();
        ++line_;
    }

    void put(char c) {
        if (pieceLength_ == 0)
            pieceLine_ = line_;
        piece_[pieceLength_++] = c;
        if (c == '\n' || pieceLength_ == kLinePieceBytes)
            takePiece();
    }

    void takePiece() {
        const std::string_view line(piece_, pieceLength_);
        pieceLength_ = 0;
        const bool startsLine = startsLine_;
        startsLine_ = line.back() == '\n';
        DictionaryEntry& slot = table_.full() ? overflow_ : table_.scratchSlot();
        const size_t pos = readField(line, 0, 0, slot);
        if (pos == std::string_view::npos ||
            readField(line, pos, 1, slot) == std::string_view::npos) {
            if (startsLine && !entrySeen_ && wordmode::isDeclaration(line))
                result_.wordMode = true;
            return;
        }
        entrySeen_ = true;
        if (!table_.commitSlot(int32_t(std::min<int64_t>(pieceLine_, INT32_MAX))))
            ++result_.entriesDropped;
    }

    DictionaryTable& table_;
    LoadResult& result_;
    const bool utf8_;
    DictionaryEntry overflow_{};
    char piece_[kLinePieceBytes];
    size_t pieceLength_ = 0;
    bool startsLine_ = true; // the next piece begins a line
    bool entrySeen_ = false; // a line has yielded an entry: no declaration after it counts
    bool pendingCarriageReturn_ = false;
    std::string utf8Line_;
    std::string cp932Line_;
    // The file line (from 1) of the bytes being put, and of the piece being gathered.
    int64_t line_ = 1;
    int64_t pieceLine_ = 1;
};

} // namespace

DictionaryFilePtr openDictionaryFile(const std::string& path, int& error) {
    DictionaryFilePtr file(std::fopen(path.c_str(), "rb"));
    struct stat info {};
    if (!file || fstat(fileno(file.get()), &info) != 0) {
        error = errno;
        return nullptr;
    }
    if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
        return nullptr;
    }
    return file;
}

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

textencoding::Detector scanDictionary(std::FILE* file, std::string* firstLineEnd) {
    textencoding::Detector detector;
    char buffer[64 * 1024];
    size_t got;
    int64_t left = kMaxDictionaryBytes;
    char previous = '\0';
    bool lineEndSeen = firstLineEnd == nullptr;
    while (left > 0 && (got = std::fread(buffer, 1, size_t(std::min<int64_t>(sizeof buffer, left)),
                                         file)) > 0) {
        detector.feed({buffer, got});
        left -= int64_t(got);
        for (size_t i = 0; i < got && !lineEndSeen; ++i) {
            if (buffer[i] == '\n') {
                lineEndSeen = true;
                *firstLineEnd = previous == '\r' ? "\r\n" : "\n";
            }
            previous = buffer[i];
        }
    }
    return detector;
}

LoadResult loadDictionaryFile(DictionaryTable& table, const std::string& path) {
    LoadResult result;
    table.setPath(path);
    const DictionaryFilePtr file = openDictionaryFile(path, result.error);
    if (!file)
        return result;
    result.opened = true;

    // The encoding is known only once the whole file is seen: the detection pass finds it
    // first, over no more than the load itself reads.
    const textencoding::Detected detected = scanDictionary(file.get()).result();
    result.encoding = detected.encoding;
    if (std::ferror(file.get()) || std::fseek(file.get(), detected.bom ? 3 : 0, SEEK_SET) != 0) {
        result.opened = false;
        result.error = errno;
        return result;
    }
    table.clear();

    LineReader reader(table, result, detected.encoding == textencoding::Encoding::Utf8);
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
        reader.read({buffer, got});
        if (result.sizeLimitReached)
            break;
    }
    if (!result.sizeLimitReached && std::ferror(file.get())) {
        result.complete = false;
        result.error = errno;
    }
    reader.finish();
    result.entries = table.count();
    table.setWordMode(result.wordMode);
    return result;
}

std::string dictionaryFolder(const std::string& base) {
    std::string folder = base;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    folder += "辞書/";
    return folder;
}

std::string dictionaryPath(const std::string& programDir, std::string_view name) {
    std::string path = dictionaryFolder(programDir);
    path += name;
    path += ".txt";
    return path;
}

LoadResult loadDictionary(DictionaryTable& table, const std::string& programDir,
                          std::string_view name) {
    return loadDictionaryFile(table, dictionaryPath(programDir, name));
}

} // namespace sorvanti
