// sorvanti-convert's line handling: any input read in blocks of any size gives what it gives
// read in one go, in both encodings, and each line is what the plain table scan makes of it.
//
// Input: dictionary lines up to a blank line, then the text; the text's first byte chooses
// the small block size.
#include "fuzz/FuzzSupport.h"
#include "support/PlainScan.h"

#include "cli/RunConvert.h"
#include "conversion/DictionaryLoader.h"
#include "conversion/DictionaryTable.h"

#include <unistd.h>

#include <fstream>
#include <memory>
#include <sstream>

using namespace sorvanti;

namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result run(const std::vector<std::string>& args, std::string_view input, size_t block) {
    std::istringstream in{std::string(input)};
    std::ostringstream out;
    std::ostringstream err;
    ConvertEnv env;
    env.blockBytes = block;
    env.parallel = block % 2 == 0;
    const int status = runConvert(args, in, out, err, env);
    return {status, out.str(), err.str()};
}

// The plain scan's output for code page 932 text, line by line, line ends kept.
std::string expected(const DictionaryTable& table, std::string_view text, int side) {
    std::string out;
    while (!text.empty()) {
        const size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        std::string_view end;
        if (lf != std::string_view::npos) {
            end = "\n";
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
                end = "\r\n";
            }
        }
        test::plainConvertLine(table, line, side, out);
        out.append(end);
        if (lf == std::string_view::npos)
            break;
        text.remove_prefix(lf + 1);
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto [dictionary, text] = fuzz::cut(fuzz::view(data, size), "\n\n");
    static const std::string path =
        "/tmp/sorvanti-fuzz-dictionary-" + std::to_string(getpid()) + ".txt";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(dictionary.data(), std::streamsize(dictionary.size()));
    }
    auto table = std::make_unique<DictionaryTable>();
    loadDictionaryFile(*table, path);
    const size_t small = text.empty() ? 1 : 1 + static_cast<unsigned char>(text[0]) % 97;

    for (int side = 0; side < 2; ++side) {
        for (bool utf8 : {false, true}) {
            std::vector<std::string> args = {"-d", path};
            if (side == 1)
                args.push_back("-r");
            if (utf8)
                args.insert(args.end(), {"-e", "utf-8"});
            const Result whole = run(args, text, size_t{1} << 20);
            const Result parts = run(args, text, small);
            FUZZ_CHECK(parts.status == whole.status);
            FUZZ_CHECK(parts.err == whole.err);
            // A failed run leaves on standard output whatever it had written: how much
            // depends on the blocks.
            if (whole.status == 0)
                FUZZ_CHECK(parts.out == whole.out);
            if (!utf8) {
                FUZZ_CHECK(whole.status == 0);
                FUZZ_CHECK(whole.out == expected(*table, text, side));
            }
        }
    }
    return 0;
}
