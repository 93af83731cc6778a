// What a pane's text was before a conversion or a new document replaced it.
#include "DocumentWindow.h"

#include <QComboBox>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QToolButton>

namespace sorvanti::test {
namespace {

class PaneHistory : public DocumentWindow {
protected:
    void SetUp() override {
        DocumentWindow::SetUp();
        w->CBdictionary->setCurrentIndex(0);
    }
    QTextCharFormat formatAt(int p, int pos) const {
        QTextCursor c(w->pane(p).edit()->document());
        c.setPosition(pos);
        return c.charFormat();
    }
};

TEST_F(PaneHistory, UndoOnTheTargetPaneBringsBackWhatAConversionReplaced) {
    struct Case {
        const char* name;
        int source;
        const char* sourceText;
        const char* targetBefore;
        const char* targetAfter;
    };
    const Case cases[] = {
        {"変換", 0, "犬", "手で書いた文", "わんこ\n"},
        // An empty lower pane empties the upper one; undo brings the upper text back.
        {"逆変換 from an empty pane", 1, "", "消えては困る文", ""},
    };
    for (const Case& c : cases) {
        const int t = 1 - c.source;
        w->pane(c.source).edit()->setPlainText(u(c.sourceText));
        w->pane(t).edit()->setPlainText(u(c.targetBefore));
        QTextCursor bold(w->pane(t).edit()->document());
        bold.setPosition(1, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setFontWeight(QFont::Bold);
        bold.mergeCharFormat(format);
        w->pane(t).edit()->document()->setModified(true);

        (c.source == 0 ? w->SBhenkan0 : w->SBhenkan1)->click();
        EXPECT_EQ(text(t), u(c.targetAfter)) << c.name;
        makeActive(t);
        choose(&TVeruzazur::Undo1Click);
        EXPECT_EQ(text(t), u(c.targetBefore)) << c.name;
        EXPECT_EQ(formatAt(t, 1).fontWeight(), QFont::Bold) << c.name;
        EXPECT_TRUE(modified(t)) << c.name;
        // Nothing further to undo: the pane keeps its text.
        choose(&TVeruzazur::Undo1Click);
        EXPECT_EQ(text(t), u(c.targetBefore)) << c.name;
    }
}

TEST_F(PaneHistory, EditsAfterAConversionAreUndoneFirstAndANewDocumentForgetsTheOldText) {
    w->pane(0).edit()->setPlainText(u("犬"));
    w->pane(1).edit()->setPlainText(u("前の文"));
    w->SBhenkan0->click();
    makeActive(1);
    w->pane(1).edit()->textCursor().insertText(u("追記"));
    choose(&TVeruzazur::Undo1Click);
    EXPECT_EQ(text(1), u("わんこ\n"));
    choose(&TVeruzazur::Undo1Click);
    EXPECT_EQ(text(1), u("前の文"));

    w->SBhenkan0->click();
    runner.answers.push_back(QMessageBox::No);
    choose(&TVeruzazur::New1Click);
    makeActive(1);
    choose(&TVeruzazur::Undo1Click);
    EXPECT_TRUE(text(1).isEmpty());
}

TEST_F(PaneHistory, AnEmptiedPaneStartsAgainFromItsOwnFont) {
    // A document whose first character is bold in a serif face.
    const QString file = write("a.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0\\froman Serif;}}"
                                        "\\f0\\b X\\b0 y\\par}");
    w->pane(0).setFileName(file);
    w->LoadDocument();
    ASSERT_EQ(formatAt(0, 1).fontWeight(), QFont::Bold);
    choose(&TVeruzazur::New1Click);
    w->pane(0).edit()->textCursor().insertText(u("打った"));
    w->pane(1).edit()->setPlainText(u("犬"));
    w->SBhenkan1->click();
    for (int p = 0; p < 2; ++p) {
        EXPECT_NE(formatAt(p, 1).fontWeight(), QFont::Bold) << p;
        EXPECT_FALSE(formatAt(p, 1).fontFamilies().toStringList().contains(u("Serif"))) << p;
    }
}

} // namespace
} // namespace sorvanti::test
