#include "cli/RunConvert.h"
#include "conversion/DictionaryLoader.h"
#include "support/Bytes.h"
#include "support/PlainScan.h"
#include "toolkit/Cp932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace sorvanti;
namespace fs = std::filesystem;

namespace {

// Dictionary lines in code page 932 (written as bytes).
const std::string kInu = "\x8C\xA2";                   // 犬
const std::string kNeko = "\x94\x4C";                  // 猫
const std::string kWanko = "\x83\x8F\x83\x93\x83\x52"; // ワンコ
const std::string kEmojiUtf8 = "\xF0\x9F\x98\x80";     // 😀

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

} // namespace

TEST_F(RunConvertTest, LineEndsAreKept) {
    const std::string dict = "a\tX\n";
    EXPECT_EQ(convert(dict, "a\nba\n"), "X\nbX\n");
    EXPECT_EQ(convert(dict, "a\r\nba\r\n"), "X\r\nbX\r\n");
    EXPECT_EQ(convert(dict, "a"), "X");           // no final LF: none added
    EXPECT_EQ(convert(dict, "a\r\na"), "X\r\nX"); // mixed
    EXPECT_EQ(convert(dict, ""), "");
    EXPECT_EQ(convert(dict, "\n\r\n\n"), "\n\r\n\n");
}

TEST_F(RunConvertTest, OnlyACarriageReturnBeforeALineFeedStaysOutOfTheLine) {
    // The standard word is a lone CR, so the engine shows whether it saw one.
    const std::string dict = "\r\tCR\n";
    EXPECT_EQ(convert(dict, "a\r\n"), "a\r\n");
    EXPECT_EQ(convert(dict, "a\rb\n"), "aCRb\n");   // inside a line
    EXPECT_EQ(convert(dict, "a\r\r\n"), "aCR\r\n"); // only the last one is the line end's
    EXPECT_EQ(convert(dict, "a\r"), "aCR");         // no LF: the CR belongs to the line
}

TEST_F(RunConvertTest, EmptyDictionaryReproducesEveryByte) {
    std::string input;
    for (int round = 0; round < 3; ++round) {
        for (int b = 0; b < 256; ++b) {
            input += static_cast<char>(round == 1 ? 255 - b : b);
            if (round == 2 && b % 7 == 0)
                input += "\r\n";
        }
    }
    input += "\x82"; // a lone lead byte at the very end
    EXPECT_EQ(convert("", input), input);
    EXPECT_EQ(convert("# only a comment\n", input, {"-r"}), input);
}

TEST_F(RunConvertTest, ConvertsBothDirections) {
    const std::string dict = kInu + "\t" + kWanko + "\n" + "ab\tcd\n";
    EXPECT_EQ(convert(dict, kInu + kNeko + "ab\n"), kWanko + kNeko + "cd\n");
    EXPECT_EQ(convert(dict, kWanko + kNeko + "cd\n", {"-r"}), kInu + kNeko + "ab\n");
}

TEST_F(RunConvertTest, Utf8ModeConvertsAndPassesOtherCharacters) {
    const std::string dict = kInu + "\t" + kWanko + "\n" + "\x81\x60\t~\n"; // ～ -> ~
    EXPECT_EQ(convert(dict, "犬" + kEmojiUtf8 + "犬\r\n1～2", {"-e", "utf-8"}),
              "ワンコ" + kEmojiUtf8 + "ワンコ\r\n1~2");
    EXPECT_EQ(convert(dict, "ワンコé¥\n", {"-r", "-e", "UTF8"}), "犬é¥\n");
    // Characters without a code page 932 form, private-use escapes among them, stay as
    // they are even with an empty dictionary.
    const std::string text = "a\uF741b\u00A5\u301C" + kEmojiUtf8 + "\xEF\xBB\xBF\n";
    EXPECT_EQ(convert("", text, {"-e", "utf-8"}), text);
}

TEST_F(RunConvertTest, InvalidUtf8IsAnErrorNamingFileAndLine) {
    std::string input = write("in.txt", "ok\nstill ok\nbad \xFF byte\n");
    EXPECT_EQ(run({"-d", write("dict.txt", ""), "-e", "utf-8", input}), 1);
    EXPECT_NE(error.find(input), std::string::npos) << error;
    EXPECT_NE(error.find(" 3 行目"), std::string::npos) << error;
    EXPECT_EQ(lines(error), 1);
    // The same bytes are fine as code page 932 text.
    EXPECT_EQ(run({"-d", path("dict.txt"), input}), 0);
}

