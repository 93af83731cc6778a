#pragma once

// The fixture of sorvanti-convert's tests: a temporary program folder, runConvert() on strings.
#include "cli/RunConvert.h"
#include "support/Bytes.h"
#include "toolkit/Cp932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace sorvanti::test {

namespace fs = std::filesystem;

// Dictionary lines in code page 932 (written as bytes).
inline const std::string kInu = "\x8C\xA2";                   // 犬
inline const std::string kNeko = "\x94\x4C";                  // 猫
inline const std::string kWanko = "\x83\x8F\x83\x93\x83\x52"; // ワンコ
inline const std::string kEmojiUtf8 = "\xF0\x9F\x98\x80";     // 😀

class RunConvertTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/sorvanti-cli-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        env.programDir = dir + "/prog/";
        fs::create_directories(env.programDir + "辞書");
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return dir + "/" + name; }

    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(path(name), std::ios::binary) << content;
        return path(name);
    }

    static std::string read(const std::string& file) { return test::readBytes(file); }

    int run(std::vector<std::string> args, const std::string& input = {}) {
        std::istringstream in(input);
        std::ostringstream out;
        std::ostringstream err;
        int status = runConvert(args, in, out, err, env);
        output = out.str();
        error = err.str();
        return status;
    }

    // Runs with a dictionary of the given lines on `input`, expects success, returns stdout.
    std::string convert(const std::string& dictionary, const std::string& input,
                        std::vector<std::string> options = {}) {
        std::vector<std::string> args = {"-d", write("dict.txt", dictionary)};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(run(args, input), 0) << error;
        return output;
    }

    // The number of lines a message takes.
    static int lines(const std::string& text) {
        return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }

    std::string dir;
    ConvertEnv env;
    std::string output;
    std::string error;
};

// The process's peak memory so far, in kB.
inline long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// UTF-8 text as code page 932 bytes.
inline std::string sjis(const std::string& utf8) {
    return cp932::encode(cp932::fromUtf8(utf8));
}

} // namespace sorvanti::test
