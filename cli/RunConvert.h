#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace sorvanti {

// What sorvanti-convert takes from its surroundings besides arguments and streams.
struct ConvertEnv {
    // The folder whose "辞書/" holds the dictionary that -d names: the program's folder, or
    // the user's data folder for an installed program (see locateDataFolders).
    std::string programDir;
    // Installed: the folder of the shipped "辞書/", looked in when programDir lacks the
    // name (before the window's first start has copied the samples). Empty: none.
    std::string samplesDir;
    // Whether standard error is a terminal: only then is progress shown.
    bool stderrIsTerminal = false;
    // Input size from which progress is shown.
    int64_t progressThreshold = int64_t{16} << 20;
    // Whether large blocks are converted on two threads (the machine has more than one
    // core); the result is the same either way.
    bool parallel = false;
    // Bytes read at a time. A longer line is converted in parts as it is read, so memory
    // stays within a few blocks whatever the line length.
    size_t blockBytes = size_t{1} << 20;
};

// The environment of the running program: its folders from /proc/self/exe and the user's
// folders, as the window finds them, and isatty(2).
ConvertEnv processConvertEnv();

// sorvanti-convert -d DICT [-r] [-e ENCODING] [-o OUT] [FILE...]
// sorvanti-convert --check DICT [-r]: the findings of checkDictionary() on `out`; exit
// status 0 when no pair is dead or lost, 1 when one is.
// `args` are the arguments after the program name. Reads the FILEs one after the other
// (or `in` when there are none, or for "-"), writes to `out` or to OUT, messages to `err`.
// Returns the exit status: 0 success, 1 failure (one line on `err` naming the file and
// the reason; OUT untouched), 2 usage error.
//
// Lines are split at LF; a CR right before the LF stays out of the line and is written
// back after it; a last line without LF gets none, and a line never spans two files.
// With -e utf-8 each line goes through code page 932: characters without a code page
// 932 form pass unchanged, and input that is not valid UTF-8 is an error naming the
// file and the line.
int runConvert(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err, const ConvertEnv& env);

} // namespace sorvanti
