// The window of an installed program: dictionaries from the user's own folder, filled from
// the shipped samples on the first start, and the settings in the user's config folder.
#include "ScriptedRunner.h"
#include "app/Environment.h"
#include "app/Umain.h"
#include "conversion/DictionaryTable.h"
#include "settings/Oini.h"
#include "support/TempFolder.h"
#include "toolkit/Cp932.h"

#include <QComboBox>

#include <filesystem>

#include <gtest/gtest.h>

namespace sorvanti::test {
namespace {

namespace fs = std::filesystem;

std::string cp932Text(const char* utf8) {
    return cp932::encode(cp932::fromUtf8(utf8));
}

// root/bin/Sorvanti with its samples in root/share/sorvanti/辞書/, a home folder beside it.
class Installed : public ::testing::Test {
protected:
    Installed() {
        folder.write("root/bin/Sorvanti", "");
        folder.write("root/share/sorvanti/辞書/方言.txt", cp932Text("犬 わんこ\r\n"));
        folder.write("root/share/sorvanti/辞書/古語.txt", cp932Text("犬 いぬ\r\n猫 ねこ\r\n"));
    }
    QString program() const { return QString::fromStdString(folder.path() + "root/bin/Sorvanti"); }
    UserDirectories user() const {
        return {folder.path() + "home", folder.path() + "cfg", folder.path() + "data",
                folder.path() + "state"};
    }
    Environment locate() const { return Environment::locate(program(), {}, user()); }

    ScriptedRunner runner;
    TempFolder folder;
};

TEST_F(Installed, TheWindowWorksOnTheUsersCopiesAndWritesTheSettingsToTheConfigFolder) {
    const Environment env = locate();
    EXPECT_EQ(env.settingsPath.toStdString(), folder.path() + "cfg/Sorvanti/Sorvanti.ini");
    EXPECT_EQ(env.dataFolder.toStdString(), folder.path() + "data/Sorvanti/");
    const std::string mine = folder.path() + "data/Sorvanti/辞書/";
    {
        TVeruzazur w(env);
        ASSERT_EQ(w.CBdictionary->count(), 2);
        w.CBdictionary->setCurrentIndex(w.CBdictionary->findText(QStringLiteral("古語")));
        EXPECT_EQ(w.dictionary().path(), mine + "古語.txt");
        EXPECT_EQ(w.dictionary().count(), 2);
    }
    EXPECT_TRUE(runner.boxes.empty());
    EXPECT_EQ(Oini(env.settingsPath.toStdString()).ReadString("辞書", "Name", ""), "古語");
    EXPECT_FALSE(fs::exists(folder.path() + "root/bin/Sorvanti.ini"));

    // The user's changes survive the next start, and the remembered one is loaded from them.
    fs::remove(mine + "方言.txt");
    folder.write("data/Sorvanti/辞書/古語.txt", cp932Text("鳥 とり\r\n"));
    TVeruzazur again(locate());
    EXPECT_EQ(again.CBdictionary->count(), 1);
    EXPECT_EQ(again.dictionary().path(), mine + "古語.txt");
    EXPECT_EQ(again.dictionary().count(), 1);
}

} // namespace
} // namespace sorvanti::test
