#include "cli/RunConvert.h"

#include "cli/DictionaryCheck.h"
#include "conversion/DictionaryLoader.h"
#include "conversion/DictionaryTable.h"
#include "conversion/Engine.h"
#include "conversion/UnicodeConversion.h"
#include "settings/DataFolders.h"
#include "toolkit/Cp932.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <istream>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string_view>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace sorvanti {

namespace {

constexpr std::string_view kProgram = "sorvanti-convert";
constexpr const char* kStdinName = "標準入力";
constexpr const char* kStdoutName = "標準出力";

constexpr std::string_view kUsage =
    "使い方: sorvanti-convert -d 辞書 [-r] [-e 文字コード] [-o 出力ファイル] [ファイル...]\n"
    "        sorvanti-convert --check 辞書 [-r]\n"
    "\n"
    "辞書の単語対でテキストを変換します。ファイルの指定がないとき、または \"-\" は\n"
    "標準入力を読みます。結果は標準出力か、-o のファイルに書きます。\n"
    "\n"
    "  -d 辞書        辞書ファイルのパス。そのパスにファイルがなければ辞書名として\n"
    "                 辞書/名前.txt を探します: プログラムのフォルダに 辞書/ があれば\n"
    "                 そこ、なければ $XDG_DATA_HOME/Sorvanti/辞書/ と添付の見本。\n"
    "  -r             逆変換 (変換語から標準語へ)。指定がなければ変換 (標準語から変換語へ)。\n"
    "  -e 文字コード  入出力の文字コード: cp932 (既定) または utf-8。\n"
    "                 utf-8 のとき、CP932 にない文字はそのまま通ります。\n"
    "                 UTF-8 として正しくない入力はエラーです (ファイル名と行を表示)。\n"
    "  -o 出力ファイル 成功したときだけ書き込みます (失敗しても元のファイルは残ります)。\n"
    "                 \"-\" は標準出力。\n"
    "      --check 辞書\n"
    "                 辞書を調べ、読み飛ばされる行、40 バイトで切り詰められる単語、\n"
    "                 2000 項目を超えた項目、文字コードとして正しくないバイト、同じ単語対、\n"
    "                 先の対に隠されて使われない対 (先の単語が単語の先頭に一致する対。\n"
    "                 -r のときは変換語で調べます) を「ファイル:行: 説明」の形で示します。\n"
    "                 終了コード: 0 失われる対なし、1 使われない・失われる対あり。\n"
    "      --help     この説明を表示して終了します。\n"
    "      --version  バージョンを表示して終了します。\n"
    "\n"
    "行は LF で区切ります。LF の直前の CR は行に含めず、そのまま書き戻します。\n"
    "辞書は CP932 か UTF-8 (BOM 付き、または UTF-8 として正しく ASCII 以外の文字を含むもの)。\n"
    "CP932 の重複コード (NEC と IBM の拡張文字など) は同じ文字として一致します。\n"
    "終了コード: 0 成功、1 エラー、2 使い方の誤り。\n";

// A failure that ends the run with status 1; the message is the whole line without the
// program name.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// "<pattern with the path for %s>: <the system's reason>", e.g.
// "ファイル a.txt は開けません: No such file or directory".
Failure fileFailure(std::string_view pattern, std::string_view path, int error) {
    std::string message(pattern);
    size_t at = message.find("%s");
    message.replace(at, 2, path);
    message += ": ";
    message += std::strerror(error);
    return Failure(message);
}

struct Options {
    std::string dictionary;
    bool haveDictionary = false;
    bool reverse = false;
    bool utf8 = false;
    std::string output;
    bool haveOutput = false;
    std::vector<std::string> files;
    bool help = false;
    bool version = false;
    bool check = false;
};

bool parseEncoding(std::string_view name, bool& utf8) {
    std::string lower;
    for (char c : name)
        lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (lower == "cp932") {
        utf8 = false;
        return true;
    }
    if (lower == "utf-8" || lower == "utf8") {
        utf8 = true;
        return true;
    }
    return false;
}

// Returns an empty string when the arguments are well formed, else the usage error.
// Options may come before, between or after the files; "--" ends them.
std::string parseOptions(const std::vector<std::string>& args, Options& options) {
    bool optionsDone = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsDone || arg == "-" || arg.size() < 2 || arg[0] != '-') {
            options.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsDone = true;
            continue;
        }
        if (arg == "--help") {
            options.help = true;
            return {};
        }
        if (arg == "--version") {
            options.version = true;
            return {};
        }
        if (arg == "--check" || arg.rfind("--check=", 0) == 0) {
            if (arg.size() > 7) {
                options.dictionary = arg.substr(8);
            } else if (i + 1 < args.size()) {
                options.dictionary = args[++i];
            } else {
                return "オプション --check には辞書が要ります";
            }
            options.check = true;
            options.haveDictionary = true;
            continue;
        }
        if (arg[1] == '-')
            return "不明なオプションです: " + arg;
        // Short options, which may be grouped ("-rd 辞書") or take their value attached.
        for (size_t k = 1; k < arg.size(); ++k) {
            char letter = arg[k];
            if (letter == 'r') {
                options.reverse = true;
                continue;
            }
            if (letter != 'd' && letter != 'e' && letter != 'o')
                return "不明なオプションです: " + arg;
            std::string value;
            if (k + 1 < arg.size()) {
                value = arg.substr(k + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return std::string("オプション -") + letter + " には値が要ります";
            }
            if (letter == 'd') {
                options.dictionary = value;
                options.haveDictionary = true;
            } else if (letter == 'o') {
                options.output = value;
                options.haveOutput = true;
            } else if (!parseEncoding(value, options.utf8)) {
                return "文字コード " + value + " は扱えません (cp932 か utf-8)";
            }
            break;
        }
    }
    if (!options.haveDictionary)
        return "辞書を -d で指定して下さい";
    if (options.dictionary.empty())
        return "辞書の指定が空です";
    if (options.haveOutput && options.output.empty())
        return "出力ファイルの指定が空です";
    if (options.check && (!options.files.empty() || options.haveOutput))
        return "--check は辞書のほかにファイルを取りません";
    return {};
}

