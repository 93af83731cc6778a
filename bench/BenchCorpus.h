#pragma once

// The benchmark corpus that make_corpus writes (a 2000-pair dictionary and more than 10 MB
// of Japanese text in code page 932), shared by the benchmark programs.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanti::bench {

inline std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// $SORVANTI_BENCH_CORPUS, or "corpus" beside the running program, written there on first use
// by the make_corpus found beside it.
inline std::filesystem::path corpusFolder() {
    namespace fs = std::filesystem;
    if (const char* dir = std::getenv("SORVANTI_BENCH_CORPUS"))
        return dir;
    const fs::path self = fs::read_symlink("/proc/self/exe").parent_path();
    const fs::path dir = self / "corpus";
    if (!fs::exists(dir / "bench_text.txt") || !fs::exists(dir / "bench_dict.txt")) {
        const std::string command = (self / "make_corpus").string() + " '" + dir.string() + "'";
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("make_corpus failed: " + command);
    }
    return dir;
}

// The lines of `text` without their line feeds.
inline std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace sorvanti::bench
