// The conversion buttons end to end: pane text in, the other pane's text out.
#include "commands/ConversionCommand.h"
#include "ProgramFolder.h"
#include "ScriptedRunner.h"
#include "documents/PaneLines.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

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
    w->REedit0->setPlainText(QStringLiteral("犬です\n\n猫と犬\n"));
    w->SBhenkan0->click();
    EXPECT_EQ(w->REedit1->toPlainText(), QStringLiteral("わんこやけん\n\nにゃんことわんこ\n"));
    EXPECT_EQ(paneLines(*w->REedit1->document()).size(), 3);
}

TEST_F(Conversion, LastLineWithoutBreakGetsOne) {
    w->REedit0->setPlainText(QStringLiteral("犬\n\n犬"));
    w->SBhenkan0->click();
    EXPECT_EQ(w->REedit1->toPlainText(), QStringLiteral("わんこ\n\nわんこ\n"));
}

TEST_F(Conversion, EmptySourceEmptiesTheTargetAndClearsItsModifiedFlag) {
    w->REedit1->setPlainText(QStringLiteral("古い文"));
    w->REedit1->document()->setModified(true);
    w->SBhenkan0->click();
    EXPECT_TRUE(w->REedit1->document()->isEmpty());
    EXPECT_FALSE(w->REedit1->document()->isModified());
}

TEST_F(Conversion, BackwardsFromTheLowerPaneReplacesUnsavedUpperText) {
    w->REedit0->setPlainText(QStringLiteral("未保存"));
    w->REedit0->document()->setModified(true);
    w->REedit1->setPlainText(QStringLiteral("にゃんこやけん"));
    w->SBhenkan1->click();
    EXPECT_EQ(w->REedit0->toPlainText(), QStringLiteral("猫です\n"));
    EXPECT_TRUE(w->REedit0->document()->isModified());
    EXPECT_TRUE(runner.boxes.empty());
}

TEST_F(Conversion, SourceAndActivePaneAndMenuStayAsTheyWere) {
    w->REedit1->setPlainText(QStringLiteral("猫"));
    w->REedit1->document()->setModified(false);
    w->SetActivePane(1);
    w->SBhenkan1->click();
    EXPECT_EQ(w->ActivePane, 1);
    EXPECT_EQ(w->REedit1->toPlainText(), QStringLiteral("猫"));
    EXPECT_FALSE(w->REedit1->document()->isModified());
    EXPECT_FALSE(w->SaveAs1->isEnabled());
    w->SBhenkan0->click();
    EXPECT_EQ(w->ActivePane, 1);
}

TEST_F(Conversion, CharactersWithoutCodePage932FormAndNoBreakSpacesComeThrough) {
    const QString source = QStringLiteral("犬😀犬\u00A0です\u00A0");
    w->REedit0->setPlainText(source);
    w->SBhenkan0->click();
    EXPECT_EQ(raw(w->REedit1), QStringLiteral("わんこ😀わんこ\u00A0やけん\u00A0"));
    EXPECT_EQ(raw(w->REedit0), source);
}

TEST_F(Conversion, EveryCodeUnitComesThroughAlsoALeadingFeffAndALoneSurrogate) {
    const QString source = QStringLiteral("\uFEFF犬") + QChar(0xDC00) + QStringLiteral("犬");
    w->REedit0->setPlainText(source);
    ASSERT_EQ(raw(w->REedit0), source);
    w->SBhenkan0->click();
    EXPECT_EQ(raw(w->REedit1),
              QStringLiteral("\uFEFFわんこ") + QChar(0xDC00) + QStringLiteral("わんこ"));
}

TEST_F(Conversion, LoneLeadByteAtLineEndIsCopiedWithoutError) {
    // U+F782 stands for the raw byte 0x82 of a malformed document line.
    w->REedit0->setPlainText(QStringLiteral("犬\uF782\n犬"));
    w->SBhenkan0->click();
    EXPECT_TRUE(runner.boxes.empty());
    EXPECT_EQ(raw(w->REedit1), QStringLiteral("わんこ\uF782\nわんこ"));
}

TEST_F(Conversion, RichTextSourceIsReadAsItsPlainLines) {
    w->REedit0->setHtml(QStringLiteral("<p><b>犬</b>です</p><p><i>猫</i></p>"));
    w->SBhenkan0->click();
    EXPECT_EQ(w->REedit1->toPlainText(), QStringLiteral("わんこやけん\nにゃんこ\n"));
}

TEST_F(Conversion, CaretsGoToTheTopOfBothPanes) {
    w->show();
    QString many;
    for (int i = 0; i < 300; ++i)
        many += QStringLiteral("犬です犬です犬です犬です犬です犬です犬です犬です\n");
    w->REedit0->setPlainText(many);
    QTextCursor end = w->REedit0->textCursor();
    end.movePosition(QTextCursor::End);
    w->REedit0->setTextCursor(end);
    w->REedit0->ensureCursorVisible();
    QApplication::processEvents();
    ASSERT_GT(w->REedit0->verticalScrollBar()->value(), 0);
    w->SBhenkan0->click();
    QApplication::processEvents();
    for (QTextEdit* edit : w->REedit) {
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

} // namespace
} // namespace sorvanti::test