// -d names a file when one has that path, otherwise a dictionary of the program's "辞書/"
// (or of the shipped samples). Returns the path it settled on.
std::string resolveDictionary(const std::string& dictionary, const ConvertEnv& env) {
    struct stat st;
    std::string pathUsed = dictionary;
    if (::stat(dictionary.c_str(), &st) != 0) {
        int error = errno;
        if (error != ENOENT && error != ENOTDIR)
            throw fileFailure("辞書ファイルが開けません: %s", dictionary, error);
        pathUsed = dictionaryPath(env.programDir, dictionary);
        if (::stat(pathUsed.c_str(), &st) != 0 && errno == ENOENT && !env.samplesDir.empty()) {
            const std::string sample = dictionaryPath(env.samplesDir, dictionary);
            if (::stat(sample.c_str(), &st) == 0 || errno != ENOENT)
                pathUsed = sample;
        }
        if (::stat(pathUsed.c_str(), &st) != 0 && errno == ENOENT) {
            throw Failure("辞書ファイルが見つかりません: " + dictionary + " (" + pathUsed +
                          " もありません)");
        }
    }
    // Opening a folder for reading succeeds here; reading it would not.
    if (::stat(pathUsed.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        throw fileFailure("辞書ファイルが開けません: %s", pathUsed, EISDIR);
    return pathUsed;
}

LoadResult loadDictionaryArgument(DictionaryTable& table, const std::string& dictionary,
                                  const ConvertEnv& env, std::string& pathUsed) {
    pathUsed = resolveDictionary(dictionary, env);
    LoadResult result = loadDictionaryFile(table, pathUsed);
    if (!result.opened)
        throw Failure("辞書ファイルが開けません: " + pathUsed + ": " + result.error);
    if (!result.complete)
        throw Failure("辞書ファイルの読み込みに失敗しました: " + pathUsed + ": " + result.error);
    return result;
}

// One input: a named file (read with read(2)) or the standard input stream.
class Input {
public:
    Input(std::string path, std::istream& stdinStream) : path_(std::move(path)) {
        if (path_ == "-") {
            stream_ = &stdinStream;
            return;
        }
        fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0)
            throw fileFailure("ファイル %s は開けません", path_, errno);
        struct stat st;
        if (::fstat(fd_, &st) == 0) {
            if (S_ISDIR(st.st_mode)) {
                ::close(fd_);
                fd_ = -1;
                throw fileFailure("ファイル %s は開けません", path_, EISDIR);
            }
            if (S_ISREG(st.st_mode))
                size_ = st.st_size;
        }
    }
    ~Input() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    const char* name() const { return stream_ ? kStdinName : path_.c_str(); }
    int64_t size() const { return size_; } // -1 when unknown (not a regular file)

    // Fills `buffer` with up to `capacity` bytes; 0 at the end of the input.
    size_t read(char* buffer, size_t capacity) {
        if (stream_) {
            if (!*stream_)
                return 0;
            stream_->read(buffer, static_cast<std::streamsize>(capacity));
            if (stream_->bad())
                throw Failure(std::string(kStdinName) + " からの読み込みに失敗しました");
            return static_cast<size_t>(stream_->gcount());
        }
        for (;;) {
            ssize_t n = ::read(fd_, buffer, capacity);
            if (n >= 0)
                return static_cast<size_t>(n);
            if (errno != EINTR)
                throw fileFailure("%s からの読み込みに失敗しました", path_, errno);
        }
    }

private:
    std::string path_;
    std::istream* stream_ = nullptr;
    int fd_ = -1;
    int64_t size_ = -1;
};

// Where the result goes: the output stream, or OUT by way of a temporary file in its
// folder that replaces OUT only on commit(), so that a failed run leaves OUT as it was.
class Output {
public:
    explicit Output(std::ostream& stream) : stream_(&stream) {}

    explicit Output(const std::string& path) : path_(path) {
        namespace fs = std::filesystem;
        std::error_code ec;
        // Replace the file a symbolic link points to, not the link.
        if (fs::is_symlink(fs::symlink_status(path_, ec))) {
            fs::path target = fs::canonical(path_, ec);
            if (!ec)
                path_ = target.string();
        }
        struct stat st;
        bool exists = ::stat(path_.c_str(), &st) == 0;
        if (exists && S_ISDIR(st.st_mode))
            throw fileFailure("ファイル %s を作成できません", path, EISDIR);
        // The rename would replace a file that may not be written to; refuse as a
        // plain write would.
        if (exists && ::access(path_.c_str(), W_OK) != 0)
            throw fileFailure("ファイル %s を作成できません", path, errno);
        if (exists && !S_ISREG(st.st_mode)) {
            // A device or a pipe: there is no old content to keep, and renaming over it
            // would replace the device node itself.
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
            if (fd_ < 0)
                throw fileFailure("ファイル %s を作成できません", path, errno);
            return;
        }
        fs::path target(path_);
        fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
        std::string tempName = ".";
        tempName += target.filename().string();
        tempName += ".XXXXXX";
        temp_ = (folder / tempName).string();
        fd_ = ::mkstemp(temp_.data());
        if (fd_ < 0) {
            int error = errno;
            temp_.clear();
            throw fileFailure("ファイル %s を作成できません", path, error);
        }
        mode_t mode;
        if (exists) {
            mode = st.st_mode & 07777;
        } else {
            mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        ::fchmod(fd_, mode);
    }

    ~Output() { discard(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void write(std::string_view bytes) {
        if (stream_) {
            stream_->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            if (!*stream_)
                throw Failure(std::string(kStdoutName) + " に書き込めません");
            return;
        }
        while (!bytes.empty()) {
            ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                throw fileFailure("%s に書き込めません", path_, errno);
            }
            bytes.remove_prefix(static_cast<size_t>(n));
        }
    }

    void commit() {
        if (stream_) {
            stream_->flush();
            if (!*stream_)
                throw Failure(std::string(kStdoutName) + " に書き込めません");
            return;
        }
        if (temp_.empty()) { // a device or a pipe, written in place
            int fd = fd_;
            fd_ = -1;
            if (::close(fd) != 0)
                throw fileFailure("%s に書き込めません", path_, errno);
            return;
        }
        // The data must be on disk before the rename makes it the file's content.
        if (::fsync(fd_) != 0)
            throw fileFailure("%s に書き込めません", path_, errno);
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            throw fileFailure("%s に書き込めません", path_, errno);
        if (::rename(temp_.c_str(), path_.c_str()) != 0)
            throw fileFailure("ファイル %s を作成できません", path_, errno);
        temp_.clear();
    }

    void discard() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
        if (!temp_.empty()) {
            ::unlink(temp_.c_str());
            temp_.clear();
        }
    }

private:
    std::ostream* stream_ = nullptr;
    std::string path_;
    std::string temp_;
    int fd_ = -1;
};

// "\rsorvanti-convert: 45% (12 / 27 MB)" on a terminal, once the input is large.
class Progress {
public:
    Progress(std::ostream& err, bool enabled, int64_t total, int64_t threshold)
        : err_(err), enabled_(enabled), total_(total), threshold_(threshold) {}

    void update(int64_t done) {
        if (!enabled_ || (total_ >= 0 ? total_ : done) < threshold_)
            return;
        int64_t mb = done >> 20;
        int percent = total_ > 0 ? static_cast<int>(done * 100 / total_) : -1;
        if (shown_ && mb == lastMb_ && percent == lastPercent_)
            return;
        lastMb_ = mb;
        lastPercent_ = percent;
        shown_ = true;
        err_ << '\r' << kProgram << ": ";
        if (percent >= 0)
            err_ << percent << "% (" << mb << " / " << (total_ >> 20) << " MB)";
        else
            err_ << mb << " MB";
        err_.flush();
    }

    // Clears the progress line so that what follows starts on a clean line.
    void finish() {
        if (shown_) {
            err_ << "\r\x1b[K";
            err_.flush();
            shown_ = false;
        }
    }

private:
    std::ostream& err_;
    bool enabled_;
    int64_t total_;
    int64_t threshold_;
    bool shown_ = false;
    int64_t lastMb_ = -1;
    int lastPercent_ = -1;
};

// Converts lines with its own engine; the buffers are reused, so a line costs no
// allocation once they have grown to the longest line. One per thread.
class LineConverter {
public:
    LineConverter(const DictionaryTable& table, int side, bool utf8)
        : engine_(table), side_(side), utf8_(utf8) {}

    // Appends the converted `line` and `lineEnd` ("\n", "\r\n" or nothing) to `out`.
    // Returns false when the line is not valid UTF-8 (in UTF-8 mode).
    bool convert(std::string_view line, std::string_view lineEnd, std::string& out) {
        if (!utf8_) {
            engine_.convertLine(line, side_, out);
        } else {
            text_.clear();
            if (!cp932::fromUtf8Append(line, text_))
                return false;
            converted_.clear();
            convertUnicodeLine(engine_, text_, side_, converted_, RawByteEscapes::AsCharacters);
            cp932::toUtf8Append(converted_, out);
        }
        out.append(lineEnd);
        return true;
    }

    // A line too long to hold at once is handed over in parts with feed() and ended with
    // finish(); the result is the same as convert() of the whole line. Only a few dozen
    // bytes of it stay behind between parts: the matcher never looks further ahead than
    // one word. Both return false when the line is not valid UTF-8 (in UTF-8 mode).
    bool feed(std::string_view part, std::string& out) {
        if (!utf8_) {
            held_.append(part);
            convertHeld(out);
            return true;
        }
        heldUtf8_.append(part);
        const size_t complete = completeUtf8(heldUtf8_);
        text_.clear();
        if (!cp932::fromUtf8Append(std::string_view(heldUtf8_).substr(0, complete), text_))
            return false;
        heldUtf8_.erase(0, complete);
        takeUnicode(out);
        convertHeld(converted8_);
        decodeConverted(out, true);
        return true;
    }

    bool finish(std::string_view lineEnd, std::string& out) {
        if (!utf8_) {
            engine_.convertLine(held_, side_, out);
            held_.clear();
        } else {
            if (!heldUtf8_.empty()) {
                heldUtf8_.clear(); // a sequence cut off by the end of the line
                return false;
            }
            endRun(out);
        }
        out.append(lineEnd);
        return true;
    }

    // Converts `region`, whole lines each ending with LF, appending to `out`. Returns
    // the number of lines converted; when a line is not valid UTF-8 it stops there and
    // sets `invalid`.
    int64_t convertLines(std::string_view region, std::string& out, bool& invalid) {
        int64_t count = 0;
        invalid = false;
        while (!region.empty()) {
            const auto* lf =
                static_cast<const char*>(std::memchr(region.data(), '\n', region.size()));
            size_t length = static_cast<size_t>(lf - region.data());
            std::string_view line = region.substr(0, length);
            std::string_view lineEnd = "\n";
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
                lineEnd = "\r\n";
            }
            if (!convert(line, lineEnd, out)) {
                invalid = true;
                return count;
            }
            ++count;
            region.remove_prefix(length + 1);
        }
        return count;
    }

private:
    // Bytes kept back from a part: more than the longest word.
    static constexpr size_t kKeep = DictionaryTable::kMaxWordBytes + 1;

    // Converts what the bytes held decide (code page 932 text, in UTF-8 mode the run of
    // encodable characters not yet ended) and keeps the rest.
    void convertHeld(std::string& out) {
        if (held_.size() < 2 * kKeep)
            return;
        const size_t done = engine_.convertPart(held_, held_.size() - kKeep, side_, out);
        held_.erase(0, done);
    }

    // Length of `s` without an incomplete UTF-8 sequence at its end, which the next part
    // completes.
    static size_t completeUtf8(std::string_view s) {
        for (size_t back = 1; back <= 3 && back <= s.size(); ++back) {
            const auto c = static_cast<unsigned char>(s[s.size() - back]);
            if ((c & 0xC0) == 0x80)
                continue;
            const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            return length > back ? s.size() - back : s.size();
        }
        return s.size();
    }

    // UTF-8 mode: splits text_ as convertUnicodeLine() does, into runs of characters with a
    // code page 932 form, each converted on its own, and the characters between them.
    void takeUnicode(std::string& out) {
        const std::u16string_view text = text_;
        size_t pos = 0;
        while (pos < text.size()) {
            size_t runEnd = cp932::findUnencodable(text.substr(pos), false);
            runEnd = runEnd == std::u16string_view::npos ? text.size() : pos + runEnd;
            cp932::encodeAppend(text.substr(pos, runEnd - pos), held_);
            pos = runEnd;
            if (pos < text.size()) {
                endRun(out);
                size_t units = 1;
                cp932::encodable(text, pos, &units);
                cp932::toUtf8Append(text.substr(pos, units), out);
                pos += units;
            }
        }
    }

    void endRun(std::string& out) {
        engine_.convertLine(held_, side_, converted8_);
        held_.clear();
        decodeConverted(out, false);
    }

    // Decodes the converted bytes of the run; with `more`, a last byte that may start a
    // character with the next one waits for it.
    void decodeConverted(std::string& out, bool more) {
        decoded_.clear();
        cp932::decodeAppend(converted8_, decoded_);
        size_t keep = 0;
        if (more && !decoded_.empty() &&
            decoded_.back() ==
                cp932::kRawByteBase + static_cast<unsigned char>(converted8_.back())) {
            decoded_.pop_back();
            keep = 1;
        }
        cp932::toUtf8Append(decoded_, out);
        converted8_.erase(0, converted8_.size() - keep);
    }

    Engine engine_;
    int side_;
    bool utf8_;
    std::u16string text_;
    std::u16string converted_;
    // A line handed over in parts: its bytes not yet converted (code page 932 text, or in
    // UTF-8 mode the open run in code page 932), an incomplete UTF-8 sequence, converted
    // bytes not yet decoded.
    std::string held_;
    std::string heldUtf8_;
    std::string converted8_;
    std::u16string decoded_;
};

// Reads the inputs block by block, converts their lines and hands the result to the
// output. With `parallel`, the whole lines of a large block are split in two halves at
// a line end and the second half is converted on a second thread with an engine of its
// own (lines are independent, and the table is only read), then appended in order.
class Converter {
public:
    Converter(const DictionaryTable& table, int side, bool utf8, bool parallel, size_t block,
              Output& output, Progress& progress)
        : table_(table), side_(side), utf8_(utf8), parallel_(parallel), output_(output),
          progress_(progress), lines_(table, side, utf8), block_(std::max<size_t>(block, 1), '\0') {
        pending_.reserve(2 * block_.size());
    }

    void run(Input& input) {
        carry_.clear();
        lineNumber_ = 0;
        longLine_ = false;
        const size_t blockSize = block_.size();
        for (;;) {
            size_t n = input.read(block_.data(), block_.size());
            if (n == 0)
                break;
            done_ += static_cast<int64_t>(n);
            std::string_view block(block_.data(), n);
            const auto* lastLf = static_cast<const char*>(memrchr(block.data(), '\n', n));
            if (!lastLf) {
                carry_.append(block); // a line longer than a block
                if (carry_.size() >= blockSize)
                    feedLongLine(input);
            } else {
                size_t end = static_cast<size_t>(lastLf - block.data()) + 1;
                std::string_view lines = block.substr(0, end);
                if (!carry_.empty() || longLine_) {
                    // The line begun in the previous block ends in this one.
                    size_t lf = lines.find('\n') + 1;
                    carry_.append(lines.substr(0, lf));
                    if (longLine_)
                        finishLongLine(input, true);
                    else
                        convertRegion(input, carry_);
                    carry_.clear();
                    lines.remove_prefix(lf);
                }
                convertRegion(input, lines);
                carry_.append(block.substr(end));
            }
            if (pending_.size() >= blockSize) {
                output_.write(pending_);
                pending_.clear();
            }
            progress_.update(done_);
        }
        // A last line without a line feed: converted whole, a CR at its end included.
        if (longLine_) {
            finishLongLine(input, false);
        } else if (!carry_.empty()) {
            ++lineNumber_;
            if (!lines_.convert(carry_, {}, pending_))
                throw notUtf8(input);
        }
        carry_.clear();
    }

    void finish() {
        output_.write(pending_);
        pending_.clear();
    }

private:
    static constexpr size_t kParallelMin = 256 * 1024;

    // Hands the line held in carry_ to the line converter, all but a CR at its end (it
    // stays out of the line if a line feed follows), so that memory stays flat however
    // long the line is.
    void feedLongLine(const Input& input) {
        const size_t keep = carry_.back() == '\r' ? 1 : 0;
        if (!lines_.feed(std::string_view(carry_).substr(0, carry_.size() - keep), pending_)) {
            ++lineNumber_;
            throw notUtf8(input);
        }
        carry_.erase(0, carry_.size() - keep);
        longLine_ = true;
    }

    // Ends the line begun by feedLongLine() with the rest in carry_ (and its LF when `lf`).
    void finishLongLine(const Input& input, bool lf) {
        std::string_view rest = carry_;
        std::string_view lineEnd;
        if (lf) {
            rest.remove_suffix(1);
            lineEnd = "\n";
            if (!rest.empty() && rest.back() == '\r') {
                rest.remove_suffix(1);
                lineEnd = "\r\n";
            }
        }
        ++lineNumber_;
        if (!lines_.feed(rest, pending_) || !lines_.finish(lineEnd, pending_))
            throw notUtf8(input);
        longLine_ = false;
    }

    void convertRegion(const Input& input, std::string_view region) {
        size_t split = region.size();
        if (parallel_ && region.size() >= kParallelMin)
            split = region.find('\n', region.size() / 2) + 1;
        if (split >= region.size()) {
            bool invalid = false;
            lineNumber_ += lines_.convertLines(region, pending_, invalid);
            if (invalid) {
                ++lineNumber_;
                throw notUtf8(input);
            }
            return;
        }
        if (!second_)
            second_ = std::make_unique<LineConverter>(table_, side_, utf8_);
        std::string_view firstHalf = region.substr(0, split);
        std::string_view secondHalf = region.substr(split);
        int64_t secondLines = 0;
        bool secondInvalid = false;
        std::exception_ptr secondError;
        std::thread worker([&] {
            try {
                secondLines = second_->convertLines(secondHalf, secondPending_, secondInvalid);
            } catch (...) {
                secondError = std::current_exception();
            }
        });
        bool firstInvalid = false;
        int64_t firstLines = 0;
        std::exception_ptr firstError;
        try {
            firstLines = lines_.convertLines(firstHalf, pending_, firstInvalid);
        } catch (...) {
            firstError = std::current_exception();
        }
        worker.join();
        if (firstError)
            std::rethrow_exception(firstError);
        if (secondError)
            std::rethrow_exception(secondError);
        lineNumber_ += firstLines;
        if (firstInvalid) {
            ++lineNumber_;
            throw notUtf8(input);
        }
        lineNumber_ += secondLines;
        if (secondInvalid) {
            ++lineNumber_;
            throw notUtf8(input);
        }
        // Written in order straight away rather than copied behind the first half.
        output_.write(pending_);
        pending_.clear();
        output_.write(secondPending_);
        secondPending_.clear();
    }

    Failure notUtf8(const Input& input) const {
        return Failure(std::string("ファイル ") + input.name() + " の " +
                       std::to_string(lineNumber_) + " 行目は UTF-8 ではありません");
    }

    const DictionaryTable& table_;
    int side_;
    bool utf8_;
    bool parallel_;
    Output& output_;
    Progress& progress_;
    LineConverter lines_;
    std::unique_ptr<LineConverter> second_;
    std::string block_;
    std::string carry_;
    bool longLine_ = false; // part of the current line has gone to lines_.feed()
    std::string pending_;
    std::string secondPending_;
    int64_t done_ = 0;
    int64_t lineNumber_ = 0;
};

int convert(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
            const ConvertEnv& env) {
    auto table = std::make_unique<DictionaryTable>();
    std::string dictionaryUsed;
    LoadResult loaded = loadDictionaryArgument(*table, options.dictionary, env, dictionaryUsed);
    if (loaded.entriesDropped > 0) {
        err << kProgram << ": 警告: 辞書の項目が " << DictionaryTable::kCapacity
            << " を超えたため、" << loaded.entriesDropped
            << " 項目を読み込みませんでした: " << dictionaryUsed << '\n';
    }
    if (loaded.linesNotTaken > 0) {
        err << kProgram << ": 警告: " << dictionaryUsed << " の " << loaded.firstLineNotTaken
            << " 行目など " << loaded.linesNotTaken
            << " 行は、UTF-8 として正しくないか CP932 にない文字を含むため読み飛ばしました"
               " (--check で一覧できます)\n";
    }
    if (loaded.sizeLimitReached) {
        err << kProgram << ": 警告: 辞書が " << (kMaxDictionaryBytes >> 20)
            << " MB を超えたため、その先を読み込みませんでした: " << dictionaryUsed << '\n';
    }

    std::vector<std::string> paths = options.files;
    if (paths.empty())
        paths.push_back("-");
    // Every input is opened before anything is written, so a missing file fails the run
    // up front; the descriptors are held only one at a time while converting.
    int64_t total = 0;
    for (const std::string& path : paths) {
        Input probe(path, in);
        total = probe.size() < 0 || total < 0 ? -1 : total + probe.size();
    }

    std::unique_ptr<Output> output = options.haveOutput && options.output != "-"
                                         ? std::make_unique<Output>(options.output)
                                         : std::make_unique<Output>(out);
    Progress progress(err, env.stderrIsTerminal, total, env.progressThreshold);
    Converter converter(*table, options.reverse ? 1 : 0, options.utf8, env.parallel, env.blockBytes,
                        *output, progress);
    try {
        for (const std::string& path : paths) {
            Input input(path, in);
            converter.run(input);
        }
        converter.finish();
        output->commit();
    } catch (...) {
        progress.finish();
        output->discard();
        throw;
    }
    progress.finish();
    return 0;
}

int check(const Options& options, std::ostream& out, const ConvertEnv& env) {
    const std::string path = resolveDictionary(options.dictionary, env);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw fileFailure("辞書ファイルが開けません: %s", path, errno);
    std::string bytes;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw fileFailure("辞書ファイルの読み込みに失敗しました: %s", path, error);
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    const CheckReport report = checkDictionary(bytes, options.reverse ? 1 : 0);
    const int status = printCheckReport(report, path, out);
    out.flush();
    return status;
}

} // namespace

