// sorvanti-convert on lines longer than a block: converted in parts exactly as whole.
#include "RunConvertFixture.h"
#include "conversion/DictionaryLoader.h"
#include "support/PlainScan.h"

#include <istream>
#include <streambuf>

namespace sorvanti::test {

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

} // namespace sorvanti::test
