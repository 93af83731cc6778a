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

// The menus' items with their keys, shown in the menus; using the commands never changes
// which of them are there and enabled.
TEST_F(EditCommands, MenusShowTheirItemsAndKeys) {
    using K = QKeySequence;
    const std::pair<QAction*, QList<K>> items[] = {
        {w->New1, {K(Qt::CTRL | Qt::Key_N)}},
        {w->Open1, {K(Qt::CTRL | Qt::Key_O)}},
        {w->Save1, {K(Qt::CTRL | Qt::Key_S)}},
        {w->SaveAs1, {K(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}},
        {w->Print1, {K(Qt::CTRL | Qt::Key_P)}},
        {w->Exit1, {K(Qt::CTRL | Qt::Key_Q)}},
        {w->Undo1, {K(Qt::CTRL | Qt::Key_Z)}},
        {w->Redo1, {K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), K(Qt::CTRL | Qt::Key_Y)}},
        {w->Cut1, {K(Qt::CTRL | Qt::Key_X)}},
        {w->Copy1, {K(Qt::CTRL | Qt::Key_C)}},
        {w->Paste1, {K(Qt::CTRL | Qt::Key_V)}},
        {w->SelectAll1, {K(Qt::CTRL | Qt::Key_A)}},
        {w->Find1, {K(Qt::CTRL | Qt::Key_F)}},
        {w->FindNext1, {K(Qt::Key_F3)}},
        {w->FindPrevious1, {K(Qt::SHIFT | Qt::Key_F3)}},
        {w->Replace1, {K(Qt::CTRL | Qt::Key_H)}},
        {w->Contents1, {K(Qt::Key_F1)}},
    };
    const auto check = [&] {
        for (const auto& [action, keys] : items) {
            SCOPED_TRACE(action->objectName().toStdString());
            EXPECT_EQ(action->shortcuts(), keys);
            EXPECT_TRUE(action->isVisible());
        }
        for (QAction* a :
             {w->Undo1, w->Redo1, w->Cut1, w->Copy1, w->Paste1, w->SelectAll1, w->Find1,
              w->Replace1, w->Contents1, w->SearchforHelpOn1, w->HowtoUseHelp1})
            EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
        EXPECT_FALSE(w->PasteSpecial1->isVisible());
    };
    check();
    w->pane(0).edit()->setPlainText(u("abc"));
    select(0, 0, 1);
    for (QAction* a : {w->Undo1, w->Redo1, w->Cut1, w->Copy1, w->Paste1, w->SelectAll1})
        a->trigger();
    choose(&TVeruzazur::New1Click);
    check();
}

// Redo and select all act on the active pane, from the menu and from their keys whatever
// pane has the focus.
TEST_F(EditCommands, RedoAndSelectAllActOnTheActivePane) {
    QTest::keyClicks(w->pane(0).edit(), u("ab"));
    QTest::keyClicks(w->pane(1).edit(), u("x"));
    w->SetActivePane(0);
    w->Undo1->trigger();
    EXPECT_EQ(text(0), u(""));
    QTest::keySequence(w->pane(1).edit(), QKeySequence(Qt::CTRL | Qt::Key_Y));
    EXPECT_EQ(text(0), u("ab"));
    EXPECT_EQ(text(1), u("x"));
    QTest::keySequence(w->pane(1).edit(), QKeySequence(Qt::CTRL | Qt::Key_A));
    EXPECT_EQ(w->pane(0).edit()->textCursor().selectedText(), u("ab"));
    EXPECT_FALSE(w->pane(1).edit()->textCursor().hasSelection());
}

} // namespace
} // namespace sorvanti::test