ConvertEnv processConvertEnv() {
    ConvertEnv env;
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const std::vector<std::string> bases =
            dictionaryBases(locateDataFolders(self.string(), UserDirectories::fromProcess()));
        env.programDir = bases[0];
        if (bases.size() > 1)
            env.samplesDir = bases[1];
    }
    env.stderrIsTerminal = ::isatty(STDERR_FILENO) == 1;
    env.parallel = std::thread::hardware_concurrency() > 1;
    return env;
}

int runConvert(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err, const ConvertEnv& env) {
    Options options;
    std::string usageError = parseOptions(args, options);
    if (options.help) {
        out << kUsage;
        out.flush();
        return 0;
    }
    if (options.version) {
        out << kProgram << ' ' << SORVANTI_VERSION << '\n';
        out.flush();
        return 0;
    }
    if (!usageError.empty()) {
        err << kProgram << ": " << usageError << " (使い方は --help)\n";
        return 2;
    }
    try {
        if (options.check)
            return check(options, out, env);
        return convert(options, in, out, err, env);
    } catch (const Failure& failure) {
        err << kProgram << ": " << failure.what() << '\n';
        return 1;
    } catch (const std::exception& e) {
        err << kProgram << ": " << e.what() << '\n';
        return 1;
    }
}

} // namespace sorvanti
