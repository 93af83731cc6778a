// The conversion buttons end to end: pane text in, the other pane's text out.
#include "commands/ConversionCommand.h"
#include "ProgramFolder.h"
#include "ScriptedRunner.h"
#include "documents/PaneLines.h"

#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>

namespace sorvanti::test {
namespace {

class Conversion : public ::testing::Test {
protected:
    void SetUp() override {
        program.addDictionary("方言", "犬 わんこ\nです やけん\n猫 にゃんこ\n");
        program.writeSettings("[辞書]\nName=方言\n");
        w = program.openWindow();
        ASSERT_TRUE(w->SBhenkan0->isEnabled());
    }
    // The pane's text as stored, lines joined by "\n" (no-break spaces stay).
    static QString raw(QTextEdit* edit) {
        return paneLines(*edit->document()).join(QLatin1Char('\n'));
    }

    ScriptedRunner runner;
    ProgramFolder program;
    std::unique_ptr<TVeruzazur> w;
};

TEST_F(Conversion, EachSourceLineBecomesOneTargetLineEndedByABreak) {
    w->pane(0).edit()->setPlainText(QStringLiteral("犬です\n\n猫と犬\n"));
    w->SBhenkan0->click();
    EXPECT_EQ(w->pane(1).edit()->toPlainText(),
              QStringLiteral("わんこやけん\n\nにゃんことわんこ\n"));
    EXPECT_EQ(paneLines(*w->pane(1).edit()->document()).size(), 3);
}

TEST_F(Conversion, LastLineWithoutBreakGetsOne) {
    w->pane(0).edit()->setPlainText(QStringLiteral("犬\n\n犬"));
    w->SBhenkan0->click();
    EXPECT_EQ(w->pane(1).edit()->toPlainText(), QStringLiteral("わんこ\n\nわんこ\n"));
}

TEST_F(Conversion, EmptySourceEmptiesTheTargetAndClearsItsModifiedFlag) {
    w->pane(1).edit()->setPlainText(QStringLiteral("古い文"));
    w->pane(1).edit()->document()->setModified(true);
    w->SBhenkan0->click();
    EXPECT_TRUE(w->pane(1).edit()->document()->isEmpty());
    EXPECT_FALSE(w->pane(1).edit()->document()->isModified());
}

TEST_F(Conversion, BackwardsFromTheLowerPaneReplacesUnsavedUpperText) {
    w->pane(0).edit()->setPlainText(QStringLiteral("未保存"));
    w->pane(0).edit()->document()->setModified(true);
    w->pane(1).edit()->setPlainText(QStringLiteral("にゃんこやけん"));
    w->SBhenkan1->click();
    EXPECT_EQ(w->pane(0).edit()->toPlainText(), QStringLiteral("猫です\n"));
    EXPECT_TRUE(w->pane(0).edit()->document()->isModified());
    EXPECT_TRUE(runner.boxes.empty());
}

TEST_F(Conversion, SourceAndActivePaneAndMenuStayAsTheyWere) {
    w->pane(1).edit()->setPlainText(QStringLiteral("猫"));
    w->pane(1).edit()->document()->setModified(false);
    w->SetActivePane(1);
    w->SBhenkan1->click();
    EXPECT_EQ(w->ActivePane, 1);
    EXPECT_EQ(w->pane(1).edit()->toPlainText(), QStringLiteral("猫"));
    EXPECT_FALSE(w->pane(1).edit()->document()->isModified());
    w->SBhenkan0->click();
    EXPECT_EQ(w->ActivePane, 1);
}

TEST_F(Conversion, CharactersWithoutCodePage932FormAndNoBreakSpacesComeThrough) {
    const QString source = QStringLiteral("犬😀犬\u00A0です\u00A0");
    w->pane(0).edit()->setPlainText(source);
    w->SBhenkan0->click();
    EXPECT_EQ(raw(w->pane(1).edit()), QStringLiteral("わんこ😀わんこ\u00A0やけん\u00A0"));
    EXPECT_EQ(raw(w->pane(0).edit()), source);
}

TEST_F(Conversion, EveryCodeUnitComesThroughAlsoALeadingFeffAndALoneSurrogate) {
    const QString source = QStringLiteral("\uFEFF犬") + QChar(0xDC00) + QStringLiteral("犬");
    w->pane(0).edit()->setPlainText(source);
    ASSERT_EQ(raw(w->pane(0).edit()), source);
    w->SBhenkan0->click();
    EXPECT_EQ(raw(w->pane(1).edit()),
              QStringLiteral("\uFEFFわんこ") + QChar(0xDC00) + QStringLiteral("わんこ"));
}

TEST_F(Conversion, LoneLeadByteAtLineEndIsCopiedWithoutError) {
    // U+F782 stands for the raw byte 0x82 of a malformed document line.
    w->pane(0).edit()->setPlainText(QStringLiteral("犬\uF782\n犬"));
    w->SBhenkan0->click();
    EXPECT_TRUE(runner.boxes.empty());
    EXPECT_EQ(raw(w->pane(1).edit()), QStringLiteral("わんこ\uF782\nわんこ"));
}

TEST_F(Conversion, RichTextSourceIsReadAsItsPlainLines) {
    w->pane(0).edit()->setHtml(QStringLiteral("<p><b>犬</b>です</p><p><i>猫</i></p>"));
    w->SBhenkan0->click();
    EXPECT_EQ(w->pane(1).edit()->toPlainText(), QStringLiteral("わんこやけん\nにゃんこ\n"));
}

TEST_F(Conversion, CaretsGoToTheTopOfBothPanes) {
    w->show();
    QString many;
    for (int i = 0; i < 300; ++i)
        many += QStringLiteral("犬です犬です犬です犬です犬です犬です犬です犬です\n");
    w->pane(0).edit()->setPlainText(many);
    QTextCursor end = w->pane(0).edit()->textCursor();
    end.movePosition(QTextCursor::End);
    w->pane(0).edit()->setTextCursor(end);
    w->pane(0).edit()->ensureCursorVisible();
    QApplication::processEvents();
    ASSERT_GT(w->pane(0).edit()->verticalScrollBar()->value(), 0);
    w->SBhenkan0->click();
    QApplication::processEvents();
    for (QTextEdit* edit : {w->pane(0).edit(), w->pane(1).edit()}) {
        EXPECT_EQ(edit->textCursor().position(), 0);
        EXPECT_FALSE(edit->textCursor().hasSelection());
        EXPECT_EQ(edit->verticalScrollBar()->value(), 0);
        EXPECT_EQ(edit->horizontalScrollBar()->value(), 0);
    }
}

TEST(PaneLines, ParagraphsAndLineSeparatorsAreLinesAndAFinalBreakOpensNone) {
    QTextDocument document;
    EXPECT_TRUE(paneLines(document).isEmpty());
    document.setPlainText(QStringLiteral("\n"));
    EXPECT_EQ(paneLines(document), QStringList{QString()});
    document.setPlainText(QStringLiteral("a\u2028b\nc\n\n"));
    EXPECT_EQ(paneLines(document), (QStringList{"a", "b", "c", ""}));
}

// The word-mode label and the conversion of "ねこがね".
QString wordsAndConversion(TVeruzazur& w) {
    w.pane(0).edit()->setPlainText(QStringLiteral("ねこがね"));
    w.SBhenkan0->click();
    return w.Lwords->text() + '|' + w.pane(1).edit()->toPlainText();
}

// Without the analyser's dictionary, one notice per load and plain matching meanwhile.
TEST(WordModeWindow, FollowsTheDictionaryAndFallsBackToPlainMatching) {
    ScriptedRunner runner;
    ProgramFolder program;
    program.addDictionary("単語", "#@単語単位\nね なあ\n");
    program.writeSettings("[辞書]\nName=単語\n");
    auto w = program.openWindow();
    EXPECT_EQ(wordsAndConversion(*w), QStringLiteral("単語単位|ねこがなあ\n"));
    EXPECT_TRUE(runner.boxes.empty());

    setenv("SORVANTI_MECAB_DICDIR", "/nowhere", 1);
    w = program.openWindow();
    unsetenv("SORVANTI_MECAB_DICDIR");
    w->show(); // the start-up's notice waits for the window
    QApplication::processEvents();
    EXPECT_EQ(runner.texts(),
              QStringList{QStringLiteral(
                  "この辞書は単語単位ですが、形態素解析の辞書 (mecab-ipadic-utf8) "
                  "が見つかりません: /nowhere\n単語の切れ目によらずに変換します。")});
    EXPECT_EQ(wordsAndConversion(*w), QStringLiteral("単語単位 (無効)|なあこがなあ\n"));
}

} // namespace
} // namespace sorvanti::test
