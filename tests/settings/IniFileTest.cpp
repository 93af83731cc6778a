#include "settings/IniFile.h"
#include "toolkit/Error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using sorvanti::IniFile;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("sorvanti-ini-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = (dir_ / "Sorvanti.ini").string();
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }

    void put(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
    std::string contents() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_))
            names.push_back(e.path().filename().string());
        return names;
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(IniFileTest, NamesIgnoreAsciiCaseAndSurroundingBlanks) {
    for (const char* eol : {"\n", "\r\n"}) {
        put(std::string("  [ Main ]\t") + eol + "\t width  =  500 \t" + eol + "Name= a b " + eol);
        IniFile ini(path_);
        EXPECT_EQ(ini.read("main", "WIDTH"), "500")
            << "line end " << (eol[0] == '\r' ? "CRLF" : "LF");
        EXPECT_EQ(ini.read(" MAIN ", "\tname"), "a b");
        EXPECT_EQ(ini.read("Main", "Height"), std::nullopt);
        EXPECT_EQ(ini.read("Other", "Width"), std::nullopt);
    }
}

TEST_F(IniFileTest, DoubleByteNamesCompareExactly) {
    // "ア" is 83 41 and "ダ" 83 61: their second bytes look like 'A' and 'a'. "‐" is 81 5D,
    // whose second byte looks like ']'.
    put("[\x83\x41]\nk=katakana-a\n[\x83\x61]\nk=katakana-da\n[x\x81\x5D]\n\x83\x41=dash\n");
    IniFile ini(path_);
    EXPECT_EQ(ini.read("\x83\x41", "K"), "katakana-a");
    EXPECT_EQ(ini.read("\x83\x61", "k"), "katakana-da");
    EXPECT_EQ(ini.read("X\x81\x5D", "\x83\x41"), "dash");
    EXPECT_EQ(ini.read("X\x81\x5D", "\x83\x61"), std::nullopt);
}

TEST_F(IniFileTest, OnlyKeyLinesOfTheFirstSectionOfANameCount) {
    put("Width=1\n" // before any section
        "[Main]\n"
        ";Width=2\n" // comment
        "Width\n"    // junk without '='
        "[broken\n"  // no closing bracket: junk, the section goes on
        "Width=3\n"
        "width=4\n"
        "[Other]\n"
        "Top=5\n"
        "[MAIN]\n"
        "Width=6\n"
        "Left=7\n");
    IniFile ini(path_);
    EXPECT_EQ(ini.read("Main", "Width"), "3");
    EXPECT_EQ(ini.read("Main", "Left"), std::nullopt); // only in the second [MAIN]
    EXPECT_EQ(ini.read("Other", "Top"), "5");
    EXPECT_EQ(ini.read("Main", "Top"), std::nullopt);
}

TEST_F(IniFileTest, MissingFileOrUnreadablePathReadsNothing) {
    IniFile missing((dir_ / "none.ini").string());
    EXPECT_EQ(missing.read("Main", "Width"), std::nullopt);
    EXPECT_FALSE(fs::exists(dir_ / "none.ini"));
    IniFile folder(dir_.string());
    EXPECT_EQ(folder.read("Main", "Width"), std::nullopt);
}

TEST_F(IniFileTest, ValueIsCutAt2047BytesAndMayBeEmpty) {
    put("[S]\nlong=" + std::string(3000, 'v') + "\nempty=\nblank=   \n");
    IniFile ini(path_);
    EXPECT_EQ(ini.read("S", "long"), std::string(2047, 'v'));
    EXPECT_EQ(ini.read("S", "empty"), "");
    EXPECT_EQ(ini.read("S", "blank"), "");
}

TEST_F(IniFileTest, WriteChangesOnlyItsKeyInPlace) {
    const std::string before = "; settings\r\n"
                               "junk line\r\n"
                               "[Main]\r\n"
                               "  Width = 441 \r\n"
                               "Height=330\r\n"
                               "\r\n"
                               "[Other]\r\n"
                               "Width=9\r\n";
    put(before);
    IniFile ini(path_);
    ini.write("MAIN", "width", "500");
    EXPECT_EQ(contents(), "; settings\r\n"
                          "junk line\r\n"
                          "[Main]\r\n"
                          "  Width=500\r\n"
                          "Height=330\r\n"
                          "\r\n"
                          "[Other]\r\n"
                          "Width=9\r\n");
    EXPECT_EQ(ini.read("Main", "Width"), "500");
    EXPECT_EQ(ini.read("Other", "Width"), "9");
}

TEST_F(IniFileTest, MissingKeyGoesToTheEndOfItsSectionAndMissingSectionToTheEndOfTheFile) {
    put("[Main]\nWidth=1\n; note\n\n\n[Other]\nX=1\n");
    IniFile ini(path_);
    ini.write("main", "Height", "2");
    ini.write("New", "Key", "v");
    ini.write("other", "Y", "2");
    EXPECT_EQ(contents(),
              "[Main]\nWidth=1\n; note\nHeight=2\n\n\n[Other]\nX=1\nY=2\n[New]\nKey=v\n");
}

