// Saving in the encoding the user chooses, the question that offers UTF-8 for what code page
// 932 lacks, and the save items following whatever changes the active pane.
#include "DocumentWindow.h"

#include <QClipboard>
#include <QComboBox>
#include <QToolButton>

namespace sorvanti::test {
namespace {

using Window = TVeruzazur;
using SaveCommands = DocumentWindow;
constexpr auto yes = QMessageBox::Yes;

TEST_F(SaveCommands, SaveAsOffersTheEncodingsAndProposesThePanesOwn) {
    type(0, u("メモ"));
    runner.fileAnswers = {ScriptedRunner::confirm(path("memo"), 2)};
    choose(&Window::SaveAs1Click);
    EXPECT_EQ(bytesOf(path("memo.svt")), "メモ");
    EXPECT_TRUE(plain(0));
    EXPECT_EQ(documentName(0), path("memo.svt"));
    EXPECT_EQ(w->pane(0).formatLabel(), u("UTF-8"));

    runner.fileAnswers = {ScriptedRunner::confirm(path("memo"), 3)};
    choose(&Window::SaveAs1Click);
    EXPECT_EQ(bytesOf(path("memo.rtf")).rfind("{\\rtf1", 0), 0u);
    EXPECT_FALSE(plain(0));

    // A name that the format rule makes plain text keeps the pane's encoding.
    runner.fileAnswers = {ScriptedRunner::confirm(path("memo.v2"))};
    choose(&Window::SaveAs1Click);
    EXPECT_EQ(bytesOf(path("memo.v2")), "メモ");

    ASSERT_EQ(runner.fileRequests.size(), 3u);
    EXPECT_EQ(runner.fileRequests[0].filter,
              u("テキスト (CP932)|*.svt;*.txt|テキスト (UTF-8)|*.svt;*.txt|リッチテキスト|*.rtf"));
    // Each time the dialog proposes the pane's own type: code page 932 for a new document,
    // then what the pane was last written in.
    for (const int i : {0, 1, 2})
        EXPECT_EQ(runner.fileRequests[size_t(i)].filterIndex, i + 1) << i;
}

TEST_F(SaveCommands, TextThatCodePage932LacksIsSavedAsUtf8WhenTheUserSaysSo) {
    // A conversion target without a document of its own takes the source's encoding.
    const QString utf8 = write("lf.txt", "犬\n");
    runner.fileAnswers = {ScriptedRunner::confirm(utf8)};
    choose(&Window::Open1Click);
    w->CBdictionary->setCurrentIndex(0);
    w->SBhenkan0->click();
    EXPECT_EQ(w->pane(1).formatLabel(), u("UTF-8 LF"));

    // A new document is code page 932; "はい" saves it as UTF-8 instead.
    makeActive(1);
    w->pane(1).clear();
    type(1, u("顔😀\n𠮷"));
    runner.answers = {yes};
    runner.fileAnswers = {ScriptedRunner::confirm(path("face.txt"))};
    choose(&Window::SaveAs1Click);
    ASSERT_EQ(runner.texts().size(), 1);
    EXPECT_EQ(bytesOf(path("face.txt")), "顔😀\r\n𠮷");
    EXPECT_EQ(w->pane(1).formatLabel(), u("UTF-8"));
    EXPECT_FALSE(modified(1));
}

// Whatever brings text into the active lower pane, or takes it out again, the save items
// follow at once: no click away and back is needed.
TEST_F(SaveCommands, SaveItemsFollowWhateverChangesTheActivePane) {
    w->CBdictionary->setCurrentIndex(0);
    w->pane(0).edit()->setPlainText(u("犬"));
    QGuiApplication::clipboard()->setText(u("貼る"));
    makeActive(1);
    w->SBhenkan0->click();
    EXPECT_EQ(saveItems(), std::make_pair(false, true)) << "a conversion";
    choose(&Window::Undo1Click);
    EXPECT_EQ(saveItems(), std::make_pair(false, false)) << "its undo";
    choose(&Window::Paste1Click);
    EXPECT_EQ(saveItems(), std::make_pair(false, true)) << "a paste";
    runner.fileAnswers = {ScriptedRunner::confirm(path("p.svt"))};
    choose(&Window::SaveAs1Click);
    EXPECT_EQ(saveItems(), std::make_pair(true, true)) << "Save As";
}

} // namespace
} // namespace sorvanti::test
