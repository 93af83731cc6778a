// The dictionary selector: catalogue, remembered name, picks, typing and failed loads.
#include "ProgramFolder.h"
#include "ScriptedRunner.h"
#include "conversion/DictionaryTable.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace sorvanti::test {
namespace {

const QString kNotFound = QStringLiteral("辞書ファイルが見つかりません。");
const QString kCannotOpen = QStringLiteral("辞書ファイルが開けません。");

QStringList items(const QComboBox* box) {
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list << box->itemText(i);
    return list;
}

bool buttonsEnabled(const TVeruzazur& w) {
    return w.SBhenkan0->isEnabled() && w.SBhenkan1->isEnabled() && w.SBtouroku->isEnabled();
}

std::string pairs(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text.append("w").append(std::to_string(i)).append(" v").append(std::to_string(i)) += '\n';
    return text;
}

class Selection : public ::testing::Test {
protected:
    void remember(const std::string& name) { program.writeSettings("[辞書]\nName=" + name + "\n"); }
    ScriptedRunner runner;
    ProgramFolder program;
};

TEST_F(Selection, MissingOrEmptyFolderIsReportedOnceAndLeavesTheButtonsDisabled) {
    for (bool removeFolder : {true, false}) {
        ScriptedRunner local;
        if (removeFolder)
            program.removeDictionaryFolder();
        else
            std::filesystem::create_directories(program.folder.path() + "辞書");
        remember("標準");
        auto w = program.openWindow();
        EXPECT_EQ(local.texts(), QStringList{kNotFound});
        EXPECT_EQ(local.boxes[0].icon, QMessageBox::NoIcon);
        EXPECT_EQ(local.boxes[0].buttons, QMessageBox::Ok);
        EXPECT_EQ(w->CBdictionary->count(), 0);
        EXPECT_EQ(w->CBdictionary->currentText(), QStringLiteral("標準"));
        EXPECT_EQ(w->CBdictionaryTag, -1);
        EXPECT_FALSE(buttonsEnabled(*w));
    }
}

TEST_F(Selection, NamesAreSortedIgnoringCaseAndTheRememberedOneIsLoaded) {
    program.addDictionary("b", "犬 猫\n鳥 魚\n");
    program.addDictionary("C", "x y\n");
    program.addDictionary("a", "x y\n");
    remember("b");
    auto w = program.openWindow();
    EXPECT_EQ(items(w->CBdictionary), (QStringList{"a", "b", "C"}));
    EXPECT_EQ(w->CBdictionary->currentIndex(), 1);
    EXPECT_EQ(w->CBdictionaryTag, 1);
    EXPECT_TRUE(buttonsEnabled(*w));
    EXPECT_EQ(w->dictionary().count(), 2);
    EXPECT_EQ(w->dictionary().path(), program.folder.path() + "辞書/b.txt");
    EXPECT_TRUE(runner.boxes.empty());
    // FormCreate's second call of the handler finds the index loaded and does nothing.
    program.addDictionary("b", "犬 猫\n");
    w->FormCreate(w.get());
    EXPECT_EQ(w->dictionary().count(), 2);
}

TEST_F(Selection, NameDifferingInCaseSelectsNothing) {
    program.addDictionary("Kansai", "x y\n");
    remember("kansai");
    auto w = program.openWindow();
    EXPECT_EQ(w->CBdictionary->currentIndex(), -1);
    EXPECT_EQ(w->CBdictionary->currentText(), QStringLiteral("kansai"));
    EXPECT_EQ(w->CBdictionaryTag, -1);
    EXPECT_FALSE(buttonsEnabled(*w));
    EXPECT_EQ(w->dictionary().count(), 0);
}

TEST_F(Selection, PickLoadsOnceAndRepickingTheLoadedItemReadsNothing) {
    program.addDictionary("a", "x y\n");
    program.addDictionary("b", "x y\np q\n");
    auto w = program.openWindow();
    ASSERT_FALSE(buttonsEnabled(*w));

    w->CBdictionary->setCurrentIndex(0);
    EXPECT_EQ(w->CBdictionaryTag, 0);
    EXPECT_TRUE(buttonsEnabled(*w));
    EXPECT_EQ(w->CBdictionary->currentText(), QStringLiteral("a"));
    EXPECT_EQ(w->dictionary().count(), 1);

    program.addDictionary("a", "x y\np q\nr s\n");
    w->CBdictionaryChange(w->CBdictionary);
    EXPECT_EQ(w->dictionary().count(), 1);

    w->CBdictionary->setCurrentIndex(1);
    EXPECT_EQ(w->dictionary().count(), 2);
    w->CBdictionary->setCurrentIndex(0);
    EXPECT_EQ(w->dictionary().count(), 3);
    EXPECT_TRUE(runner.boxes.empty());
}

TEST_F(Selection, TypingLoadsNothingAndTheTypedTextIsKept) {
    program.addDictionary("a", "x y\n");
    program.addDictionary("b", "x y\np q\n");
    remember("a");
    auto w = program.openWindow();
    ASSERT_EQ(w->dictionary().count(), 1);
    QLineEdit* field = w->CBdictionary->lineEdit();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("b"));
    QTest::keyClick(field, Qt::Key_Return);
    field->clearFocus();
    EXPECT_EQ(w->CBdictionary->currentText(), QStringLiteral("b"));
    EXPECT_EQ(w->CBdictionary->currentIndex(), 0);
    EXPECT_EQ(w->CBdictionaryTag, 0);
    EXPECT_EQ(w->dictionary().count(), 1);
    EXPECT_EQ(w->CBdictionary->count(), 2);
}

