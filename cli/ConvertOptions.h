#pragma once

// sorvanti-convert's command line: its options and the usage text.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanti::cli {

constexpr std::string_view kProgram = "sorvanti-convert";

// What --help prints.
extern const std::string_view kUsage;

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
    // --words (true) / --no-words (false): word mode for this run whatever the dictionary
    // declares; the last of them counts. Unset: as the dictionary declares.
    std::optional<bool> words;
};

// Returns an empty string when the arguments are well formed, else the usage error.
// Options may come before, between or after the files; "--" ends them.
std::string parseOptions(const std::vector<std::string>& args, Options& options);

} // namespace sorvanti::cli
