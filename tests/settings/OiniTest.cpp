#include "settings/Oini.h"
#include "toolkit/Error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using sorvanti::Oini;
using sorvanti::parseSettingsInteger;
using sorvanti::settingsFileName;

namespace {

// Code page 932 bytes of the settings' Japanese names.
const std::string kMainSjis = "\x83\x81\x83\x43\x83\x93";                   // メイン
const std::string kColorSjis = "\x83\x4a\x83\x89\x81\x5b";                  // カラー
const std::string kSplitSjis = "\x95\xaa\x8a\x84";                          // 分割
const std::string kDictSjis = "\x8e\xab\x8f\x91";                           // 辞書
const std::string kPromptSjis = "\x8e\xab\x8f\x91\x82\xf0\x91\x49\x91\xf0"  // 辞書を選択
                                "\x82\xb5\x82\xc4\x89\xba\x82\xb3\x82\xa2"; // して下さい

TEST(SettingsFileName, ReplacesTheExtensionOfTheFileNameOnly) {
    EXPECT_EQ(settingsFileName("Sorvanti"), "Sorvanti.ini");
    EXPECT_EQ(settingsFileName("/opt/sorvanti/Sorvanti"), "/opt/sorvanti/Sorvanti.ini");
    EXPECT_EQ(settingsFileName("/a.b/Sorvanti"), "/a.b/Sorvanti.ini");
    EXPECT_EQ(settingsFileName("/x/Sorvanti.exe"), "/x/Sorvanti.ini");
    EXPECT_EQ(settingsFileName("/a.b/c.d/Sorvanti.bin.exe"), "/a.b/c.d/Sorvanti.bin.ini");
    EXPECT_EQ(settingsFileName("/x/Sorvanti."), "/x/Sorvanti.ini");
    EXPECT_EQ(settingsFileName("/x/.sorvanti"), "/x/.sorvanti.ini");
}

TEST(ParseSettingsInteger, AcceptsHexPrefixesAndSignedDecimal) {
    EXPECT_EQ(parseSettingsInteger("0x1F4", 7), 500);
    EXPECT_EQ(parseSettingsInteger("0X1f4", 7), 500);
    EXPECT_EQ(parseSettingsInteger("$1F4", 7), 500);
    EXPECT_EQ(parseSettingsInteger("500", 7), 500);
    EXPECT_EQ(parseSettingsInteger("+500", 7), 500);
    EXPECT_EQ(parseSettingsInteger("-500", 7), -500);
    EXPECT_EQ(parseSettingsInteger("007", 1), 7);
    EXPECT_EQ(parseSettingsInteger("0", 1), 0);
    EXPECT_EQ(parseSettingsInteger(" \t42 ", 1), 42);
    EXPECT_EQ(parseSettingsInteger("0x00000001F4", 7), 500) << "leading zeros are not digits";
}

TEST(ParseSettingsInteger, TakesEightHexDigitsAsA32BitPattern) {
    EXPECT_EQ(parseSettingsInteger("0x8000000F", 0), -2147483633);
    EXPECT_EQ(parseSettingsInteger("$80000005", 0), -2147483643);
    EXPECT_EQ(parseSettingsInteger("$FFFFFFFF", 0), -1);
    EXPECT_EQ(parseSettingsInteger("0x7FFFFFFF", 0), 2147483647);
    EXPECT_EQ(parseSettingsInteger("0x100000000", 9), 9);
    EXPECT_EQ(parseSettingsInteger("$123456789", 9), 9);
}

TEST(ParseSettingsInteger, KeepsTheDecimalRangeOf32Bits) {
    EXPECT_EQ(parseSettingsInteger("2147483647", 0), 2147483647);
    EXPECT_EQ(parseSettingsInteger("-2147483648", 0), INT32_MIN);
    EXPECT_EQ(parseSettingsInteger("-2147483633", 0), -2147483633);
    EXPECT_EQ(parseSettingsInteger("2147483648", 9), 9);
    EXPECT_EQ(parseSettingsInteger("-2147483649", 9), 9);
    EXPECT_EQ(parseSettingsInteger("99999999999999999999999", 9), 9);
}

TEST(ParseSettingsInteger, GivesTheDefaultForAnythingElse) {
    for (const char* text : {"", "abc", "0x", "0X", "$", "+", "-", "x12", "12abc", "1 2", "1.5",
                             "0x1G", "$-5", "-$5", "0x-5", "-0x5", "0x 5", "\xef\xbc\x91"})
        EXPECT_EQ(parseSettingsInteger(text, 441), 441) << "text \"" << text << "\"";
}

class OiniTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("sorvanti-oini-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        program_ = (dir_ / "Sorvanti").string();
        ini_ = (dir_ / "Sorvanti.ini").string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    void put(const std::string& bytes) const { std::ofstream(ini_, std::ios::binary) << bytes; }
    std::string contents() const {
        std::ifstream in(ini_, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // The shutdown's writes, in their order.
    static void writeAll(Oini& ini, int32_t width, int32_t height, int32_t top, int32_t left,
                         const std::string& name) {
        ini.WriteInteger("メイン", "Width", width);
        ini.WriteInteger("メイン", "Height", height);
        ini.WriteInteger("メイン", "Top", top);
        ini.WriteInteger("メイン", "Left", left);
        ini.WriteInteger("カラー", "FrameAct", 0x00F0CAA6);
        ini.WriteInteger("カラー", "FrameDis", static_cast<int32_t>(0x8000000Fu));
        ini.WriteInteger("カラー", "Edit0", static_cast<int32_t>(0x80000005u));
        ini.WriteInteger("カラー", "Edit1", 0x00C0DCC0);
        ini.WriteInteger("カラー", "IconBar", static_cast<int32_t>(0x8000000Fu));
        ini.WriteInteger("カラー", "StatusBar", static_cast<int32_t>(0x8000000Fu));
        ini.WriteInteger("分割", "Vh", 0);
        ini.WriteString("辞書", "Name", name);
    }

    fs::path dir_;
    std::string program_;
    std::string ini_;
};

TEST_F(OiniTest, FirstRunWritesTheDefaultsFileByteForByte) {
    Oini ini(program_);
    EXPECT_EQ(ini.fileName(), ini_);
    EXPECT_FALSE(fs::exists(ini_)) << "creating the settings object touches no file";
    writeAll(ini, 441, 330, 219, 291, "辞書を選択して下さい");
    EXPECT_EQ(contents(), "[" + kMainSjis +
                              "]\n"
                              "Width=441\n"
                              "Height=330\n"
                              "Top=219\n"
                              "Left=291\n"
                              "[" +
                              kColorSjis +
                              "]\n"
                              "FrameAct=15780518\n"
                              "FrameDis=-2147483633\n"
                              "Edit0=-2147483643\n"
                              "Edit1=12639424\n"
                              "IconBar=-2147483633\n"
                              "StatusBar=-2147483633\n"
                              "[" +
                              kSplitSjis +
                              "]\n"
                              "Vh=0\n"
                              "[" +
                              kDictSjis +
                              "]\n"
                              "Name=" +
                              kPromptSjis + "\n");

    // A second run writes the same keys in place: the file keeps its shape.
    Oini again(program_);
    EXPECT_EQ(again.ReadInteger("カラー", "FrameDis", 0), -2147483633);
    EXPECT_EQ(again.ReadInteger("カラー", "Edit0", 0), -2147483643);
    EXPECT_EQ(again.ReadString("辞書", "Name", ""), "辞書を選択して下さい");
    const std::string first = contents();
    writeAll(again, 441, 330, 219, 291, "辞書を選択して下さい");
    EXPECT_EQ(contents(), first);
    writeAll(again, 600, 330, 219, 291, "関西弁");
    EXPECT_EQ(again.ReadInteger("メイン", "Width", 0), 600);
    EXPECT_EQ(again.ReadString("辞書", "Name", ""), "関西弁");
    EXPECT_EQ(contents().size(), first.size() - kPromptSjis.size() + 6);
}

TEST_F(OiniTest, MissingFileSectionOrKeyGivesTheDefaults) {
    Oini ini(program_);
    EXPECT_EQ(ini.ReadInteger("メイン", "Width", 441), 441);
    EXPECT_EQ(ini.ReadString("辞書", "Name", "辞書を選択して下さい"), "辞書を選択して下さい");
    EXPECT_FALSE(fs::exists(ini_)) << "reading creates no file";

    put("[" + kMainSjis + "]\nWidth=500\n");
    EXPECT_EQ(ini.ReadInteger("メイン", "Height", 330), 330);
    EXPECT_EQ(ini.ReadInteger("分割", "Vh", 0), 0);
    EXPECT_EQ(ini.ReadString("辞書", "Name", "x"), "x");
}

TEST_F(OiniTest, ReadsTheIntegerFormsOfAStoredValue) {
    put("[" + kMainSjis +
        "]\r\n"
        "Width=0x1F4\r\n"
        "Height=$1F4\r\n"
        "Top=abc\r\n"
        "Left=\r\n"
        "[" +
        kColorSjis +
        "]\r\n"
        "FrameDis = 0x8000000F\r\n"
        "Edit0=-2147483643\r\n"
        "Edit1=4294967296\r\n");
    Oini ini(program_);
    EXPECT_EQ(ini.ReadInteger("メイン", "width", 441), 500);
    EXPECT_EQ(ini.ReadInteger("メイン", "HEIGHT", 330), 500);
    EXPECT_EQ(ini.ReadInteger("メイン", "Top", 219), 219);
    EXPECT_EQ(ini.ReadInteger("メイン", "Left", 291), 291);
    EXPECT_EQ(ini.ReadInteger("カラー", "FrameDis", 0), -2147483633);
    EXPECT_EQ(ini.ReadInteger("カラー", "Edit0", 0), -2147483643);
    EXPECT_EQ(ini.ReadInteger("カラー", "Edit1", 12639424), 12639424);
}

TEST_F(OiniTest, IntegersRoundTripOverTheWholeRange) {
    Oini ini(program_);
    for (int32_t value : {0, 1, -1, 441, -2147483633, -2147483643, INT32_MIN, INT32_MAX}) {
        ini.WriteInteger("カラー", "FrameDis", value);
        EXPECT_EQ(ini.ReadInteger("カラー", "FrameDis", 12345), value);
    }
}

TEST_F(OiniTest, TextsWithoutACodePage932FormSurviveTheFile) {
    Oini ini(program_);
    const std::string emoji = "猫\xF0\x9F\x98\xBA語"; // 猫😺語
    ini.WriteString("辞書", "Name", emoji);
    EXPECT_EQ(ini.ReadString("辞書", "Name", ""), emoji);
    EXPECT_EQ(contents(), "[" + kDictSjis + "]\nName=\xEF\xBB\xBF" + emoji + "\n");

    // Bytes that are not code page 932 read as something that writes back as those bytes.
    const std::string raw = "\xEF\x40z\x82";
    put("[" + kDictSjis + "]\nName=" + raw + "\n");
    const std::string read = ini.ReadString("辞書", "Name", "");
    ini.WriteString("辞書", "Name", read);
    EXPECT_EQ(contents(), "[" + kDictSjis + "]\nName=" + raw + "\n");
}

TEST_F(OiniTest, ReadStringStopsAt2047BytesOnACharacterBoundary) {
    Oini ini(program_);
    put("[" + kDictSjis + "]\nName=" + std::string(2046, 'a') + "\x82\xa0\x82\xa0\n");
    EXPECT_EQ(ini.ReadString("辞書", "Name", ""), std::string(2046, 'a'));

    put("[" + kDictSjis + "]\nName=" + std::string(2045, 'a') + "\x82\xa0\x82\xa0\n");
    EXPECT_EQ(ini.ReadString("辞書", "Name", ""), std::string(2045, 'a') + "あ");

    put("[" + kDictSjis + "]\nName=\xEF\xBB\xBF" + std::string(2043, 'a') + "あい\n");
    EXPECT_EQ(ini.ReadString("辞書", "Name", ""), std::string(2043, 'a'));
}

TEST_F(OiniTest, AFailedWriteRaisesTheErrorWithTheFileNameAndStopsTheShutdown) {
    const std::string program = (dir_ / "no-such-folder" / "Sorvanti").string();
    Oini missing(program);
    try {
        writeAll(missing, 441, 330, 219, 291, "x");
        FAIL() << "writing into a missing folder succeeded";
    } catch (const sorvanti::Error& e) {
        EXPECT_EQ(std::string(e.what()), settingsFileName(program) + " に書き込めません");
    }

    // A value that a line cannot hold fails the same way, after the writes before it.
    Oini ini(program_);
    try {
        ini.WriteInteger("メイン", "Width", 441);
        ini.WriteString("辞書", "Name", "two\nlines");
        ini.WriteInteger("分割", "Vh", 1);
        FAIL() << "a value with a line break was written";
    } catch (const sorvanti::Error& e) {
        EXPECT_EQ(std::string(e.what()), ini_ + " に書き込めません");
    }
    EXPECT_EQ(contents(), "[" + kMainSjis + "]\nWidth=441\n");
}

} // namespace

TEST_F(OiniTest, AValueReadAndWrittenBackKeepsItsBytes) {
    // A byte that starts no character before a character with two codes: written back with
    // the usual code, the byte and that code would read as another text.
    Oini ini(program_);
    for (const std::string raw : {"\x81\xFA\x4A", "\xEE\xEE\x46", "a\x87\xFA\x54"}) {
        put("[" + kDictSjis + "]\nName=" + raw + "\n");
        const std::string read = ini.ReadString("辞書", "Name", "");
        ini.WriteString("辞書", "Name", read);
        EXPECT_EQ(contents(), "[" + kDictSjis + "]\nName=" + raw + "\n");
        EXPECT_EQ(ini.ReadString("辞書", "Name", ""), read);
    }
}
