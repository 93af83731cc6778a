// sorvanti-convert --check, and word mode on the command line.
#include "RunConvertFixture.h"

namespace sorvanti::test {

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

} // namespace sorvanti::test
