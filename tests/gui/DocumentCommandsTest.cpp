// The file menu on the panes: the format rule, Open, Save, Save As, New and its question,
// the enabling of Save and Save As, and what a failed load or save leaves behind.
#include "DocumentWindow.h"
#include "toolkit/FileDialog.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>

namespace sorvanti::test {
namespace {

using Window = TVeruzazur;
constexpr auto yes = QMessageBox::Yes;
constexpr auto no = QMessageBox::No;
constexpr auto cancelled = QMessageBox::Cancel;

const std::string kRtf = "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fnil\\fcharset128 "
                         "IPAGothic;}}\\f0\\fs20 \\b \\'91\\'be\\'8e\\'9a\\b0  plain\\par}";

bool firstCharBold(const QTextEdit* edit) {
    QTextCursor c(edit->document());
    c.setPosition(1);
    return c.charFormat().fontWeight() >= QFont::Bold;
}

using DocumentCommands = DocumentWindow;

TEST_F(DocumentCommands, DialogTextsAreBuiltOnceFromTheTypeTable) {
    EXPECT_EQ(w->DialogFilter, u("ｿﾙﾊﾞﾝﾁﾌｧｲﾙ (*.svt)|*.svt|ﾃｷｽﾄﾌｧｲﾙ (*.txt)|*.txt|"
                                 "ﾘｯﾁﾃｷｽﾄﾌｧｲﾙ (*.rtf)|*.rtf"));
    EXPECT_EQ(w->DialogDefaultExt, u("|*.svt|*.txt|*.rtf"));
}

TEST_F(DocumentCommands, FormatFollowsTheNameAtLoadAndAtSave) {
    // Upper-case ".RTF" is plain text: the pane shows the RTF source and saves it back as is.
    const QString report = write("Report.RTF", kRtf);
    runner.fileAnswers = {ScriptedRunner::confirm(report)};
    choose(&Window::Open1Click);
    EXPECT_TRUE(plain(0));
    EXPECT_TRUE(text(0).startsWith(u("{\\rtf1")));
    choose(&Window::Save1Click);
    EXPECT_EQ(bytesOf(report), kRtf);

    // ".rtf" anywhere in the path is Rich Text Format, in the name or in a folder.
    for (const char* name : {"notes.rtf.txt", "my.rtfs/a.txt"}) {
        runner.fileAnswers = {ScriptedRunner::confirm(write(name, kRtf))};
        choose(&Window::Open1Click);
        EXPECT_FALSE(plain(0)) << name;
        EXPECT_EQ(text(0), u("太字 plain")) << name;
        EXPECT_TRUE(firstCharBold(w->pane(0).edit())) << name;
    }

    // a.rtf holding plain text shows it as plain text, and saving it writes RTF.
    const QString a = write("a.rtf", cp932("ただの文\r\n二行目"));
    runner.fileAnswers = {ScriptedRunner::confirm(a)};
    choose(&Window::Open1Click);
    EXPECT_EQ(text(0), u("ただの文\n二行目"));
    EXPECT_FALSE(plain(0));
    choose(&Window::Save1Click);
    EXPECT_EQ(bytesOf(a).rfind("{\\rtf1", 0), 0u);
    runner.fileAnswers = {ScriptedRunner::confirm(a)};
    choose(&Window::Open1Click);
    EXPECT_EQ(text(0), u("ただの文\n二行目"));
    EXPECT_TRUE(runner.boxes.empty()) << runner.texts().join('|').toStdString();
}

TEST_F(DocumentCommands, FormattedPaneSavedAsSvtLosesItsFormatting) {
    runner.fileAnswers = {ScriptedRunner::confirm(write("f.rtf", kRtf))};
    choose(&Window::Open1Click);
    ASSERT_TRUE(firstCharBold(w->pane(0).edit()));
    runner.fileAnswers = {ScriptedRunner::confirm(path("f.svt"))};
    choose(&Window::SaveAs1Click);
    EXPECT_TRUE(plain(0));
    EXPECT_EQ(bytesOf(path("f.svt")), cp932("太字 plain"));
    runner.fileAnswers = {ScriptedRunner::confirm(path("f.svt"))};
    choose(&Window::Open1Click);
    EXPECT_EQ(text(0), u("太字 plain"));
    EXPECT_FALSE(firstCharBold(w->pane(0).edit()));
}

TEST_F(DocumentCommands, LoadReplacesTheTextPutsTheCaretAtTheStartAndEnablesSaving) {
    type(0, u("書きかけ"));
    EXPECT_EQ(saveItems(), std::make_pair(false, true));
    const QString file = write("読む.svt", cp932("一行目\r\n二行目\r\n"));
    runner.fileAnswers = {ScriptedRunner::confirm(file)};
    choose(&Window::Open1Click);
    // No question on a modified pane.
    EXPECT_TRUE(runner.boxes.empty());
    EXPECT_EQ(text(0), u("一行目\n二行目\n"));
    EXPECT_EQ(w->pane(0).edit()->textCursor().position(), 0);
    EXPECT_FALSE(w->pane(0).edit()->textCursor().hasSelection());
    EXPECT_FALSE(modified(0));
    EXPECT_EQ(documentName(0), file);
    EXPECT_EQ(saveItems(), std::make_pair(true, true));
    // The undo history starts with the loaded text.
    w->pane(0).edit()->undo();
    EXPECT_EQ(text(0), u("一行目\n二行目\n"));
}

TEST_F(DocumentCommands, SaveRightAfterLoadWritesTheSameBytes) {
    // Japanese, half-width kana, control characters, bytes that are no code page 932
    // text (a lead byte cut by the line end, 0x80, 0xA0, 0xFD-0xFF) and a CR inside a line.
    const std::string bytes = cp932("漢字とｶﾅ、全角ＡＢ\r\n") + "tab\there\x01\x7F\r\n" +
                              "\x81\r\n\x80\xA0\xFD\xFE\xFF\r\n" + "a\rb\r\n\r\n";
    const QString file = write("all.svt", bytes);
    runner.fileAnswers = {ScriptedRunner::confirm(file)};
    choose(&Window::Open1Click);
    QTextCursor c = w->pane(0).edit()->textCursor();
    c.setPosition(5);
    w->pane(0).edit()->setTextCursor(c);
    choose(&Window::Save1Click);
    EXPECT_TRUE(runner.boxes.empty()) << runner.texts().join('|').toStdString();
    EXPECT_EQ(bytesOf(file), bytes);
    EXPECT_EQ(w->pane(0).edit()->textCursor().position(), 0);
    EXPECT_EQ(saveItems(), std::make_pair(true, true));
}

TEST_F(DocumentCommands, SaveWritesTheEditedTextToTheDocumentAndClearsTheFlag) {
    const QString file = write("doc.txt", cp932("古い"));
    runner.fileAnswers = {ScriptedRunner::confirm(file)};
    choose(&Window::Open1Click);
    type(0, u("新しい\n行"));
    choose(&Window::Save1Click);
    EXPECT_EQ(bytesOf(file), cp932("新しい\r\n行"));
    EXPECT_FALSE(modified(0));
    // Without a document file name Save does nothing and shows nothing.
    makeActive(1);
    type(1, u("名無し"));
    choose(&Window::Save1Click);
    EXPECT_TRUE(modified(1));
    EXPECT_TRUE(runner.boxes.empty());
    EXPECT_EQ(runner.fileRequests.size(), 1u);
}

// Documents opened or saved are listed newest first, once each, also at the next start; a
// chosen one opens into the active pane, a missing one leaves the list with a note.
TEST_F(DocumentCommands, RecentFilesListOpenedAndSavedDocuments) {
    const QString a = write("a.txt", "A"), b = write("b.txt", "B");
    const auto listed = [this] {
        QStringList names;
        for (QAction* item : w->Recent1->actions())
            names << item->data().toString();
        return names;
    };
    for (const QString& file : {a, b, a}) {
        runner.fileAnswers = {ScriptedRunner::confirm(file)};
        choose(&Window::Open1Click);
    }
    runner.fileAnswers = {ScriptedRunner::confirm(path("c.txt"))};
    choose(&Window::SaveAs1Click);
    EXPECT_EQ(listed(), (QStringList{path("c.txt"), a, b}));
    w.reset();
    w = program.openWindow();
    ASSERT_EQ(listed(), (QStringList{path("c.txt"), a, b}));
    w->SetActivePane(1);
    w->Recent1->actions()[2]->trigger();
    EXPECT_EQ(text(1), u("B"));
    EXPECT_EQ(documentName(1), b);
    QFile::remove(a);
    w->Recent1->actions()[2]->trigger(); // a, now third
    EXPECT_EQ(listed(), (QStringList{b, path("c.txt")}));
    EXPECT_EQ(w->Lnote->text(), u("「a.txt」が見つからないため、最近使ったファイルから外しました"));
    EXPECT_EQ(text(1), u("B"));
}

TEST_F(DocumentCommands, OpenProposesTheDocumentNameAndKeepsItsTypeChoice) {
    const QString first = write("one.txt", "1");
    runner.fileAnswers = {ScriptedRunner::confirm(first, 2)};
    choose(&Window::Open1Click);
    runner.fileAnswers = {ScriptedRunner::cancel()};
    choose(&Window::Open1Click);
    ASSERT_EQ(runner.fileRequests.size(), 2u);
    const FileDialogRequest& again = runner.fileRequests[1];
    EXPECT_FALSE(again.save);
    EXPECT_EQ(again.fileName, first);
    EXPECT_EQ(again.filterIndex, 2);
    EXPECT_EQ(again.filter, w->DialogFilter + u("|すべてのファイル (*)|*"));
    EXPECT_EQ(again.defaultExt, w->DialogDefaultExt);
    // Cancel changed nothing.
    EXPECT_EQ(text(0), u("1"));
    EXPECT_EQ(documentName(0), first);
    // The other pane's open dialog has its own name and type.
    makeActive(1);
    choose(&Window::Open1Click);
    EXPECT_TRUE(runner.fileRequests[2].fileName.isEmpty());
    EXPECT_EQ(runner.fileRequests[2].filterIndex, 1);
}

TEST_F(DocumentCommands, OpenOfATypedMissingNameEmptiesThePaneAndKeepsTheName) {
    type(0, u("消える"));
    const QString missing = path("無い");
    // Typed without an extension with the ".svt" type chosen.
    runner.fileAnswers = {ScriptedRunner::confirm(missing)};
    choose(&Window::Open1Click);
    const QString name = missing + u(".svt");
    EXPECT_EQ(runner.texts(), QStringList{u("ファイル ") + name + u(" は開けません.")});
    EXPECT_EQ(runner.boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(runner.boxes[0].title, u("Sorvanti"));
    EXPECT_TRUE(text(0).isEmpty());
    EXPECT_FALSE(modified(0));
    EXPECT_EQ(documentName(0), name);
    // Save, enabled by the name, creates the file.
    EXPECT_EQ(saveItems(), std::make_pair(true, true));
    type(0, u("作った"));
    choose(&Window::Save1Click);
    EXPECT_EQ(bytesOf(name), cp932("作った"));
}

TEST_F(DocumentCommands, FailedLoadLeavesAnEmptyPaneAndTheMenuAsItWas) {
    const QString good = write("good.txt", cp932("良い"));
    runner.fileAnswers = {ScriptedRunner::confirm(good)};
    choose(&Window::Open1Click);
    type(0, u("変更"));
    runner.fileAnswers = {ScriptedRunner::confirm(path("gone.rtf"))};
    choose(&Window::Open1Click);
    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_TRUE(text(0).isEmpty());
    EXPECT_FALSE(modified(0));
    EXPECT_FALSE(plain(0)); // set from the failed name
    EXPECT_EQ(documentName(0), path("gone.rtf"));
    EXPECT_EQ(saveItems(), std::make_pair(true, true));
    EXPECT_EQ(bytesOf(good), cp932("良い"));
}

TEST_F(DocumentCommands, FailedSaveKeepsTheTextTheFlagAndTheOldFile) {
    const QString file = write("keep.svt", cp932("元のまま"));
    runner.fileAnswers = {ScriptedRunner::confirm(file)};
    choose(&Window::Open1Click);
    // A character without a code page 932 form is not saved in code page 932; the user
    // who does not want UTF-8 instead keeps the old file.
    type(0, u("絵文字😀入り"));
    runner.answers = {no};
    choose(&Window::Save1Click);
    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_EQ(runner.boxes[0].icon, QMessageBox::Question);
    EXPECT_EQ(
        runner.boxes[0].text,
        u("1行目の文字「😀」は CP932 のテキストファイルに保存できません。UTF-8 で保存しますか？"));
    EXPECT_EQ(text(0), u("絵文字😀入り"));
    EXPECT_TRUE(modified(0));
    EXPECT_EQ(bytesOf(file), cp932("元のまま"));
    EXPECT_EQ(saveItems(), std::make_pair(true, true));

    // A file that cannot be created: its folder is a file.
    write("plainfile", "x");
    const QString impossible = path("plainfile/sub.svt");
    w->pane(0).setFileName(impossible);
    type(0, u("保存できない"));
    choose(&Window::Save1Click);
    ASSERT_EQ(runner.boxes.size(), 2u);
    EXPECT_EQ(runner.boxes[1].text, u("ファイル ") + impossible + u(" を作成できません."));
    EXPECT_EQ(text(0), u("保存できない"));
    EXPECT_TRUE(modified(0));
}

// A pane keeps the encoding, mark and line ends its plain-text file was read with; code
// page 932 refuses what it cannot hold, UTF-8 does not; reading a code page 932 file or a
// fresh start of the pane's format bring code page 932 back.
TEST_F(DocumentCommands, PaneSavesInTheEncodingItsFileWasReadWith) {
    const std::string utf8 = "\xEF\xBB\xBFLinux の文\n😀 も\n";
    const QString file = write("linux.txt", utf8);
    runner.fileAnswers = {ScriptedRunner::confirm(file)};
    choose(&Window::Open1Click);
    EXPECT_EQ(text(0), u("Linux の文\n😀 も\n"));
    EXPECT_EQ(w->pane(0).formatLabel(), u("UTF-8 (BOM) LF"));
    choose(&Window::Save1Click);
    EXPECT_EQ(bytesOf(file), utf8);

    // Typed text that code page 932 lacks is saved too, also under another name.
    type(0, u("犬😀\n"));
    runner.fileAnswers = {ScriptedRunner::confirm(path("copy.svt"))};
    choose(&Window::SaveAs1Click);
    EXPECT_TRUE(runner.boxes.empty()) << runner.texts().join('|').toStdString();
    EXPECT_EQ(bytesOf(path("copy.svt")), "\xEF\xBB\xBF犬😀\n");

    const QString sjis = write("sjis.txt", cp932("犬\r\n"));
    runner.fileAnswers = {ScriptedRunner::confirm(sjis)};
    choose(&Window::Open1Click);
    EXPECT_EQ(w->pane(0).formatLabel(), u("CP932"));
    type(0, u("犬😀"));
    runner.answers = {no};
    choose(&Window::Save1Click);
    EXPECT_EQ(runner.boxes.size(), 1u); // the question, answered no
    EXPECT_EQ(bytesOf(sjis), cp932("犬\r\n"));

    runner.fileAnswers = {ScriptedRunner::confirm(file)};
    choose(&Window::Open1Click);
    EXPECT_EQ(w->pane(0).format().encoding, textencoding::Encoding::Utf8);
    w->pane(0).resetFormat();
    type(0, u("犬"));
    runner.fileAnswers = {ScriptedRunner::confirm(path("new.txt"))};
    choose(&Window::SaveAs1Click);
    EXPECT_EQ(bytesOf(path("new.txt")), cp932("犬"));

    // A rich-text document is shown as such on the status bar, right after its save.
    runner.fileAnswers = {ScriptedRunner::confirm(path("rich.rtf"))};
    choose(&Window::SaveAs1Click);
    EXPECT_EQ(w->Lencoding->text(), u("RTF"));
}

TEST_F(DocumentCommands, SaveAsReplacesAnExistingFileAndLeavesTheMenuAlone) {
    const QString file = write("old.svt", cp932("古い中身"));
    type(0, u("新"));
    runner.fileAnswers = {ScriptedRunner::confirm(file)};
    choose(&Window::SaveAs1Click);
    EXPECT_EQ(bytesOf(file), cp932("新"));
    EXPECT_FALSE(modified(0));
    EXPECT_TRUE(runner.boxes.empty());
    // The pane has a name now: Save is there at once.
    EXPECT_EQ(saveItems(), std::make_pair(true, true));
}

TEST_F(DocumentCommands, FailedSaveAsKeepsTheDocumentNameButRemembersTheChoice) {
    const QString file = write("doc.svt", cp932("文"));
    runner.fileAnswers = {ScriptedRunner::confirm(file)};
    choose(&Window::Open1Click);
    write("afile", "x");
    const QString bad = path("afile/x.svt");
    runner.fileAnswers = {ScriptedRunner::confirm(bad)};
    choose(&Window::SaveAs1Click);
    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_EQ(documentName(0), file);
    EXPECT_EQ(w->pane(0).saveDialog()->FileName, bad);
    // Cancel changes nothing.
    runner.fileAnswers = {ScriptedRunner::cancel()};
    choose(&Window::SaveAs1Click);
    EXPECT_EQ(w->pane(0).saveDialog()->FileName, bad);
    EXPECT_EQ(runner.boxes.size(), 1u);
}

TEST_F(DocumentCommands, EnablingFollowsLoadTypingActivePaneAndNew) {
    EXPECT_EQ(saveItems(), std::make_pair(false, false));
    QTest::keyClicks(w->pane(1).edit(), u("a"));
    EXPECT_EQ(saveItems(), std::make_pair(false, false));
    makeActive(1);
    EXPECT_EQ(saveItems(), std::make_pair(false, true));
    runner.fileAnswers = {ScriptedRunner::confirm(write("b.svt", "b"))};
    choose(&Window::Open1Click);
    EXPECT_EQ(saveItems(), std::make_pair(true, true));
    makeActive(0);
    EXPECT_EQ(saveItems(), std::make_pair(false, false));
    makeActive(1);
    choose(&Window::Save1Click);
    EXPECT_EQ(saveItems(), std::make_pair(true, true));
    // New disables both and keeps the names, so Save comes back with the pane.
    choose(&Window::New1Click);
    EXPECT_EQ(saveItems(), std::make_pair(false, false));
    EXPECT_EQ(documentName(1), path("b.svt"));
    makeActive(1);
    EXPECT_EQ(saveItems(), std::make_pair(true, true));
    type(1, u("新しい本文"));
    choose(&Window::Save1Click);
    EXPECT_EQ(bytesOf(path("b.svt")), cp932("新しい本文"));
}

TEST_F(DocumentCommands, NewAsksAboutEachChangedPaneActiveFirst) {
    struct Case {
        const char* name;
        bool changed[2];
        int active;
        std::deque<QMessageBox::StandardButton> answers;
        size_t asked;
        bool emptied;
    };
    const Case cases[] = {
        {"only the lower pane, cancelled", {false, true}, 0, {cancelled}, 1, false},
        {"both, no and no", {true, true}, 0, {no, no}, 2, true},
    };
    for (const Case& c : cases) {
        for (int p = 0; p < 2; ++p) {
            type(p, p == 0 ? u("上") : u("下"));
            w->pane(p).document().setModified(c.changed[p]);
        }
        makeActive(c.active);
        runner.boxes.clear();
        runner.answers = c.answers;
        choose(&Window::New1Click);
        EXPECT_EQ(runner.boxes.size(), c.asked) << c.name;
        EXPECT_EQ(runner.texts().filter(u("保存しますか？")).size(), qsizetype(c.asked)) << c.name;
        EXPECT_EQ(text(0).isEmpty(), c.emptied) << c.name;
        EXPECT_EQ(text(1).isEmpty(), c.emptied) << c.name;
        EXPECT_EQ(w->ActivePane, c.emptied ? 0 : c.active) << c.name;
    }
    // The active pane is asked first: saved, it stays saved when the other one is cancelled.
    type(0, u("上"));
    type(1, u("下"));
    makeActive(1);
    runner.answers = {yes, cancelled};
    runner.fileAnswers = {ScriptedRunner::confirm(path("lower.svt"))};
    choose(&Window::New1Click);
    EXPECT_EQ(bytesOf(path("lower.svt")), cp932("下"));
    EXPECT_EQ(text(0), u("上"));
    EXPECT_TRUE(modified(0));
}

TEST_F(DocumentCommands, NewYesSavesAsAndASaveThatDoesNotHappenAbandonsNew) {
    makeActive(1);
    type(1, u("保存する"));
    runner.answers = {yes};
    runner.fileAnswers = {ScriptedRunner::confirm(path("saved"), 1)};
    choose(&Window::New1Click);
    EXPECT_EQ(bytesOf(path("saved.svt")), cp932("保存する"));
    EXPECT_TRUE(text(1).isEmpty());
    EXPECT_EQ(w->ActivePane, 0);
    EXPECT_EQ(documentName(1), path("saved.svt"));

    // Yes asks Save As even when the pane has a name; cancelling it keeps everything.
    makeActive(1);
    type(1, u("捨てない"));
    runner.answers = {yes};
    runner.fileAnswers = {ScriptedRunner::cancel()};
    choose(&Window::New1Click);
    ASSERT_EQ(runner.fileRequests.size(), 2u);
    EXPECT_TRUE(runner.fileRequests[1].save);
    EXPECT_EQ(text(1), u("捨てない"));
    EXPECT_TRUE(modified(1));
    EXPECT_EQ(w->ActivePane, 1);
    EXPECT_EQ(bytesOf(path("saved.svt")), cp932("保存する"));
}

TEST_F(DocumentCommands, NewYesWithAFailedSaveAbandonsTheCommand) {
    write("blocker", "x");
    // A file in a folder that is a file, and a device that takes no more bytes.
    std::filesystem::create_symlink("/dev/full", path("full.svt").toStdString());
    for (const QString& target : {path("blocker/a.svt"), path("full.svt")}) {
        runner.boxes.clear();
        type(0, u("失わない"));
        type(1, u("下も"));
        runner.answers = {yes};
        runner.fileAnswers = {ScriptedRunner::confirm(target)};
        choose(&Window::New1Click);
        ASSERT_EQ(runner.boxes.size(), 2u) << target.toStdString();
        EXPECT_EQ(runner.boxes[1].icon, QMessageBox::Critical);
        EXPECT_EQ(text(0), u("失わない"));
        EXPECT_EQ(text(1), u("下も"));
        EXPECT_TRUE(modified(0));
    }
}

TEST_F(DocumentCommands, NewLeavesBothCaretsAtTheTopAndBothFramesReset) {
    makeActive(1);
    type(1, u("一\n二"));
    w->pane(1).edit()->document()->setModified(false);
    choose(&Window::New1Click);
    EXPECT_TRUE(runner.boxes.empty());
    for (QTextEdit* edit : {w->pane(0).edit(), w->pane(1).edit()}) {
        EXPECT_TRUE(edit->document()->isEmpty());
        EXPECT_EQ(edit->textCursor().position(), 0);
    }
    EXPECT_EQ(w->ActivePane, 0);
}

TEST(ChosenExtension, AddedOnlyToANameWithoutOne) {
    const QString filter = u("ｿﾙﾊﾞﾝﾁﾌｧｲﾙ (*.svt)|*.svt|ﾃｷｽﾄﾌｧｲﾙ (*.txt)|*.txt|"
                             "ﾘｯﾁﾃｷｽﾄﾌｧｲﾙ (*.rtf)|*.rtf");
    const QString ext = u("|*.svt|*.txt|*.rtf");
    EXPECT_EQ(FileDialog::withChosenExtension(u("/t/memo"), filter, 2, ext), u("/t/memo.txt"));
    EXPECT_EQ(FileDialog::withChosenExtension(u("/t/memo"), filter, 3, ext), u("/t/memo.rtf"));
    EXPECT_EQ(FileDialog::withChosenExtension(u("/a.b/memo"), filter, 1, ext), u("/a.b/memo.svt"));
    EXPECT_EQ(FileDialog::withChosenExtension(u("/t/.memo"), filter, 1, ext), u("/t/.memo.svt"));
    EXPECT_EQ(FileDialog::withChosenExtension(u("/t/memo.rtf"), filter, 1, ext), u("/t/memo.rtf"));
    EXPECT_EQ(FileDialog::withChosenExtension(u("/t/m.x.y"), filter, 2, ext), u("/t/m.x.y"));
    // Without a default extension the name is never changed.
    EXPECT_EQ(FileDialog::withChosenExtension(u("/t/memo"), filter, 2, QString()), u("/t/memo"));
}

} // namespace
} // namespace sorvanti::test
