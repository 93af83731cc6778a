// sorvanti-convert: conversion, files, output, errors and options.
#include "RunConvertFixture.h"
#include "conversion/DictionaryLoader.h"

#include <istream>
#include <ostream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace sorvanti::test {

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

} // namespace sorvanti::test
