// The window in word mode: the dictionary's declaration, the status bar, the conversion, and
// the notice when the analyser's dictionary is missing.
#include "ProgramFolder.h"
#include "ScriptedRunner.h"
#include "commands/TOKBDtouroku.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>

namespace sorvanti::test {
namespace {

class WordModeWindow : public ::testing::Test {
protected:
    void SetUp() override {
        program.addDictionary("単語", "#@単語単位\nね なあ\n");
        program.addDictionary("平", "ね なあ\n");
        program.writeSettings("[辞書]\nName=単語\n");
    }
    void choose(TVeruzazur& w, const QString& name) {
        w.CBdictionary->setCurrentIndex(w.CBdictionary->findText(name));
    }
    // The upper pane's "ねこがね" converted into the lower pane.
    static QString converted(TVeruzazur& w) {
        w.pane(0).edit()->setPlainText(QStringLiteral("ねこがね"));
        w.SBhenkan0->click();
        return w.pane(1).edit()->toPlainText();
    }

    ScriptedRunner runner;
    ProgramFolder program;
};

TEST_F(WordModeWindow, FollowsTheLoadedDictionary) {
    auto w = program.openWindow();
    EXPECT_EQ(w->Lwords->text(), QStringLiteral("単語単位"));
    EXPECT_EQ(converted(*w), QStringLiteral("ねこがなあ\n"));
    choose(*w, QStringLiteral("平"));
    EXPECT_EQ(w->Lwords->text(), QString());
    EXPECT_EQ(converted(*w), QStringLiteral("なあこがなあ\n"));
    choose(*w, QStringLiteral("単語"));
    EXPECT_EQ(converted(*w), QStringLiteral("ねこがなあ\n"));
    EXPECT_TRUE(runner.boxes.empty());
}

// A registered pair keeps the table in word mode; only the same word is told as hiding it.
TEST_F(WordModeWindow, RegistrationKeepsWordMode) {
    auto w = program.openWindow();
    const auto registerPair = [&](const char* standard, const char* converted) {
        runner.boxes.clear();
        runner.dialogAnswers.push_back([=](QDialog& d) {
            auto& dialog = static_cast<TOKBDtouroku&>(d);
            dialog.Etango0->setText(QString::fromUtf8(standard));
            dialog.Etango1->setText(QString::fromUtf8(converted));
            return QDialog::Accepted;
        });
        w->SBtouroku->click();
    };
    registerPair("ねこ", "にゃんこ");
    EXPECT_TRUE(runner.boxes.empty()) << runner.texts().join('|').toStdString();
    EXPECT_TRUE(w->dictionary().wordMode());
    EXPECT_EQ(converted(*w), QStringLiteral("にゃんこがなあ\n"));
    registerPair("ね", "なもし");
    EXPECT_EQ(runner.texts(), QStringList{QStringLiteral(
                                  "登録しました。変換では、先にある「ね なあ」が先に一致するので、"
                                  "この組は使われません。")});
}

// One notice per load of a word-mode dictionary; it converts in plain mode meanwhile.
TEST_F(WordModeWindow, WithoutTheAnalyserItConvertsPlainlyAfterOneNotice) {
    const struct Nowhere {
        Nowhere() { setenv("SORVANTI_MECAB_DICDIR", "/nowhere", 1); }
        ~Nowhere() { unsetenv("SORVANTI_MECAB_DICDIR"); }
    } nowhere;
    auto w = program.openWindow();
    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_EQ(runner.boxes[0].text,
              QStringLiteral("この辞書は単語単位ですが、形態素解析の辞書 (mecab-ipadic-utf8) が"
                             "見つかりません: /nowhere\n単語の切れ目によらずに変換します。"));
    EXPECT_EQ(w->Lwords->text(), QStringLiteral("単語単位 (無効)"));
    EXPECT_EQ(converted(*w), QStringLiteral("なあこがなあ\n"));
    choose(*w, QStringLiteral("平"));
    choose(*w, QStringLiteral("単語"));
    EXPECT_EQ(runner.boxes.size(), 2u);
}

} // namespace
} // namespace sorvanti::test
