// Start-up from the settings file and the settings written back at exit.
#include "ProgramFolder.h"
#include "ScriptedRunner.h"
#include "about/Udebug.h"
#include "appearance/ColorValue.h"
#include "settings/Oini.h"
#include "support/Bytes.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace sorvanti::test {
namespace {

QSize screenSize() {
    return QGuiApplication::primaryScreen()->size();
}

std::string readUtf8(const std::string& path) {
    return cp932::toUtf8(cp932::decode(readBytes(path)));
}

QColor background(QWidget* w, QPalette::ColorRole role) {
    return w->palette().color(role);
}

TEST(Startup, FirstStartWithoutSettingsFileUsesTheDefaults) {
    ScriptedRunner runner;
    ProgramFolder program;
    program.addDictionary("標準", "犬 猫\n");
    {
        auto w = program.openWindow();
        EXPECT_EQ(w->windowTitle(), QStringLiteral("秘密 の そるばんち"));
        EXPECT_EQ(w->size(), QSize(441, 330));
        EXPECT_EQ(w->y(), (screenSize().height() - 330) >> 1);
        EXPECT_EQ(w->x(), (screenSize().width() - 441) >> 1);
        EXPECT_EQ(w->SBvhTag, 0);
        EXPECT_EQ(w->ActivePane, 0);

        EXPECT_EQ(w->colors().value(ColorSurface::FrameAct), 0x00F0CAA6);
        EXPECT_EQ(w->colors().value(ColorSurface::FrameDis), static_cast<int32_t>(0x8000000F));
        const QPalette system = QApplication::palette();
        EXPECT_EQ(background(w->pane(0).frame(), QPalette::Window), QColor(166, 202, 240));
        EXPECT_EQ(background(w->pane(1).frame(), QPalette::Window), system.color(QPalette::Button));
        EXPECT_EQ(background(w->pane(0).edit(), QPalette::Base), system.color(QPalette::Base));
        EXPECT_EQ(background(w->pane(1).edit(), QPalette::Base), QColor(192, 220, 192));
        EXPECT_EQ(background(w->PiconBar, QPalette::Window), system.color(QPalette::Button));
        EXPECT_EQ(background(w->StatusBar1, QPalette::Window), system.color(QPalette::Button));

        EXPECT_EQ(w->CBdictionary->currentText(), QStringLiteral("辞書を選択して下さい"));
        EXPECT_EQ(w->CBdictionary->currentIndex(), -1);
        EXPECT_EQ(w->CBdictionary->count(), 1);
        EXPECT_EQ(w->CBdictionaryTag, -1);
        EXPECT_EQ(w->dictionary().count(), 0);
        for (QToolButton* b : {w->SBhenkan0, w->SBhenkan1, w->SBtouroku})
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_TRUE(runner.boxes.empty());
    }
    const int top = (screenSize().height() - 330) >> 1;
    const int left = (screenSize().width() - 441) >> 1;
    const std::string written = readUtf8(program.settingsPath());
    EXPECT_EQ(written.find("[メイン]"), 0u) << written;
    Oini ini(program.programPath());
    EXPECT_EQ(ini.ReadInteger("メイン", "Width", 0), 441);
    EXPECT_EQ(ini.ReadInteger("メイン", "Height", 0), 330);
    EXPECT_EQ(ini.ReadInteger("メイン", "Top", 0), top);
    EXPECT_EQ(ini.ReadInteger("メイン", "Left", 0), left);
    EXPECT_EQ(ini.ReadString("カラー", "FrameAct", ""), "15780518");
    EXPECT_EQ(ini.ReadString("カラー", "FrameDis", ""), "-2147483633");
    EXPECT_EQ(ini.ReadString("カラー", "Edit0", ""), "-2147483643");
    EXPECT_EQ(ini.ReadString("カラー", "Edit1", ""), "12639424");
    EXPECT_EQ(ini.ReadString("カラー", "IconBar", ""), "-2147483633");
    EXPECT_EQ(ini.ReadString("カラー", "StatusBar", ""), "-2147483633");
    EXPECT_EQ(ini.ReadString("分割", "Vh", ""), "0");
    EXPECT_EQ(ini.ReadString("辞書", "Name", ""), "辞書を選択して下さい");
    // The keys come in the order of the table, sections as they were created.
    size_t at = 0;
    for (const char* key :
         {"Width=", "Height=", "Top=", "Left=", "[カラー]", "FrameAct=", "FrameDis=", "Edit0=",
          "Edit1=", "IconBar=", "StatusBar=", "[分割]", "Vh=", "[辞書]", "Name="}) {
        const size_t next = written.find(key, at);
        ASSERT_NE(next, std::string::npos) << key << " in\n" << written;
        at = next;
    }
}

TEST(Startup, OddStoredValuesAreReadByTheIntegerRulesAndWrittenBackPlainly) {
    ScriptedRunner runner;
    ProgramFolder program;
    program.addDictionary("標準", "犬 猫\n");
    program.writeSettings("[メイン]\nWidth=0x1F4\nHeight=$12C\nTop=abc\nLeft=-50\n"
                          "[カラー]\nFrameAct=255\nFrameDis=0x80000005\nEdit0=\nEdit1=0x00FF0000\n"
                          "[分割]\nVh=1\n[辞書]\nName=どれでもない\n");
    {
        auto w = program.openWindow();
        EXPECT_EQ(w->size(), QSize(500, 300));
        EXPECT_EQ(w->y(), (screenSize().height() - 300) >> 1);
        EXPECT_EQ(w->x(), -50);
        EXPECT_EQ(w->colors().value(ColorSurface::FrameAct), 255);
        EXPECT_EQ(background(w->pane(0).frame(), QPalette::Window), QColor(255, 0, 0));
        EXPECT_EQ(background(w->pane(1).frame(), QPalette::Window),
                  QApplication::palette().color(QPalette::Base));
        EXPECT_EQ(w->colors().value(ColorSurface::Edit0), colorvalue::kWindow);
        EXPECT_EQ(background(w->pane(1).edit(), QPalette::Base), QColor(0, 0, 255));
        EXPECT_EQ(w->SBvhTag, 1);
        EXPECT_EQ(w->CBdictionary->currentText(), QStringLiteral("どれでもない"));
        EXPECT_EQ(w->CBdictionary->currentIndex(), -1);
        EXPECT_FALSE(w->SBhenkan0->isEnabled());
        // What the user types into the selector is what is remembered.
        w->CBdictionary->setEditText(QStringLiteral("打った名前"));
    }
    Oini ini(program.programPath());
    EXPECT_EQ(ini.ReadString("メイン", "Width", ""), "500");
    EXPECT_EQ(ini.ReadString("メイン", "Height", ""), "300");
    EXPECT_EQ(ini.ReadString("メイン", "Left", ""), "-50");
    EXPECT_EQ(ini.ReadString("カラー", "FrameAct", ""), "255");
    EXPECT_EQ(ini.ReadString("カラー", "FrameDis", ""), "-2147483643");
    EXPECT_EQ(ini.ReadString("カラー", "Edit0", ""), "-2147483643");
    EXPECT_EQ(ini.ReadString("カラー", "Edit1", ""), "16711680");
    EXPECT_EQ(ini.ReadString("分割", "Vh", ""), "1");
    EXPECT_EQ(ini.ReadString("辞書", "Name", ""), "打った名前");
}

TEST(Startup, AnOrientationOtherThanZeroOrOneMeansSideBySide) {
    ScriptedRunner runner;
    ProgramFolder program;
    program.writeSettings("[分割]\nVh=7\n");
    {
        auto w = program.openWindow();
        EXPECT_EQ(w->SBvhTag, 1);
        w->SBvhClick(w->SBvh);
        EXPECT_EQ(w->SBvhTag, 0);
    }
    EXPECT_EQ(Oini(program.programPath()).ReadString("分割", "Vh", ""), "0");
}

TEST(Startup, ChosenDictionaryAndChangedOrientationSurviveTheRun) {
    ScriptedRunner runner;
    ProgramFolder program;
    program.addDictionary("a", "犬 猫\n");
    program.addDictionary("b", "猫 犬\n");
    {
        auto w = program.openWindow();
        w->CBdictionary->setCurrentIndex(1);
        w->SBvh->click();
    }
    {
        auto w = program.openWindow();
        EXPECT_EQ(w->CBdictionary->currentText(), QStringLiteral("b"));
        EXPECT_EQ(w->CBdictionaryTag, 1);
        EXPECT_TRUE(w->SBhenkan0->isEnabled());
        EXPECT_EQ(w->SBvhTag, 1);
    }
}

TEST(Startup, AFailedSettingsWriteIsReportedAndDoesNotEscapeTheDestructor) {
    ScriptedRunner runner;
    ProgramFolder program;
    auto w = program.openWindow();
    // A folder where the settings file should be cannot be written as a file.
    std::filesystem::create_directories(program.settingsPath());
    EXPECT_NO_THROW(w.reset());
    ASSERT_EQ(runner.boxes.size(), 2u) << runner.texts().join('|').toStdString();
    EXPECT_EQ(runner.boxes[0].text, QStringLiteral("辞書ファイルが見つかりません。"));
    const auto& box = runner.boxes[1];
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.title, QStringLiteral("Sorvanti"));
    EXPECT_EQ(box.buttons, QMessageBox::Ok);
    EXPECT_TRUE(box.text.endsWith(QStringLiteral("Sorvanti.ini に書き込めません.")))
        << box.text.toStdString();
}

TEST(Startup, DebugWindowIsBuiltHiddenWithItsEmptyGrid) {
    TFdebug debug;
    EXPECT_FALSE(debug.isVisible());
    EXPECT_EQ(debug.windowTitle(), QStringLiteral("デバッグ用"));
    EXPECT_EQ(debug.pos(), QPoint(261, 223));
    ASSERT_EQ(debug.SG->rowCount(), 100);
    ASSERT_EQ(debug.SG->columnCount(), 7);
    EXPECT_FALSE(debug.SG->horizontalHeader()->isVisible());
    EXPECT_FALSE(debug.SG->verticalHeader()->isVisible());
    EXPECT_EQ(debug.SG->columnWidth(6), 64);
    EXPECT_EQ(debug.SG->rowHeight(99), 16);
    EXPECT_EQ(debug.SG->item(0, 0), nullptr);
    EXPECT_TRUE(debug.M->toPlainText().isEmpty());
    EXPECT_EQ(debug.StatusBar1->height(), 19);
}

} // namespace
} // namespace sorvanti::test
