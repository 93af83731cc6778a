// Undo, cut, copy and paste on the active pane, from the menu and by their shortcuts, with
// the keyboard focus anywhere in the window.
#include "DocumentWindow.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTextCharFormat>
#include <QTextCursor>

namespace sorvanti::test {
namespace {

class EditCommands : public DocumentWindow {
protected:
    void SetUp() override {
        DocumentWindow::SetUp();
        w->activateWindow();
        QApplication::clipboard()->setText(u("クリップ"));
    }
    void select(int p, int from, int to) {
        QTextCursor c = w->pane(p).edit()->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        w->pane(p).edit()->setTextCursor(c);
    }
    // A shortcut pressed with the keyboard focus in `focus`.
    void press(QWidget* focus, Qt::Key key) {
        focus->setFocus();
        QTest::keyClick(focus, key, Qt::ControlModifier);
    }
    static QString clipboard() { return QApplication::clipboard()->text(); }
};

TEST_F(EditCommands, PasteWithTheFocusInTheOtherPaneGoesToTheActivePane) {
    w->pane(0).edit()->setPlainText(u("あい"));
    select(0, 1, 1);
    w->pane(1).edit()->setPlainText(u("下"));
    press(w->pane(1).edit(), Qt::Key_V);
    EXPECT_EQ(text(0), u("あクリップい"));
    EXPECT_EQ(text(1), u("下"));
    EXPECT_TRUE(modified(0));
    // The pasted text can be saved.
    EXPECT_TRUE(w->SaveAs1->isEnabled());

    // The same with the focus in the selector's edit field, whose text stays.
    const QString selector = w->CBdictionary->currentText();
    press(w->CBdictionary->lineEdit(), Qt::Key_V);
    EXPECT_EQ(text(0), u("あクリップクリップい"));
    EXPECT_EQ(w->CBdictionary->currentText(), selector);
}

TEST_F(EditCommands, CutCopyAndUndoByShortcutActOnTheActivePane) {
    w->SetActivePane(1);
    w->pane(1).edit()->setPlainText(u("切り取る文"));
    w->pane(0).edit()->setPlainText(u("上"));
    select(1, 0, 3);
    press(w->pane(0).edit(), Qt::Key_C);
    EXPECT_EQ(clipboard(), u("切り取"));
    EXPECT_EQ(text(1), u("切り取る文"));

    select(1, 3, 5);
    press(w->CBdictionary->lineEdit(), Qt::Key_X);
    EXPECT_EQ(clipboard(), u("る文"));
    EXPECT_EQ(text(1), u("切り取"));

    press(w->pane(0).edit(), Qt::Key_Z);
    EXPECT_EQ(text(1), u("切り取る文"));
    EXPECT_EQ(text(0), u("上"));
}

TEST_F(EditCommands, CopyAndCutWithoutASelectionLeaveTheClipboard) {
    w->pane(0).edit()->setPlainText(u("選択なし"));
    select(0, 2, 2);
    press(w->pane(0).edit(), Qt::Key_C);
    EXPECT_EQ(clipboard(), u("クリップ"));
    w->Cut1->trigger();
    EXPECT_EQ(clipboard(), u("クリップ"));
    EXPECT_EQ(text(0), u("選択なし"));
    // A selection in the inactive pane does not count either.
    w->pane(1).edit()->setPlainText(u("下の選択"));
    select(1, 0, 2);
    w->Copy1->trigger();
    EXPECT_EQ(clipboard(), u("クリップ"));
}

TEST_F(EditCommands, PasteReplacesTheSelectionAndAnEmptyClipboardChangesNothing) {
    w->pane(0).edit()->setPlainText(u("置き換える"));
    select(0, 0, 2);
    w->Paste1->trigger();
    EXPECT_EQ(text(0), u("クリップ換える"));
    QApplication::clipboard()->clear();
    w->pane(0).edit()->document()->setModified(false);
    w->Paste1->trigger();
    EXPECT_EQ(text(0), u("クリップ換える"));
    EXPECT_FALSE(modified(0));
}

TEST_F(EditCommands, PastedFormattingStaysInThePaneAndPlainTextSavingDropsIt) {
    auto* rich = new QMimeData;
    rich->setHtml(u("<b>太い</b>字"));
    rich->setText(u("太い字"));
    QApplication::clipboard()->setMimeData(rich);
    w->Paste1->trigger();
    EXPECT_EQ(text(0), u("太い字"));
    QTextCursor c(w->pane(0).edit()->document());
    c.setPosition(1);
    EXPECT_GE(c.charFormat().fontWeight(), QFont::Bold);
    runner.fileAnswers = {ScriptedRunner::confirm(path("p.svt"))};
    choose(&TVeruzazur::SaveAs1Click);
    EXPECT_EQ(bytesOf(path("p.svt")), cp932("太い字"));
}

TEST_F(EditCommands, UndoFromTheMenuUndoesTheActivePanesLastEdit) {
    QTest::keyClicks(w->pane(1).edit(), u("x"));
    QTest::keyClicks(w->pane(0).edit(), u("a"));
    w->SetActivePane(1);
    w->Undo1->trigger();
    EXPECT_TRUE(text(1).isEmpty());
    EXPECT_EQ(text(0), u("a"));
}

TEST_F(EditCommands, MenuShowsTheEditItemsAsFixed) {
    EXPECT_EQ(w->Undo1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(w->Cut1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
    EXPECT_EQ(w->Copy1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    EXPECT_EQ(w->Paste1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_V));
    EXPECT_FALSE(w->Redo1->isVisible());
    EXPECT_FALSE(w->PasteSpecial1->isVisible());
    EXPECT_FALSE(w->Find1->isEnabled());
    EXPECT_FALSE(w->Replace1->isEnabled());
    // Using the commands never changes that.
    w->pane(0).edit()->setPlainText(u("abc"));
    select(0, 0, 1);
    for (QAction* a : {w->Undo1, w->Cut1, w->Copy1, w->Paste1})
        a->trigger();
    choose(&TVeruzazur::New1Click);
    EXPECT_FALSE(w->Redo1->isVisible());
    EXPECT_FALSE(w->Find1->isEnabled());
    for (QAction* a : {w->Undo1, w->Cut1, w->Copy1, w->Paste1})
        EXPECT_TRUE(a->isEnabled());
    // None of the file menu's items has a shortcut.
    for (QAction* a : w->File1->actions())
        EXPECT_TRUE(a->shortcut().isEmpty()) << a->objectName().toStdString();
}

} // namespace
} // namespace sorvanti::test