TEST_F(RunConvertTest, InvalidUtf8LineIsCountedAcrossBlocksAndThreads) {
    std::string input;
    // The bad line lies in the second half of the second block.
    for (int i = 1; i <= 200000; ++i)
        input += i == 160001 ? "bad \xC3 line\n" : "line " + std::to_string(i) + "\n";
    std::string file = write("many.txt", input);
    for (bool parallel : {false, true}) {
        env.parallel = parallel;
        EXPECT_EQ(run({"-d", write("dict.txt", ""), "-e", "utf-8", file}), 1);
        EXPECT_NE(error.find(" 160001 行目"), std::string::npos) << error;
    }
}

TEST_F(RunConvertTest, FilesAreReadInTurnAndLinesDoNotSpanThem) {
    const std::string dict = "ab\tX\n";
    std::string first = write("1.txt", "ab\na");
    std::string second = write("2.txt", "b\n");
    EXPECT_EQ(run({"-d", write("dict.txt", dict), first, second}), 0) << error;
    EXPECT_EQ(output, "X\nab\n");
    EXPECT_EQ(run({"-d", path("dict.txt"), first, "-", second}, "ab\r\n"), 0) << error;
    EXPECT_EQ(output, "X\naX\r\nb\n");
    EXPECT_EQ(run({"-d", path("dict.txt"), "--", first}), 0) << error;
    EXPECT_EQ(output, "X\na");
}

TEST_F(RunConvertTest, LargeInputAcrossBlocks) {
    // Lines that straddle the read blocks, one longer than a block, no final LF.
    std::string input;
    while (input.size() < (size_t{5} << 20)) {
        input += std::string(input.size() % 9973, 'b') + "ab\r\n";
        if (input.size() > (size_t{2} << 20) && input.size() < (size_t{3} << 20))
            input += std::string(size_t{3} << 20, 'b') + "a\n";
    }
    input += "ba";
    std::string expected = input;
    for (char& c : expected) {
        if (c == 'a')
            c = 'X';
    }
    std::string file = write("big.txt", input);
    write("dict.txt", "a\tX\n");
    for (bool parallel : {false, true}) {
        env.parallel = parallel;
        for (const char* encoding : {"cp932", "utf-8"}) {
            EXPECT_EQ(run({"-d", path("dict.txt"), "-e", encoding, file}), 0) << error;
            EXPECT_TRUE(output == expected) << encoding << parallel;
            EXPECT_EQ(error, "");
        }
        // Standard input goes the same way.
        EXPECT_EQ(run({"-d", path("dict.txt")}, input), 0) << error;
        EXPECT_TRUE(output == expected) << parallel;
    }

    env.stderrIsTerminal = true;
    env.progressThreshold = 1 << 20;
    EXPECT_EQ(run({"-d", path("dict.txt"), file}), 0) << error;
    EXPECT_NE(error.find("%"), std::string::npos);
    EXPECT_EQ(error.rfind("\r\x1b[K"), error.size() - 4); // the progress line is cleared
    env.progressThreshold = int64_t{1} << 30;
    EXPECT_EQ(run({"-d", path("dict.txt"), file}), 0) << error;
    EXPECT_EQ(error, "");
}

TEST_F(RunConvertTest, OutputFileIsWrittenOnlyOnSuccess) {
    std::string dict = write("dict.txt", "a\tX\n");
    std::string out = write("out.txt", "old content\n");
    std::string input = write("in.txt", "a\n");

    EXPECT_EQ(run({"-d", dict, "-o", out, input, path("missing.txt")}), 1);
    EXPECT_EQ(read(out), "old content\n");
    EXPECT_EQ(run({"-d", path("nodict.txt"), "-o", out, input}), 1);
    EXPECT_EQ(read(out), "old content\n");
    write("bad.txt", "a\n\xC3\n");
    EXPECT_EQ(run({"-d", dict, "-e", "utf-8", "-o", out, path("bad.txt")}), 1);
    EXPECT_EQ(read(out), "old content\n");

    EXPECT_EQ(run({"-d", dict, "-o", out, input}), 0) << error;
    EXPECT_EQ(read(out), "X\n");
    EXPECT_EQ(output, "");
    // Converting a file onto itself works, as the result goes to a new file first.
    EXPECT_EQ(run({"-d", dict, "-o", input, input}), 0) << error;
    EXPECT_EQ(read(input), "X\n");
    std::string newFile = path("new.txt");
    EXPECT_EQ(run({"-d", dict, "-o", newFile}, "aa"), 0) << error;
    EXPECT_EQ(read(newFile), "XX");

    EXPECT_EQ(run({"-d", dict, "-o", "-"}, "a"), 0) << error;
    EXPECT_EQ(output, "X");
    if (geteuid() != 0) { // root may write anywhere
        fs::permissions(out, fs::perms::owner_read);
        EXPECT_EQ(run({"-d", dict, "-o", out, input}), 1);
        EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
        EXPECT_EQ(read(out), "X\n");
    }

    // No temporary file is left behind, after failures or successes.
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
}

