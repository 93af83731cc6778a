#pragma once

// sorvanti-convert's files: the dictionary named on the command line, the inputs, the output
// and the progress line, and the failures they report.

#include "cli/RunConvert.h"
#include "conversion/DictionaryLoader.h"
#include "conversion/DictionaryTable.h"
#include "toolkit/FileReplacement.h"

#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>

namespace sorvanti::cli {

constexpr const char* kStdinName = "標準入力";
constexpr const char* kStdoutName = "標準出力";

// A failure that ends the run with status 1; the message is the whole line without the
// program name.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// "<pattern with the path for %s>: <the system's reason in Japanese>", e.g.
// "ファイル a.txt は開けません: そのようなファイルやフォルダーはありません".
Failure fileFailure(std::string_view pattern, std::string_view path, int error);

// -d names a file when one has that path, otherwise a dictionary of the program's "辞書/"
// (or of the shipped samples). Returns the path it settled on, a file that can be read.
std::string resolveDictionary(const std::string& dictionary, const ConvertEnv& env);

// Loads the dictionary that -d names into `table`; `pathUsed` receives its path.
LoadResult loadDictionaryArgument(DictionaryTable& table, const std::string& dictionary,
                                  const ConvertEnv& env, std::string& pathUsed);

// The first kMaxDictionaryBytes + 1 bytes of the file at `path` (what the load reads and
// one byte more, which tells that the file goes on), however long the file is.
std::string readDictionaryBytes(const std::string& path);

// One input: a named file (read with read(2)) or the standard input stream.
class Input {
public:
    Input(std::string path, std::istream& stdinStream);
    ~Input();
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    const char* name() const { return stream_ ? kStdinName : path_.c_str(); }
    int64_t size() const { return size_; } // -1 when unknown (not a regular file)

    // Fills `buffer` with up to `capacity` bytes; 0 at the end of the input.
    size_t read(char* buffer, size_t capacity);

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
    explicit Output(const std::string& path);
    ~Output() { discard(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void write(std::string_view bytes);
    void commit();
    void discard();

private:
    std::ostream* stream_ = nullptr;
    FileReplacement file_;
};

// "\rsorvanti-convert: 45% (12 / 27 MB)" on a terminal, once the input is large.
class Progress {
public:
    Progress(std::ostream& err, bool enabled, int64_t total, int64_t threshold)
        : err_(err), enabled_(enabled), total_(total), threshold_(threshold) {}

    void update(int64_t done);
    // Clears the progress line so that what follows starts on a clean line.
    void finish();
    // "sorvanti-convert: 警告: <message>" on a line of its own (the progress line, if shown,
    // is cleared first and comes back with the next update).
    void warn(std::string_view message);

private:
    std::ostream& err_;
    bool enabled_;
    int64_t total_;
    int64_t threshold_;
    bool shown_ = false;
    int64_t lastMb_ = -1;
    int lastPercent_ = -1;
};

} // namespace sorvanti::cli
