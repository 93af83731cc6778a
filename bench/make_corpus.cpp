// Writes the benchmark corpus (bench/Corpus.h) into a folder.
//
// Usage: make_corpus OUTDIR   -> OUTDIR/bench_dict.txt (CRLF), OUTDIR/bench_text.txt (LF)

#include "bench/Corpus.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

bool writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    const sorvanti::benchcorpus::Corpus corpus = sorvanti::benchcorpus::make();
    if (!writeFile(out / "bench_dict.txt", corpus.dictionary) ||
        !writeFile(out / "bench_text.txt", corpus.text))
        return 1;
    return 0;
}
