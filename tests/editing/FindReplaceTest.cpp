// Find, wrap-around, letter case and replacing through the controller that the window's
// F3, Shift+F3 and the dialog's buttons use.
#include "editing/FindReplace.h"
#include "editing/FindReplaceDialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace sorvanti::test {
namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class FindReplaceTest : public ::testing::Test {
protected:
    void SetUp() override { find->setPane(pane); }
    void ask(const QString& what, bool matchCase, const QString& with = {}) {
        find->dialog()->Efind->setText(what);
        find->dialog()->CBcase->setChecked(matchCase);
        find->dialog()->Ereplace->setText(with);
    }
    void select(int from, int to) {
        QTextCursor c(pane->document());
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        pane->setTextCursor(c);
    }
    // The selection as "start:text".
    QString selection() const {
        const QTextCursor c = pane->textCursor();
        return QString::number(c.selectionStart()) + ':' + c.selectedText();
    }

    QWidget window;
    QTextEdit* pane = new QTextEdit(&window);
    QString note = u("<none>");
    FindReplace* find = new FindReplace(&window, [this](const QString& n) { note = n; });
};

// Lines start at 0, 8 and 16.
const char* const kText = "abc ABC\nＡｂｃ abc\nとても end";

TEST_F(FindReplaceTest, FindsWrapsAndFoldsCaseOnlyForLettersThatHaveOne) {
    const QString wrappedDown = u("文書の先頭から検索しました");
    const QString wrappedUp = u("文書の末尾から検索しました");
    struct Case {
        int from, to; // the selection before
        const char* query;
        bool matchCase, backward;
        QString selected; // "start:text" after
        QString note;
    };
    const Case cases[] = {
        {0, 0, "abc", false, false, "0:abc", ""},
        {0, 3, "abc", false, false, "4:ABC", ""}, // after the selection
        {5, 5, "abc", true, false, "12:abc", ""},
        {13, 13, "abc", true, false, "0:abc", wrappedDown},
        {0, 0, "abc", false, true, "12:abc", wrappedUp},
        {12, 15, "ａＢｃ", false, true, u("8:Ａｂｃ"), ""}, // full-width letters fold too
        {0, 0, "ａｂｃ", true, false, "0:", u("「ａｂｃ」は見つかりません")},
        {5, 5, "A", true, false, "4:A", wrappedDown}, // Ａ is no A
        {20, 20, "とても", false, true, u("16:とても"), ""},
        {0, 0, "c A", false, false, "2:c A", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.query) + (c.backward ? " up from " : " down from ") +
                     std::to_string(c.from));
        pane->setPlainText(u(kText));
        select(c.from, c.to);
        ask(u(c.query), c.matchCase);
        c.backward ? find->findPrevious() : find->findNext();
        EXPECT_EQ(selection(), c.selected);
        EXPECT_EQ(note, c.note);
    }
}

TEST_F(FindReplaceTest, ReplaceAllIsOneUndoStepThatSaysHowManyAndNeverRematchesItsOwnText) {
    const QString html =
        u("<p>abc <b>ABC</b> ａｂｃ <span style=\"color:#ff0000\">xabcx</span></p><p>abcabc</p>");
    struct Case {
        const char* query;
        bool matchCase;
        const char* with;
        int count;
        const char* after;
    };
    const Case cases[] = {
        {"abc", false, "xy", 5, "xy xy ａｂｃ xxyx\nxyxy"},
        {"abc", true, "abcabc", 4, "abcabc ABC ａｂｃ xabcabcx\nabcabcabcabc"},
        {"B", false, "", 5, "ac AC ａｂｃ xacx\nacac"},
        {"ｂ", false, "ビー", 1, "abc ABC ａビーｃ xabcx\nabcabc"},
        {"zzz", false, "q", 0, "abc ABC ａｂｃ xabcx\nabcabc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        pane->setHtml(html);
        const QString before = pane->toHtml();
        select(2, 2);
        ask(u(c.query), c.matchCase, u(c.with));
        EXPECT_EQ(find->replaceAll(), c.count);
        EXPECT_EQ(pane->toPlainText(), u(c.after));
        EXPECT_EQ(note, c.count ? QString::number(c.count) + u(" 個置換しました")
                                : u("「") + u(c.query) + u("」は見つかりません"));
        // One undo brings back the text as it was, formats included, and leaves nothing to undo.
        EXPECT_EQ(pane->document()->isUndoAvailable(), c.count > 0);
        pane->undo();
        EXPECT_EQ(pane->toHtml(), before);
        EXPECT_FALSE(pane->document()->isUndoAvailable());
    }
}

TEST_F(FindReplaceTest, ReplaceTakesTheSelectedMatchThenSelectsTheNext) {
    pane->setPlainText(u("a b a b a"));
    ask(u("A"), false, u("xx"));
    QStringList steps;
    for (int i = 0; i < 4; ++i) {
        find->replace();
        steps << selection() + '|' + note;
    }
    EXPECT_EQ(steps,
              QStringList({u("0:a|"), u("5:a|"), u("10:a|"), u("12:|「A」は見つかりません")}));
    EXPECT_EQ(pane->toPlainText(), u("xx b xx b xx"));
}

TEST_F(FindReplaceTest, NothingToFindOpensTheDialogAndAReadOnlyPaneTakesNoReplacement) {
    pane->setPlainText(u("abc"));
    find->findNext();
    EXPECT_TRUE(find->dialog()->isVisible());
    EXPECT_FALSE(find->dialog()->isModal());
    EXPECT_EQ(find->dialog()->windowTitle(), u("検索"));
    EXPECT_FALSE(find->dialog()->Bnext->isEnabled());

    pane->setReadOnly(true);
    find->setPane(pane);
    find->showReplace();
    ask(u("b"), false, u("x"));
    EXPECT_EQ(find->dialog()->windowTitle(), u("置換"));
    EXPECT_TRUE(find->dialog()->Bnext->isEnabled());
    EXPECT_FALSE(find->dialog()->BreplaceAll->isEnabled());
    EXPECT_EQ(find->replaceAll(), 0);
    EXPECT_EQ(pane->toPlainText(), u("abc"));
    EXPECT_EQ(note, u("この欄は読み取り専用のため置換できません"));
}

} // namespace
} // namespace sorvanti::test