TEST_F(RunConvertTest, FailuresGiveOneLineAndStatusOne) {
    std::string dict = write("dict.txt", "a\tX\n");
    struct Case {
        std::vector<std::string> args;
        std::string named;  // the file the message must name
        std::string reason; // and the system's reason, where there is one
    } cases[] = {
        {{"-d", path("nodict"), "-"}, "nodict", ""},
        {{"-d", dir, "-"}, dir, "フォルダーです"},
        {{"-d", dict, path("missing.txt")},
         path("missing.txt"),
         "そのようなファイルやフォルダーはありません"},
        {{"-d", dict, dir}, dir, "フォルダーです"},
        {{"-d", dict, "-o", path("no/such/folder/out.txt"), "-"},
         "no/such/folder/out.txt",
         "そのようなファイルやフォルダーはありません"},
        {{"-d", dict, "-o", "/nonexistent/x", "-"}, "/nonexistent/x", "ありません"},
        {{"-d", dict, "-o", dir, "-"}, dir, "フォルダーです"},
        {{"-d", dict, "-o", dict + "/x", "-"}, dict + "/x", "フォルダーではありません"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.args, "a\n"), 1) << c.args[1];
        EXPECT_EQ(output, "") << c.args[1];
        EXPECT_EQ(lines(error), 1) << error;
        EXPECT_EQ(error.rfind("sorvanti-convert: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.named), std::string::npos) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST_F(RunConvertTest, UsageErrorsGiveStatusTwo) {
    std::string dict = write("dict.txt", "");
    std::vector<std::vector<std::string>> cases = {
        {},
        {"-r", "in.txt"},
        {"-d"},
        {"-d", dict, "-x"},
        {"-d", dict, "--frobnicate"},
        {"-d", dict, "-e", "latin1"},
        {"-d", dict, "-o"},
        {"-d", ""},
    };
    for (const auto& args : cases) {
        EXPECT_EQ(run(args, "a\n"), 2);
        EXPECT_EQ(output, "");
        EXPECT_EQ(lines(error), 1) << error;
    }
    // Grouped and attached short options are accepted.
    EXPECT_EQ(run({"-rd" + dict, "-eutf-8"}, "x\n"), 0) << error;
    EXPECT_EQ(output, "x\n");
}

TEST_F(RunConvertTest, HelpAndVersion) {
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(output.find("-d"), std::string::npos);
    EXPECT_NE(output.find("-e"), std::string::npos);
    EXPECT_EQ(error, "");
    EXPECT_EQ(run({"-d", "x", "--version"}), 0);
    EXPECT_EQ(output, std::string("sorvanti-convert ") + SORVANTI_VERSION + "\n");
}

TEST_F(RunConvertTest, DictionaryNameIsLookedUpBesideTheProgram) {
    std::ofstream(env.programDir + "辞書/犬語.txt", std::ios::binary)
        << kInu + "\t" + kWanko + "\n";
    EXPECT_EQ(run({"-d", "犬語"}, kInu + "\n"), 0) << error;
    EXPECT_EQ(output, kWanko + "\n");
    // A file at the path given wins over the name.
    fs::path cwd = fs::current_path();
    fs::current_path(dir);
    write("犬語", kInu + "\tX\n");
    EXPECT_EQ(run({"-d", "犬語"}, kInu + "\n"), 0) << error;
    EXPECT_EQ(output, "X\n");
    fs::current_path(cwd);
    // Neither a file nor a name: the message names both places tried.
    EXPECT_EQ(run({"-d", "猫語"}, ""), 1);
    EXPECT_NE(error.find(env.programDir + "辞書/猫語.txt"), std::string::npos) << error;
}

TEST_F(RunConvertTest, InstalledNamesFallBackToTheShippedSamples) {
    env.samplesDir = dir + "/share/";
    fs::create_directories(env.samplesDir + "辞書");
    auto put = [](const std::string& base, const std::string& name, const std::string& to) {
        std::ofstream(base + "辞書/" + name + ".txt", std::ios::binary) << kInu + "\t" + to + "\n";
    };
    put(env.programDir, "both", "mine");
    put(env.samplesDir, "both", "shipped");
    put(env.samplesDir, "shipped", "shipped");
    put(env.programDir, "mine", "mine");
    struct Case {
        const char* name;
        const char* converted;
    };
    // The user's copy wins; a sample serves only a name the user's folder lacks.
    for (const Case& c : {Case{"both", "mine"}, Case{"shipped", "shipped"}, Case{"mine", "mine"}}) {
        EXPECT_EQ(run({"-d", c.name}, kInu + "\n"), 0) << c.name << ": " << error;
        EXPECT_EQ(output, std::string(c.converted) + "\n") << c.name;
    }
    // Found nowhere: the message names the user's place, where a new one belongs.
    EXPECT_EQ(run({"-d", "none"}, ""), 1);
    EXPECT_NE(error.find(env.programDir + "辞書/none.txt"), std::string::npos) << error;
}

TEST_F(RunConvertTest, DictionaryCutAtCapacityWarnsAndConverts) {
    std::string dict;
    for (int i = 0; i < 2005; ++i) {
        dict.append("[").append(std::to_string(i)).append("]\t<");
        dict.append(std::to_string(i)).append(">\n");
    }
    EXPECT_EQ(convert(dict, "[0][1999][2000]\n"), "<0><1999>[2000]\n");
    EXPECT_EQ(lines(error), 1);
    EXPECT_NE(error.find("5 項目"), std::string::npos) << error;
    EXPECT_NE(error.find("dict.txt"), std::string::npos) << error;
}

// 鉙 has two codes: 0xEEAC (NEC-selected IBM extension) and 0xFBC8 (IBM extension).
TEST_F(RunConvertTest, DuplicateCodesMatchInBothModesAndUnreplacedBytesStay) {
    const std::string nec = "\xEE\xAC";
    const std::string ibm = "\xFB\xC8";
    const std::string dict = kInu + nec + "\t" + kNeko + "\n";
    // Code page 932 input in either code converts; duplicates no word covers stay as read.
    EXPECT_EQ(convert(dict, kInu + ibm + "|" + kInu + nec + "|" + nec + ibm + "\r\n"),
              kNeko + "|" + kNeko + "|" + nec + ibm + "\r\n");
    EXPECT_EQ(convert(kInu + ibm + "\t" + kNeko + "\n", kInu + nec + "\n"), kNeko + "\n");
    // Back again: the stored word is written with the bytes the dictionary holds.
    EXPECT_EQ(convert(dict, kNeko + "\n", {"-r"}), kInu + nec + "\n");
    // UTF-8 input reaches the engine in the encoder's code; the dictionary holds the other.
    EXPECT_EQ(convert(dict, "犬鉙と犬\n", {"-e", "utf-8"}), "猫と犬\n");
    EXPECT_EQ(convert(dict, "猫\n", {"-r", "-e", "utf-8"}), "犬鉙\n");
}

TEST_F(RunConvertTest, Utf8DictionaryWorksLikeItsCodePage932Twin) {
    const std::string cp932 = kInu + "\t" + kWanko + "\r\n" + kNeko + "\x81\x40\tx\r\n";
    const std::string utf8 = "\xEF\xBB\xBF犬\tワンコ\n猫　\tx\n";
    const std::string input = kInu + kNeko + "\x81\x40" + kNeko + "\n";
    const std::string expected = convert(cp932, input);
    EXPECT_EQ(expected, kWanko + "x" + kNeko + "\n");
    EXPECT_EQ(convert(utf8, input), expected);
    EXPECT_EQ(convert(utf8, "猫　犬\n", {"-e", "utf-8"}), "xワンコ\n");
    // A line with a character code page 932 lacks is skipped, with one warning.
    EXPECT_EQ(convert("犬\tワンコ\n" + kEmojiUtf8 + "\tx\n", "犬\n", {"-e", "utf-8"}), "ワンコ\n");
    EXPECT_EQ(lines(error), 1);
    EXPECT_NE(error.find("2 行目"), std::string::npos) << error;
}

// One crafted dictionary with each kind of finding once.
TEST_F(RunConvertTest, CheckReportsEachKindOfFinding) {
    std::string dict;
    dict += "# comment\n";                                // 1
    dict += "ab\tX\n";                                    // 2
    dict += "abc\tY\n";                                   // 3: hidden by 2
    dict += "lonely\n";                                   // 4: one word
    dict += "ab\tX\n";                                    // 5: duplicate of 2
    dict += "\t \n";                                      // 6: blanks only
    dict += std::string(45, 'w') + "\tZ\n";               // 7: cut at 40 bytes
    dict += "k\tK\t" + std::string(251, 'v') + "#rest\n"; // 8: over-long line
    dict += "\x82\tbad\n";                                // 9: not code page 932
    dict += "\x87\x90\tE\n";                              // 10
    dict += "\x81\xE0"
            "1\tF\n";                 // 11: ≒ in its other code
    dict += "east kyo\t\tto kyo  \n"; // 12: read as east → kyo
    // Nine entries so far; fillers of one length are no prefixes of each other.
    for (int i = 0; i < 1991; ++i)
        dict += std::to_string(10000 + i) + "\tv\n";
    dict += "last\tone\n"; // line 2004: past the 2000th entry
    const std::string file = write("check.txt", dict);
    ASSERT_EQ(run({"--check", file}), 1) << error;
    const struct {
        int line;
        const char* text;
    } expected[] = {
        {3, "2 行目の標準語「ab」が「abc」の先頭に一致する"},
        {4, "単語が一つしかない"},
        {5, "2 行目と同じ"},
        {6, "空白だけの行"},
        {7, "「"
            "wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww"
            "」に切り詰め"},
        {8, "255 バイト以上"},
        {9, "CP932 として正しくない"},
        {11, "10 行目の標準語「≒」が「≒1」の先頭に一致する"},
        {12, "「east」→「kyo」として読みます。「to kyo」は読みません"},
        {2004, "2000 を超えた"},
    };
    for (const auto& e : expected) {
        const std::string prefix = file + ":" + std::to_string(e.line) + ": ";
        const size_t at = output.find(prefix);
        ASSERT_NE(at, std::string::npos) << prefix << "\n" << output;
        EXPECT_NE(output.substr(at, output.find('\n', at) - at).find(e.text), std::string::npos)
            << e.text << "\n"
            << output;
    }
    // The over-long line's first piece reads as k → K and leaves the rest, its second piece
    // is a comment; the lines not named are silent: one line per finding plus the summary.
    EXPECT_NE(output.find(file + ":8: 「k」→「K」として読みます。「vvv"), std::string::npos);
    EXPECT_EQ(lines(output), 11 + 1) << output;
    EXPECT_NE(output.find("指摘 11 件"), std::string::npos) << output;

    // -r looks at the converted words: "X" twice is now a duplicate, nothing is a prefix.
    ASSERT_EQ(run({"--check", write("r.txt", "a\tX\nb\tXY\nc\tZ\n"), "-r"}), 1);
    EXPECT_NE(output.find("r.txt:2: 1 行目の変換語「X」が「XY」の先頭に一致する"),
              std::string::npos)
        << output;
    EXPECT_EQ(run({"--check", write("r.txt", "a\tX\nb\tXY\nc\tZ\n")}), 0) << output;
    EXPECT_EQ(lines(output), 1);
}

TEST_F(RunConvertTest, CheckSeesTheTableTheLoaderBuilds) {
    // A UTF-8 dictionary with a skipped line; the names on the command line resolve
    // as with -d.
    write("prog/辞書/u.txt", "犬\tワンコ\n" + kEmojiUtf8 + "\tx\n" + "犬\tいぬ\n");
    ASSERT_EQ(run({"--check", "u"}), 1);
    EXPECT_NE(output.find("u.txt:2: CP932 にない文字"), std::string::npos) << output;
    EXPECT_NE(output.find("u.txt:3: 標準語「犬」は 1 行目にもあり"), std::string::npos) << output;
    EXPECT_NE(output.find("UTF-8、2 項目"), std::string::npos) << output;
    EXPECT_EQ(run({"--check"}), 2);
    EXPECT_EQ(run({"--check", "u", "extra.txt"}), 2);
    // A CR that ends the file ends its last line, as a CR before a LF does.
    EXPECT_EQ(run({"--check", write("cr.txt", "b\tdef\r\nb\tdef\r")}), 1);
    EXPECT_NE(output.find("cr.txt:2: 単語対が 1 行目と同じ"), std::string::npos) << output;
}

namespace {

// `size` bytes of `pattern` over and over, made as they are read.
class PatternBuffer : public std::streambuf {
public:
    PatternBuffer(std::string pattern, size_t size) : left_(size) {
        while (chunk_.size() < (64u << 10))
            chunk_ += pattern;
    }

protected:
    int_type underflow() override {
        if (left_ == 0)
            return traits_type::eof();
        const size_t n = std::min(left_, chunk_.size());
        left_ -= n;
        setg(chunk_.data(), chunk_.data(), chunk_.data() + n);
        return traits_type::to_int_type(chunk_[0]);
    }

private:
    std::string chunk_;
    size_t left_;
};

// Counts what is written and keeps only its end.
class TailBuffer : public std::streambuf {
public:
    size_t size = 0;
    std::string tail;

protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        size += size_t(n);
        tail.append(s, size_t(n));
        if (tail.size() > 64)
            tail.erase(0, tail.size() - 64);
        return n;
    }
    int_type overflow(int_type c) override {
        if (c != traits_type::eof()) {
            const char ch = traits_type::to_char_type(c);
            xsputn(&ch, 1);
        }
        return c;
    }
};

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

TEST_F(RunConvertTest, ALineWithoutLineFeedsKeepsMemoryFlat) {
    // 300 MB with no LF: held whole, the line took twice its size.
    const std::string dictionary = write("dict.txt", "ab\tX\n");
    for (bool utf8 : {false, true}) {
        PatternBuffer source(utf8 ? "abcあ" : "abc\x82\xa0", size_t{300} << 20);
        std::istream in(&source);
        TailBuffer sink;
        std::ostream out(&sink);
        std::ostringstream err;
        std::vector<std::string> args = {"-d", dictionary};
        if (utf8)
            args.insert(args.end(), {"-e", "utf-8"});
        const long before = peakKilobytes();
        EXPECT_EQ(runConvert(args, in, out, err, env), 0) << err.str();
        EXPECT_LT(peakKilobytes() - before, 64 * 1024) << "kB more at the peak";
        // "abcあ" is 5 bytes in code page 932, 6 in UTF-8; "ab" becomes "X".
        const size_t units = (size_t{300} << 20) / (utf8 ? 6 : 5);
        EXPECT_EQ(sink.size, units * (utf8 ? 5 : 4) + (size_t{300} << 20) % (utf8 ? 6 : 5));
    }
}

TEST_F(RunConvertTest, ALineConvertedInPartsGivesWhatTheWholeLineGives) {
    // Words up to the longest, double-byte characters whose bytes look like ASCII, a CR
    // before the LF, UTF-8 sequences cut by the blocks.
    const std::string longest(40, 'w');
    const std::string dictionary = "ab\tX\n" + longest + "\t<40>\n\x83\x41\t[a]\n" +
                                   "A\tz\n\x82\xa0\x82\xa2\t\x81\x99\nw\t\x82\n";
    std::string line;
    for (int i = 0; i < 300; ++i)
        line += "ab\x83\x41"
                "A" +
                longest.substr(0, size_t(i % 41)) + "\x82\xa0\x82\xa2";
    const std::string input = line + "\r\n" + line + "\n\n" + line + "\r" + line;
    std::string utf8Line;
    for (int i = 0; i < 200; ++i)
        utf8Line += "abアAz😀" + longest.substr(0, size_t(i % 41)) + "あい\xEF\xA3\x81é";
    const std::string utf8Input = utf8Line + "\r\n" + utf8Line + "\n" + utf8Line;

    for (bool reverse : {false, true}) {
        std::vector<std::string> options;
        if (reverse)
            options.push_back("-r");
        const std::string whole = convert(dictionary, input, options);
        options.insert(options.end(), {"-e", "utf-8"});
        const std::string wholeUtf8 = convert(dictionary, utf8Input, options);
        ASSERT_NE(wholeUtf8, utf8Input);
        for (size_t block : {1, 2, 3, 7, 41, 64, 100, 333, 4096}) {
            env.blockBytes = block;
            options.resize(reverse ? 1 : 0);
            EXPECT_EQ(convert(dictionary, input, options), whole) << block;
            options.insert(options.end(), {"-e", "utf-8"});
            EXPECT_EQ(convert(dictionary, utf8Input, options), wholeUtf8) << block;
        }
        env.blockBytes = ConvertEnv().blockBytes;
    }

    // Invalid UTF-8 deep in a long line, and a sequence cut by the end of the input.
    for (size_t block : {5, 64, 4096}) {
        env.blockBytes = block;
        const std::string bad = "ok\n" + utf8Line + "\xC3(" + utf8Line + "\n";
        EXPECT_EQ(run({"-d", write("dict.txt", dictionary), "-e", "utf-8"}, bad), 1);
        EXPECT_NE(error.find("の 2 行目は UTF-8 ではありません"), std::string::npos) << error;
        EXPECT_EQ(run({"-d", write("dict.txt", dictionary), "-e", "utf-8"}, utf8Line + "\xE3\x81"),
                  1);
        EXPECT_NE(error.find("の 1 行目は UTF-8 ではありません"), std::string::npos) << error;
    }
}

// At the shipped block size, a line of 1,048,533 "a" (or one more) and a tail runs past the
// first block, which is converted up to 41 bytes before its end: that cut falls among the
// tail's duplicate codes, inside a kanji with lead byte 0xFB, after a word ending on a lead
// byte. The line converts as the character-matching reference says.
TEST_F(RunConvertTest, ALongLineEndingAcrossTheFirstBlockConvertsAsAWhole) {
    const struct {
        std::string dictionary, tail;
        bool utf8; // the tail has a UTF-8 form
    } cases[] = {
        {"\x87\x54\x87\x54\tX\n", "\x87\x54\xFA\x4A", true}, // ⅠⅠ against Ⅰ and its IBM twin
        {"\x87\x54\tX\n", "\xFB\xFA\x4A", true},             // 馞J holds no Ⅰ
        {"a\x82\tY\n",
         "\x82\xA0"
         "a\x82 ",
         false}, // "a" and 0x82 alone only before " "
    };
    for (const auto& c : cases) {
        for (const size_t count : {1048533, 1048534}) {
            const std::string line = std::string(count, 'a') + c.tail + std::string(100, 'b');
            DictionaryTable table;
            ASSERT_TRUE(loadDictionaryFile(table, write("dict.txt", c.dictionary)).opened);
            const std::string expected = test::plainConvertLine(table, line, 0) + "\n";
            const std::string shown = testing::PrintToString(c.tail) + " " + std::to_string(count);
            EXPECT_EQ(convert(c.dictionary, line + "\n"), expected) << shown;
            if (!c.utf8)
                continue;
            const std::string utf8 = cp932::toUtf8(cp932::decode(line)) + "\n";
            EXPECT_EQ(convert(c.dictionary, utf8, {"-e", "utf-8"}),
                      cp932::toUtf8(cp932::decode(expected)))
                << shown;
        }
    }
}

// --check reads what the load reads, and says where it stops.
TEST_F(RunConvertTest, CheckReadsUpToTheSizeBoundToo) {
    const long before = peakKilobytes();
    EXPECT_EQ(run({"--check", "/dev/zero"}), 1);
    EXPECT_LT(peakKilobytes() - before, 128 * 1024) << "kB more at the peak";
    EXPECT_NE(output.find("/dev/zero:1: 辞書が 16 MB を超えるため"), std::string::npos) << output;

    // 16 MiB of comments, then a line the load never reads: not reported, the cut is.
    const std::string comment = "#" + std::string(126, 'c') + "\n";
    std::string dictionary;
    for (int i = 0; i < 131072; ++i)
        dictionary += comment;
    const std::string file = write("big.txt", dictionary + "lonely\n");
    EXPECT_EQ(run({"--check", file}), 1);
    EXPECT_EQ(output.find("単語が一つしかない"), std::string::npos) << output;
    EXPECT_NE(output.find(file + ":131073: 辞書が 16 MB を超えるため"), std::string::npos)
        << output;
    EXPECT_EQ(run({"--check", write("big.txt", dictionary)}), 0) << output;
}

TEST_F(RunConvertTest, ADictionaryThatNeverEndsIsReadUpToTheSizeBound) {
    EXPECT_EQ(run({"-d", "/dev/zero"}, "abc\n"), 0) << error;
    EXPECT_EQ(output, "abc\n");
    EXPECT_EQ(error,
              "sorvanti-convert: 警告: 辞書が 16 MB を超えたため、その先を読み込みませんでした: "
              "/dev/zero\n");
}

std::string sjis(const std::string& utf8) {
    return cp932::encode(cp932::fromUtf8(utf8));
}

// Word mode follows the dictionary's declaration or --words/--no-words (the last counts); it
// holds a line longer than a block and converts it whole.
TEST_F(RunConvertTest, WordModeFollowsTheDictionaryUnlessAnOptionOverrides) {
    const std::string plain = write("p.txt", sjis("ね\tなあ\nだ\tや\n"));
    const std::string words = write("w.txt", sjis("#@単語単位\nね\tなあ\nだ\tや\n"));
    const std::pair<std::vector<std::string>, bool> cases[] = {
        {{"-d", plain}, false},
        {{"-d", plain, "--words"}, true},
        {{"-d", words}, true},
        {{"-d", words, "--no-words"}, false},
        {{"-d", words, "--no-words", "--words"}, true}};
    for (auto [args, word] : cases) {
        ASSERT_EQ(run(args, sjis("ねこがね\r\nだめだ\n")), 0) << error;
        EXPECT_EQ(output, sjis(word ? "ねこがなあ\r\nだめや\n" : "なあこがなあ\r\nやめや\n"));
        args.insert(args.end(), {"-e", "utf-8"});
        ASSERT_EQ(run(args, "ねこ😀ねこがね"), 0) << error;
        EXPECT_EQ(output, word ? "ねこ😀ねこがなあ" : "なあこ😀なあこがなあ");
    }
    std::string line, expected;
    for (int i = 0; i < 300; ++i)
        line += "ねこがね。", expected += "ねこがなあ。";
    for (const size_t block : {7, 64, 4096}) {
        env.blockBytes = block;
        ASSERT_EQ(run({"-d", words}, sjis(line + "\n" + line)), 0) << error;
        EXPECT_EQ(output, sjis(expected + "\n" + expected)) << block;
    }
}

// ね does not hide ねこ (one word), ねこ hides ねこが (ねこ|が).
TEST_F(RunConvertTest, CheckFollowsWordModesRules) {
    const std::string file =
        write("c.txt", sjis("#@単語単位\nね\tA\nねこ\tB\nねこが\tC\nゃあ\tD\nね\tE\n#@単語単位\n"));
    const std::string unused = "、この対は使われません\n";
    EXPECT_EQ(run({"--check", file}), 1);
    EXPECT_EQ(output,
              file + ":4: 3 行目の標準語「ねこ」が「ねこが」の先頭に一致するため" + unused + file +
                  ":5: 標準語「ゃあ」は単語の切れ目から始まることがないため、単語単位では一致"
                  "しません\n" +
                  file + ":6: 標準語「ね」は 2 行目にもあり、そちらが先に一致するため" + unused +
                  file + ":7: #@単語単位 が最初の単語対より後にあるため、単語単位にはなりません\n" +
                  file + ": CP932、単語単位、5 項目、指摘 4 件 (使われない・失われる対 3 件)\n");
}

// Without the analyser's dictionary: status 1 naming what is missing and what asked for word
// mode; --no-words converts; --check says which findings it cannot give.
TEST_F(RunConvertTest, WordModeWithoutTheAnalyserDictionary) {
    setenv("SORVANTI_MECAB_DICDIR", "/nowhere", 1);
    const std::string words = write("w.txt", sjis("#@単語単位\nね\tなあ\n"));
    const std::string missing =
        "sorvanti-convert: 形態素解析の辞書 (mecab-ipadic-utf8) が見つかりません: /nowhere (";
    EXPECT_EQ(run({"-d", words}, "a\n"), 1);
    EXPECT_EQ(error, missing + words + " が単語単位を指定しています)\n");
    EXPECT_EQ(run({"-d", write("p.txt", "a b\n"), "--words"}, "a\n"), 1);
    EXPECT_EQ(error, missing + "--words の指定)\n");
    EXPECT_EQ(run({"-d", words, "--no-words"}, sjis("ねこ\n")), 0);
    EXPECT_EQ(output, sjis("なあこ\n"));
    EXPECT_EQ(run({"--check", words}), 0);
    EXPECT_EQ(output.find(words + ":1: 単語の切れ目を求められないため"), 0u) << output;
    unsetenv("SORVANTI_MECAB_DICDIR");
}

TEST(RunConvertBinary, ExitStatuses) {
    const char* binDir = std::getenv("SORVANTI_BIN_DIR");
    if (!binDir)
        GTEST_SKIP() << "SORVANTI_BIN_DIR is not set";
    std::string bin = std::string(binDir) + "/sorvanti-convert";
    auto status = [&](const std::string& args) {
        int raw = std::system((bin + " " + args + " </dev/null >/dev/null 2>&1").c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    EXPECT_EQ(status("--version"), 0);
    EXPECT_EQ(status("--help"), 0);
    EXPECT_EQ(status("-d /dev/null"), 0);
    EXPECT_EQ(status("-q"), 2);
    EXPECT_EQ(status("-d /nonexistent/dictionary.txt"), 1);

    // A name is found in 辞書/ beside the program, whatever the working folder.
    std::string name;
    for (const auto& entry : fs::directory_iterator(std::string(binDir) + "/辞書")) {
        if (entry.path().extension() == ".txt")
            name = entry.path().stem().string();
    }
    ASSERT_FALSE(name.empty()) << "no sample dictionary beside the program";
    fs::path cwd = fs::current_path();
    fs::current_path("/");
    EXPECT_EQ(status("-d '" + name + "'"), 0);
    EXPECT_EQ(status("-d '" + name + "-no-such-name'"), 1);
    fs::current_path(cwd);
}
