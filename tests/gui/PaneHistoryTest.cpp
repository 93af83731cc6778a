// What a pane's text was before a conversion or a new document replaced it.
#include "DocumentWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
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

TEST_F(PaneHistory, EditsAfterAConversionAreUndoneFirstAndEachReplacementInTurn) {
    w->pane(0).edit()->setPlainText(u("犬"));
    w->pane(1).edit()->setPlainText(u("前の文"));
    w->SBhenkan0->click();
    makeActive(1);
    w->pane(1).edit()->textCursor().insertText(u("追記"));
    choose(&TVeruzazur::Undo1Click);
    EXPECT_EQ(text(1), u("わんこ\n"));
    choose(&TVeruzazur::Undo1Click);
    EXPECT_EQ(text(1), u("前の文"));

    // New empties the converted text as one more step; undo goes back through both.
    w->SBhenkan0->click();
    runner.answers = {QMessageBox::No};
    choose(&TVeruzazur::New1Click);
    makeActive(1);
    choose(&TVeruzazur::Undo1Click);
    EXPECT_EQ(text(1), u("わんこ\n"));
    choose(&TVeruzazur::Undo1Click);
    EXPECT_EQ(text(1), u("前の文"));
}

// Redo takes the steps forward again, the text's own edits and the replacements alike, until the
// text that undo brought back is edited.
TEST_F(PaneHistory, RedoGoesForwardAgainUntilTheTextIsEdited) {
    w->pane(0).edit()->setPlainText(u("犬"));
    w->pane(1).edit()->setPlainText(u("前の文"));
    w->SBhenkan0->click();
    makeActive(1);
    w->pane(1).edit()->textCursor().insertText(u("追記"));
    const QString edited = text(1);
    const std::pair<void (TVeruzazur::*)(QObject*), QString> steps[] = {
        {&TVeruzazur::Undo1Click, u("わんこ\n")}, {&TVeruzazur::Undo1Click, u("前の文")},
        {&TVeruzazur::Redo1Click, u("わんこ\n")}, {&TVeruzazur::Redo1Click, edited},
        {&TVeruzazur::Redo1Click, edited},        {&TVeruzazur::Undo1Click, u("わんこ\n")},
        {&TVeruzazur::Undo1Click, u("前の文")},
    };
    for (const auto& [command, expected] : steps) {
        choose(command);
        EXPECT_EQ(text(1), expected);
    }
    w->pane(1).edit()->textCursor().insertText(u("新"));
    choose(&TVeruzazur::Redo1Click);
    EXPECT_EQ(text(1), u("新前の文"));
}

// Open, a drop and New each replace a pane's text as one step that undo takes back, with the
// text's formatting and modified flag; the pane keeps the name of its new state.
TEST_F(PaneHistory, UndoBringsBackWhatEachReplacementTookAway) {
    const QString file = write("読んだ.svt", cp932("読んだ文"));
    const QString missing = path("無い.svt");
    enum How { Open, Drop, New };
    struct Case {
        const char* name;
        How how;
        int pane;
        QString file; // also the name after the replacement
    };
    const Case cases[] = {
        {"開く", Open, 0, file},
        {"開く, a file that cannot be read", Open, 0, missing},
        {"a drop", Drop, 1, file},
        {"新規作成", New, 1, QString()},
    };
    const auto replace = [&](const Case& c) {
        const QWidget* view = w->pane(c.pane).edit()->viewport();
        runner.fileAnswers = {ScriptedRunner::confirm(c.file)};
        runner.answers = {QMessageBox::No, QMessageBox::No};
        if (c.how == Open)
            choose(&TVeruzazur::Open1Click);
        else if (c.how == New)
            choose(&TVeruzazur::New1Click);
        else
            guarded(w.get(), [&] {
                w->FilesDropped(view->mapTo(w.get(), view->rect().center()), {c.file});
            });
    };
    for (const Case& c : cases) {
        for (int p = 0; p < 2; ++p)
            w->pane(p).setFileName(QString());
        type(c.pane, u("手で書いた文"));
        QTextCursor bold(w->pane(c.pane).edit()->document());
        bold.setPosition(1, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setFontWeight(QFont::Bold);
        bold.mergeCharFormat(format);
        makeActive(c.pane);
        replace(c);
        ASSERT_NE(text(c.pane), u("手で書いた文")) << c.name;
        makeActive(c.pane);
        choose(&TVeruzazur::Undo1Click);
        EXPECT_EQ(text(c.pane), u("手で書いた文")) << c.name;
        EXPECT_EQ(formatAt(c.pane, 1).fontWeight(), QFont::Bold) << c.name;
        EXPECT_TRUE(modified(c.pane)) << c.name;
        EXPECT_EQ(documentName(c.pane), c.file) << c.name;
    }
}

TEST_F(PaneHistory, ATextLoadedIntoAnEmptyPaneStaysAndATooLargeOneIsNotKept) {
    const QString file = write("a.svt", "loaded");
    runner.fileAnswers = {ScriptedRunner::confirm(file)};
    choose(&TVeruzazur::Open1Click);
    choose(&TVeruzazur::Undo1Click);
    EXPECT_EQ(text(0), u("loaded"));

    // Two texts fit within the bound, a third pushes out the oldest; one text beyond the bound
    // is not kept at all, and the status bar says so.
    w->pane(0).setKeptLimit(20); // each of these takes 8 bytes
    for (const char* t : {"一番目", "二番目", "三番目"}) {
        type(0, u(t));
        w->pane(0).replaceText(u("置き換え"));
    }
    EXPECT_TRUE(w->Lnote->text().isEmpty());
    type(0, u("大きすぎる文章です。大きすぎる文章です。"));
    runner.fileAnswers = {ScriptedRunner::confirm(file)};
    choose(&TVeruzazur::Open1Click);
    EXPECT_EQ(w->Lnote->text(), u("元の文章は大きすぎるため、元に戻せません"));
    for (const char* expected : {"三番目", "二番目", "二番目"}) {
        choose(&TVeruzazur::Undo1Click);
        EXPECT_EQ(text(0), u(expected));
    }
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