TEST_F(Selection, FailedLoadStillCountsAsChosen) {
    program.addDictionary("a", "x y\n");
    program.addDictionary("b", "x y\n");
    remember("a");
    auto w = program.openWindow();
    std::filesystem::remove(program.folder.path() + "辞書/b.txt");

    w->CBdictionary->setCurrentIndex(1);
    EXPECT_EQ(runner.texts(), QStringList{kCannotOpen});
    EXPECT_EQ(w->CBdictionaryTag, 1);
    EXPECT_TRUE(buttonsEnabled(*w));
    // The dictionary loaded before stays in force; the path names the one that failed.
    EXPECT_EQ(w->dictionary().count(), 1);
    EXPECT_EQ(w->dictionary().path(), program.folder.path() + "辞書/b.txt");

    w->CBdictionaryChange(w->CBdictionary);
    EXPECT_EQ(runner.boxes.size(), 1u);
    w->CBdictionary->setCurrentIndex(0);
    w->CBdictionary->setCurrentIndex(1);
    EXPECT_EQ(runner.boxes.size(), 2u);
}

TEST_F(Selection, FailedLoadAsTheFirstChoiceEnablesTheButtons) {
    program.addDictionary("a", "x y\n");
    program.addDictionary("b", "x y\n");
    auto w = program.openWindow();
    std::filesystem::remove(program.folder.path() + "辞書/a.txt");
    w->CBdictionary->setCurrentIndex(0);
    EXPECT_EQ(runner.texts(), QStringList{kCannotOpen});
    EXPECT_TRUE(buttonsEnabled(*w));
    EXPECT_EQ(w->dictionary().count(), 0);
}

TEST_F(Selection, DictionaryBeyondTheTableIsCutWithANotice) {
    program.addDictionary("big", pairs(2005));
    remember("big");
    auto w = program.openWindow();
    // A notice of the start-up waits until the window is on the screen.
    EXPECT_TRUE(runner.boxes.empty());
    w->show();
    QApplication::processEvents();
    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_EQ(runner.boxes[0].buttons, QMessageBox::Ok);
    EXPECT_TRUE(runner.boxes[0].text.contains(QStringLiteral("2000")));
    EXPECT_EQ(w->dictionary().count(), DictionaryTable::kCapacity);
    EXPECT_EQ(w->dictionary().word(1999, 0), "w1999");
}

} // namespace
} // namespace sorvanti::test