TEST_F(IniFileTest, AnEmptySectionTakesItsFirstKeyRightAfterItsHeader) {
    put("[A]\n\n[B]\nk=1");
    IniFile ini(path_);
    ini.write("A", "k", "0");
    ini.write("B", "m", "2"); // after a last line without line feed
    ini.write("C", "n", "3");
    EXPECT_EQ(contents(), "[A]\nk=0\n\n[B]\nk=1\nm=2\n[C]\nn=3\n");
}

TEST_F(IniFileTest, NewLinesFollowTheFileLineEndsAndANewFileGetsLf) {
    IniFile ini(path_);
    ini.write("S", "a", "1");
    ini.write("S", "b", "2");
    EXPECT_EQ(contents(), "[S]\na=1\nb=2\n");

    put("[S]\r\na=1\r\n");
    ini.write("S", "b", "2");
    ini.write("T", "c", "3");
    EXPECT_EQ(contents(), "[S]\r\na=1\r\nb=2\r\n[T]\r\nc=3\r\n");
}

TEST_F(IniFileTest, FailedWriteNamesTheFileAndLeavesEverythingAsItWas) {
    const std::string missingFolder = (dir_ / "gone" / "Sorvanti.ini").string();
    try {
        IniFile(missingFolder).write("S", "k", "v");
        FAIL() << "writing into a missing folder succeeded";
    } catch (const sorvanti::Error& e) {
        EXPECT_EQ(std::string(e.what()), missingFolder + " に書き込めません");
    }
    EXPECT_FALSE(fs::exists(dir_ / "gone"));

    // A folder where the file should be.
    fs::create_directory(dir_ / "dir.ini");
    EXPECT_THROW(IniFile((dir_ / "dir.ini").string()).write("S", "k", "v"), sorvanti::Error);

    // Values and names that would break the line structure.
    put("[S]\nk=old\n");
    IniFile ini(path_);
    EXPECT_THROW(ini.write("S", "k", "new\n[Evil]\nx=1"), sorvanti::Error);
    EXPECT_THROW(ini.write("S", "k", "new\rmore"), sorvanti::Error);
    EXPECT_THROW(ini.write("S", "a=b", "v"), sorvanti::Error);
    EXPECT_THROW(ini.write("S", " ", "v"), sorvanti::Error);
    EXPECT_THROW(ini.write("S]x", "k", "v"), sorvanti::Error);
    EXPECT_EQ(contents(), "[S]\nk=old\n");

    std::vector<std::string> entries = folderEntries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"Sorvanti.ini", "dir.ini"}))
        << "a temporary file was left behind";
}

TEST_F(IniFileTest, ReadOnlyFileOrFolderIsNotWritten) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the super-user";
    put("[S]\nk=old\n");
    fs::permissions(path_, fs::perms::owner_read, fs::perm_options::replace);
    EXPECT_THROW(IniFile(path_).write("S", "k", "new"), sorvanti::Error);
    EXPECT_EQ(contents(), "[S]\nk=old\n");

    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(IniFile(path_).write("S", "k", "new"), sorvanti::Error);
    EXPECT_EQ(contents(), "[S]\nk=old\n");
}

TEST_F(IniFileTest, RewriteKeepsPermissionsAndSymbolicLinks) {
    put("[S]\nk=1\n");
    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
                    fs::perm_options::replace);
    const fs::path link = dir_ / "link.ini";
    fs::create_symlink(path_, link);

    IniFile(link.string()).write("S", "k", "2");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents(), "[S]\nk=2\n");
    EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

} // namespace

TEST_F(IniFileTest, AFinalCrWithoutLfStaysALineEndWhenLinesFollow) {
    // Each write after such a line must leave the line's value as it was.
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"a", "x", "[a]\r\nk=v\r\nx=1"},            // a key after it in its section
        {"b", "x", "[a]\r\nk=v\r\n[b]\r\nx=1\r\n"}, // a new section after it
        {"a", "k", "[a]\r\nk=1\r"},                 // the line itself, in place
    };
    for (const Case& c : cases) {
        put("[a]\r\nk=v\r");
        IniFile ini(path_);
        ini.write(c.section, c.key, "1");
        EXPECT_EQ(contents(), c.expected) << c.section << ' ' << c.key;
        EXPECT_EQ(ini.read("a", "k"), std::string(c.key == std::string("k") ? "1" : "v"));
        EXPECT_EQ(ini.read(c.section, c.key), "1");
    }
}

TEST_F(IniFileTest, SectionNamesThatCannotBeReadBackAreRefused) {
    put("[S]\nk=old\n");
    IniFile ini(path_);
    // A lead byte at the end would take the closing bracket as its second byte.
    for (const char* section : {"\x9F", "ab\x81", "\x82\xA0\xE0"}) {
        EXPECT_THROW(ini.write(section, "k", "v"), sorvanti::Error) << section;
        EXPECT_EQ(contents(), "[S]\nk=old\n");
    }
    // A whole double-byte character at the end is a name like any other, even when its
    // second byte looks like a bracket or a lead byte.
    for (const char* section : {"\x82\xA0", "a\x81]", "\x9F\x9F"}) {
        ini.write(section, "k", "v");
        ini.write(section, "k", "w");
        EXPECT_EQ(ini.read(section, "k"), "w") << section;
    }
    EXPECT_EQ(contents(), "[S]\nk=old\n[\x82\xA0]\nk=w\n[a\x81]]\nk=w\n[\x9F\x9F]\nk=w\n");
}
