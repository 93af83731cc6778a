// Where the program keeps its settings and dictionaries, and the first start's copy of the
// shipped samples.
#include "settings/DataFolders.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace sorvanti::test {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// An installed tree and a home folder inside one temporary folder:
//   root/bin/Sorvanti, root/share/sorvanti/辞書/ (the samples), home/.
class Tree : public ::testing::Test {
protected:
    Tree() {
        fs::create_directories(root() + "bin");
        folder.write("root/bin/Sorvanti", "");
        fs::create_directories(home());
    }
    std::string root() const { return folder.path() + "root/"; }
    std::string home() const { return folder.path() + "home/"; }
    std::string program() const { return root() + "bin/Sorvanti"; }
    std::string samples() const { return root() + "share/sorvanti/辞書/"; }
    void addSample(const std::string& name, const std::string& bytes) const {
        folder.write("root/share/sorvanti/辞書/" + name, bytes);
    }
    UserDirectories user() const { return {home(), home() + "cfg", home() + "data", ""}; }
    DataFolders installed() const { return locateDataFolders(program(), user()); }
    std::string mine() const { return home() + "data/Sorvanti/辞書/"; }

    TempFolder folder;
};

TEST_F(Tree, ADictionaryFolderBesideTheProgramKeepsEverythingBesideIt) {
    // A folder makes the program portable; a file of that name does not.
    for (bool asFolder : {true, false}) {
        SCOPED_TRACE(asFolder);
        fs::remove_all(root() + "bin/辞書");
        if (asFolder)
            fs::create_directories(root() + "bin/辞書");
        else
            folder.write("root/bin/辞書", "");
        const DataFolders found = locateDataFolders(program(), user());
        EXPECT_EQ(found.installed, !asFolder);
        if (asFolder) {
            EXPECT_EQ(found.settingsFile, root() + "bin/Sorvanti.ini");
            EXPECT_EQ(found.dictionaryBase, root() + "bin/");
            EXPECT_EQ(found.samplesBase, "");
            EXPECT_EQ(found.keptFolder, root() + "bin/Sorvanti.kept/");
        }
    }
}

TEST_F(Tree, InstalledFollowsTheXdgVariablesAndTheirDefaults) {
    struct Case {
        const char* what;
        std::string configHome, dataHome, stateHome, settings, base, kept;
    };
    const std::string h = home();
    const Case cases[] = {
        {"all set", "/c", "/d/", "/s", "/c/Sorvanti/Sorvanti.ini", "/d/Sorvanti/", "/s/Sorvanti/"},
        {"unset", "", "", "", h + ".config/Sorvanti/Sorvanti.ini", h + ".local/share/Sorvanti/",
         h + ".local/state/Sorvanti/"},
        // Relative values are not to be used; the defaults stand in for them.
        {"relative", "cfg", "./data", "st", h + ".config/Sorvanti/Sorvanti.ini",
         h + ".local/share/Sorvanti/", h + ".local/state/Sorvanti/"},
        {"one set", "/c", "", "", "/c/Sorvanti/Sorvanti.ini", h + ".local/share/Sorvanti/",
         h + ".local/state/Sorvanti/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DataFolders found =
            locateDataFolders(program(), {h, c.configHome, c.dataHome, c.stateHome});
        EXPECT_TRUE(found.installed);
        EXPECT_EQ(found.settingsFile, c.settings);
        EXPECT_EQ(found.dictionaryBase, c.base);
        EXPECT_EQ(found.keptFolder, c.kept);
        EXPECT_EQ(found.samplesBase, root() + "share/sorvanti/");
    }
}

TEST_F(Tree, WithoutAnyHomeFolderTheProgramStaysWithItsOwnFolder) {
    for (const std::string& badHome : {std::string(), std::string("relative/home")}) {
        const DataFolders found = locateDataFolders(program(), {badHome, "", "", ""});
        EXPECT_FALSE(found.installed) << badHome;
        EXPECT_EQ(found.settingsFile, root() + "bin/Sorvanti.ini");
    }
    // The XDG variables alone are enough; without a state folder the kept text goes with
    // the data.
    const DataFolders bare = locateDataFolders(program(), {"", "/c", "/d", ""});
    EXPECT_TRUE(bare.installed);
    EXPECT_EQ(bare.keptFolder, "/d/Sorvanti/kept/");
}

TEST(DataFolders, SamplesAreFoundFromTheProgramsOwnFolder) {
    for (const char* prefix : {"/usr", "/opt/s.v"})
        EXPECT_EQ(locateDataFolders(std::string(prefix) + "/bin/Sorvanti", {"/h", "", "", ""})
                      .samplesBase,
                  std::string(prefix) + "/share/sorvanti/");
}

TEST_F(Tree, NamesAreLookedUpInTheUsersFolderThenInTheSamples) {
    EXPECT_EQ(dictionaryBases(installed()),
              (std::vector<std::string>{home() + "data/Sorvanti/", root() + "share/sorvanti/"}));
    fs::create_directories(root() + "bin/辞書");
    EXPECT_EQ(dictionaryBases(installed()), std::vector<std::string>{root() + "bin/"});
}

TEST_F(Tree, FirstStartCopiesEachSampleAndMakesTheSettingsFolder) {
    addSample("関西弁.txt", std::string("\x8C\xA2 \x94\x4C\r\n", 7));
    addSample("empty.txt", "");
    addSample("readme.md", "not a dictionary");
    fs::create_directories(samples() + "folder.txt");

    const FolderSetup setup = prepareUserFolders(installed());
    EXPECT_EQ(setup.error, "");
    EXPECT_TRUE(setup.firstStart);
    EXPECT_EQ(setup.copied, 2);
    EXPECT_TRUE(fs::is_directory(home() + "cfg/Sorvanti"));
    EXPECT_EQ(readFile(mine() + "関西弁.txt"), readFile(samples() + "関西弁.txt"));
    EXPECT_TRUE(fs::is_regular_file(mine() + "empty.txt"));
    EXPECT_FALSE(fs::exists(mine() + "readme.md"));
    EXPECT_FALSE(fs::exists(mine() + "folder.txt"));
}

TEST_F(Tree, LaterStartsLeaveTheUsersFolderAsTheUserLeftIt) {
    addSample("a.txt", "sample a\n");
    addSample("b.txt", "sample b\n");
    ASSERT_EQ(prepareUserFolders(installed()).copied, 2);
    fs::remove(mine() + "a.txt");
    folder.write("home/data/Sorvanti/辞書/b.txt", "my words\n");
    addSample("c.txt", "a sample shipped later\n");

    const FolderSetup again = prepareUserFolders(installed());
    EXPECT_FALSE(again.firstStart);
    EXPECT_EQ(again.copied, 0);
    EXPECT_EQ(again.error, "");
    EXPECT_FALSE(fs::exists(mine() + "a.txt"));
    EXPECT_EQ(readFile(mine() + "b.txt"), "my words\n");
    EXPECT_FALSE(fs::exists(mine() + "c.txt"));
}

TEST_F(Tree, AStartWithoutSamplesMakesNoDictionaryFolderSoALaterOneStillCopies) {
    EXPECT_FALSE(prepareUserFolders(installed()).firstStart);
    EXPECT_FALSE(fs::exists(home() + "data"));
    addSample("a.txt", "sample a\n");
    const FolderSetup setup = prepareUserFolders(installed());
    EXPECT_TRUE(setup.firstStart);
    EXPECT_EQ(readFile(mine() + "a.txt"), "sample a\n");
}

TEST_F(Tree, FailuresNameThePathAndDoNotStopTheOtherFolder) {
    addSample("a.txt", "sample a\n");
    // A file where a folder has to go: neither root nor anyone else can create it.
    folder.write("home/cfg", "");
    FolderSetup setup = prepareUserFolders(installed());
    EXPECT_NE(setup.error.find(home() + "cfg/Sorvanti"), std::string::npos) << setup.error;
    EXPECT_EQ(setup.copied, 1);

    fs::remove_all(home() + "data");
    fs::remove(home() + "cfg");
    folder.write("home/data", "");
    setup = prepareUserFolders(installed());
    EXPECT_NE(setup.error.find(home() + "data/Sorvanti"), std::string::npos) << setup.error;
    EXPECT_EQ(setup.copied, 0);
    EXPECT_TRUE(fs::is_directory(home() + "cfg/Sorvanti"));
}

// Sets an environment variable for one scope, restoring what was there.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(UserDirectories, ComeFromTheEnvironmentAndTheAccountWhenHomeIsUnset) {
    ScopedVariable config("XDG_CONFIG_HOME", "/x/config");
    ScopedVariable data("XDG_DATA_HOME", nullptr);
    {
        ScopedVariable home("HOME", "/x/home");
        const UserDirectories user = UserDirectories::fromProcess();
        EXPECT_EQ(user.home, "/x/home");
        EXPECT_EQ(user.configHome, "/x/config");
        EXPECT_EQ(user.dataHome, "");
    }
    const struct passwd* account = ::getpwuid(::getuid());
    ASSERT_NE(account, nullptr);
    for (const char* unset : {static_cast<const char*>(nullptr), ""}) {
        ScopedVariable home("HOME", unset);
        EXPECT_EQ(UserDirectories::fromProcess().home, account->pw_dir);
    }
}

} // namespace
} // namespace sorvanti::test
