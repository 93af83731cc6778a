// The dictionary editor from the main window: each edit undone and redone, the question at
// closing, the table in force after a save, a "登録" and another program meanwhile, new
// dictionaries, and word mode's switch, findings and trial.
#include "ProgramFolder.h"
#include "ScriptedRunner.h"
#include "commands/TOKBDtouroku.h"
#include "dictedit/DictionaryModel.h"
#include "dictedit/DictionaryView.h"
#include "dictedit/TFjisho.h"
#include "dictedit/TOKBDshinki.h"
#include "dictedit/TrialConversion.h"
#include "support/Bytes.h"
#include "support/Utf8.h"
#include "toolkit/TextEncoding.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>

namespace sorvanti::test {
namespace {

class DictionaryEditor : public ::testing::Test {
public:
    void open(const char* pairs) {
        program.addDictionary("練習", pairs);
        program.writeSettings("[辞書]\nName=練習\n");
        w = program.openWindow();
        w->Jisho1->trigger();
        ASSERT_NE(w->Fjisho, nullptr);
        e = w->Fjisho;
    }
    std::string file() const { return readBytes(program.folder.path() + "辞書/練習.txt"); }
    std::string table() const { return e->model().document().fileBytes(); }
    QModelIndex cell(int row, int column) const { return e->SGjisho->model()->index(row, column); }
    void select(std::initializer_list<int> rows) {
        QItemSelectionModel* s = e->SGjisho->selectionModel();
        s->clear();
        for (const int row : rows)
            s->select(cell(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        s->setCurrentIndex(cell(*rows.begin(), 1), QItemSelectionModel::NoUpdate);
    }
    void setText(int row, int column, const char* utf8) {
        ASSERT_TRUE(e->SGjisho->model()->setData(cell(row, column), u(utf8)));
    }
    QString convert(const char* utf8) {
        w->pane(0).edit()->setPlainText(u(utf8));
        w->SBhenkan0->click();
        return w->pane(1).edit()->toPlainText();
    }

    ScriptedRunner runner;
    ProgramFolder program;
    std::unique_ptr<TVeruzazur> w;
    TFjisho* e = nullptr;
};

TEST_F(DictionaryEditor, EachEditIsUndoneAndRedone) {
    using M = DictionaryModel;
    const struct {
        const char* name;
        std::function<void(DictionaryEditor&)> edit;
        std::string after;
    } cases[] = {
        {"field", [](auto& t) { t.setText(1, M::ConvertedColumn, "x"); },
         "ab 1\r\nb x\r\nabc 3\r\n"},
        {"insert", [](auto& t) { t.select({0}), t.e->Sounyuu1->trigger(); },
         "ab 1\r\n\r\nb 2\r\nabc 3\r\n"},
        {"delete",
         [](auto& t) {
             t.select({0, 2}), t.e->Sakujo1->trigger();
         },
         "b 2\r\n"},
        {"down", [](auto& t) { t.select({0}), t.e->Shita1->trigger(); },
         "b 2\r\nab 1\r\nabc 3\r\n"},
        {"up",
         [](auto& t) {
             t.select({1, 2}), t.e->Ue1->trigger();
         },
         "b 2\r\nabc 3\r\nab 1\r\n"},
        {"drop", [](auto& t) { t.select({2}), emit t.e->SGjisho->rowsDropped(1); },
         "ab 1\r\nabc 3\r\nb 2\r\n"},
        {"before the hiding line", [](auto& t) { t.select({2}), t.e->Saki1->trigger(); },
         "abc 3\r\nab 1\r\nb 2\r\n"},
        {"typed over what the search shows",
         [](auto& t) {
             t.e->show();
             t.e->Ekensaku->setText("2");
             t.e->SGjisho->edit(t.cell(0, M::ConvertedColumn));
             auto* line =
                 qobject_cast<QLineEdit*>(t.e->SGjisho->indexWidget(t.cell(0, M::ConvertedColumn)));
             ASSERT_NE(line, nullptr);
             line->selectAll();
             QTest::keyClicks(line, "x");
             EXPECT_EQ(t.e->SGjisho->indexWidget(t.cell(0, M::ConvertedColumn)), line);
             t.e->SGjisho->commitEditing();
             t.e->Ekensaku->clear();
         },
         "ab 1\r\nb x\r\nabc 3\r\n"},
    };
    open("ab 1\nb 2\nabc 3\n");
    const std::string before = table();
    for (const auto& c : cases) {
        c.edit(*this);
        EXPECT_EQ(table(), c.after) << c.name;
        EXPECT_TRUE(e->modified()) << c.name;
        e->Undo1->trigger();
        EXPECT_EQ(table(), before) << c.name;
        EXPECT_FALSE(e->modified()) << c.name;
        e->Redo1->trigger();
        EXPECT_EQ(table(), c.after) << c.name;
        e->Undo1->trigger();
    }
    // The hidden pair's finding names the line that hides it, and leads there.
    EXPECT_EQ(cell(2, M::FindingColumn).data().toString(), u("変換では 1 行目「ab」が先"));
    select({2});
    e->Genin1->trigger();
    EXPECT_EQ(e->SGjisho->selectedRows(), QList<int>{0});
    EXPECT_EQ(file(), before);
}

TEST_F(DictionaryEditor, ClosingWithChangesAsksAndLosesNothing) {
    const struct {
        QMessageBox::StandardButton answer;
        bool closed;
        const char* file;
    } cases[] = {
        {QMessageBox::Cancel, false, "a 1\r\n"},
        {QMessageBox::Discard, true, "a 1\r\n"},
        {QMessageBox::Save, true, "a 2\r\n"},
    };
    open("a 1\n");
    for (const auto& c : cases) {
        e->show();
        setText(0, DictionaryModel::ConvertedColumn, "2");
        runner.boxes.clear();
        runner.answers = {c.answer};
        EXPECT_EQ(e->close(), c.closed);
        ASSERT_EQ(runner.texts(), QStringList{u("辞書「練習」は変更されています。保存しますか？")});
        EXPECT_EQ(runner.boxes[0].buttons,
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        EXPECT_EQ(file(), c.file);
        EXPECT_EQ(e->modified(), !c.closed);
        if (!c.closed)
            e->Undo1->trigger();
    }
    // What is still being typed into a field is part of the changes.
    e->show();
    e->SGjisho->edit(cell(0, DictionaryModel::NoteColumn));
    ASSERT_NE(e->SGjisho->viewport()->findChild<QLineEdit*>(), nullptr);
    e->SGjisho->viewport()->findChild<QLineEdit*>()->setText(u("メモ"));
    runner.answers = {QMessageBox::Save};
    EXPECT_TRUE(e->close());
    EXPECT_EQ(file(), ProgramFolder::cp932("a 2\tメモ\r\n"));
    // The main window asks the editor first; cancelled, the program stays.
    setText(0, DictionaryModel::ConvertedColumn, "3");
    runner.answers = {QMessageBox::Cancel};
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(e->modified());
}

TEST_F(DictionaryEditor, APairMovedBeforeTheOneItShouldBeatConvertsAfterTheSave) {
    open("犬 わんこ\n");
    EXPECT_EQ(e->windowTitle(), u("練習[*] - 辞書の編集"));
    e->Sounyuu1->trigger();
    setText(1, DictionaryModel::StandardColumn, "犬小屋");
    setText(1, DictionaryModel::ConvertedColumn, "わんこハウス");
    EXPECT_EQ(convert("犬小屋"), u("わんこ小屋\n")); // not saved yet
    select({1});
    e->Saki1->trigger();
    // 試す uses the table as it stands, and names the line of each replacement.
    e->GBtamesu->Etamesu->setText(u("犬小屋の犬"));
    EXPECT_EQ(e->GBtamesu->REkekka0->toPlainText(), u("わんこハウスのわんこ"));
    EXPECT_EQ(e->GBtamesu->REkekka1->toPlainText(), u("犬小屋の犬"));
    QTextCursor at(e->GBtamesu->REkekka0->document());
    at.setPosition(1);
    EXPECT_EQ(at.charFormat().toolTip(), u("1 行目「犬小屋 わんこハウス」"));

    e->Hozon1->trigger();
    EXPECT_EQ(file(), ProgramFolder::cp932("犬小屋\t\tわんこハウス\r\n犬 わんこ\r\n"));
    EXPECT_FALSE(e->modified());
    EXPECT_EQ(convert("犬小屋"), u("わんこハウス\n"));
    w.reset();
    const std::string ini = readBytes(program.settingsPath());
    EXPECT_NE(ini.find(ProgramFolder::cp932("[辞書編集]")), std::string::npos) << ini;
}

TEST_F(DictionaryEditor, ChangesMadeElsewhereAreNeverOverwrittenSilently) {
    open("a 1\n");
    setText(0, DictionaryModel::ConvertedColumn, "2");
    // A "登録" in the main window meanwhile: its line joins the table, and both are saved.
    runner.dialogAnswers.push_back([](QDialog& d) {
        auto& dialog = static_cast<TOKBDtouroku&>(d);
        dialog.Etango0->setText(u("b"));
        dialog.Etango1->setText(u("9"));
        dialog.OKBtn->click(); // "登録" registers, then closes the dialog
        return dialog.result();
    });
    w->SBtouroku->click();
    e->Hozon1->trigger();
    EXPECT_EQ(file(), "a 2\r\nb\t\t9\r\n");
    EXPECT_TRUE(runner.boxes.empty()) << runner.texts().join('|').toStdString();

    // Another program rewrote it: asked; "変更を破棄" takes the file, "保存" the table.
    const struct {
        QMessageBox::StandardButton answer;
        const char* elsewhere;
        const char* file;
        const char* table;
    } cases[] = {
        {QMessageBox::Cancel, "z 0\r\n", "z 0\r\n", "y 2\r\nb\t\t9\r\n"},
        {QMessageBox::Discard, "z 1\r\n", "z 1\r\n", "z 1\r\n"},
        {QMessageBox::Save, "z 2\r\n", "y 1\r\n", "y 1\r\n"},
    };
    for (const auto& c : cases) {
        program.folder.write("辞書/練習.txt", c.elsewhere);
        setText(0, DictionaryModel::StandardColumn, "y");
        runner.boxes.clear();
        runner.answers = {c.answer};
        e->Hozon1->trigger();
        ASSERT_EQ(runner.boxes.size(), 1u);
        EXPECT_EQ(runner.boxes[0].text.section('\n', 0, 0),
                  u("辞書ファイルが他で変更されています。"));
        EXPECT_EQ(file(), c.file);
        EXPECT_EQ(table(), c.table);
        if (c.answer == QMessageBox::Cancel)
            e->Undo1->trigger();
    }
}

// A table kept at the program's end comes back unsaved, in its file's encoding, whatever
// happened to the file since: lines appended are taken in, another change is asked about at
// the save, a file gone is made again by it.
TEST_F(DictionaryEditor, AKeptTableComesBackAndTheFilesChangesMeanwhileAreNotOverwritten) {
    const std::string path = program.folder.path() + "辞書/練習.txt";
    const struct {
        const char* file;
        std::function<void()> meanwhile;
        const char* status;
        size_t boxes; // at the save, answered 保存
        const char* saved;
    } cases[] = {
        {"a 1\r\n", [&] { std::ofstream(path, std::ios::app) << "b 3\r\n"; },
         "辞書ファイルに書き足された 1 行を、表の最後に取り込みました。", 0, "a 2\r\nb 3\r\n"},
        {"a 1\r\n", [&] { program.folder.write("辞書/練習.txt", "z 0\r\n"); },
         "辞書ファイルが他で変更されています。保存するときに確かめます。", 1, "a 2\r\n"},
        {"a 1\r\n", [&] { std::remove(path.c_str()); },
         "辞書ファイルが見つかりません。保存すると作り直します。", 0, "a 2\r\n"},
        // Its bytes alone would read as code page 932.
        {"a \xE7\x8A\xAC\n", [] {}, "前回の編集内容を復元しました。保存していません。", 0, "a 2\n"},
    };
    program.writeSettings("[辞書]\nName=練習\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        program.folder.write("辞書/練習.txt", c.file);
        w = program.openWindow();
        w->Jisho1->trigger();
        e = w->Fjisho;
        setText(0, DictionaryModel::ConvertedColumn, "2");
        w.reset();
        c.meanwhile();
        w = program.openWindow();
        ASSERT_NE(e = w->Fjisho, nullptr);
        EXPECT_EQ(e->statusBar()->currentMessage(), u(c.status));
        EXPECT_EQ(e->model().document().encoding(), textencoding::detect(c.file).encoding);
        runner.boxes.clear();
        runner.answers = {QMessageBox::Save};
        e->Hozon1->trigger();
        EXPECT_EQ(runner.boxes.size(), c.boxes);
        EXPECT_EQ(file(), c.saved);
    }
}

TEST_F(DictionaryEditor, TheWordModeSwitchWritesOrTakesOutTheDeclaration) {
    const auto sjis = ProgramFolder::cp932;
    const std::string bom(textencoding::kUtf8Bom);
    const struct {
        const char* name;
        std::string file, after; // the switch shown: "-" off, "+" on
    } cases[] = {
        {"cp932", sjis("犬 いぬ\r\n猫 ねこ\r\n-"), sjis("#@単語単位\r\n犬 いぬ\r\n猫 ねこ\r\n+")},
        {"late", sjis("犬 いぬ\r\n#@単語単位\r\n-"),
         sjis("#@単語単位\r\n犬 いぬ\r\n#@単語単位\r\n+")},
        {"twice", sjis("#@単語単位\r\n# x\r\n #@単語単位 x\r\n犬 いぬ+"), sjis("# x\r\n犬 いぬ-")},
        {"utf8", bom + "# 見出し\n犬 いぬ\n-", bom + "#@単語単位\n# 見出し\n犬 いぬ\n+"},
    };
    open("a 1\n");
    const auto state = [this] { return table() + (e->Tango1->isChecked() ? "+" : "-"); };
    for (const auto& c : cases) {
        program.folder.write(std::string("辞書/") + c.name + ".txt",
                             c.file.substr(0, c.file.size() - 1));
        ASSERT_TRUE(e->openDictionary(u(c.name)));
        std::vector<std::string> seen = {state()};
        (&c - cases) % 2 ? e->Tango1->trigger() : e->CKtango->click();
        for (QAction* step : {e->Undo1, e->Redo1, e->Undo1})
            seen.push_back(state()), step->trigger();
        EXPECT_EQ(seen, (std::vector<std::string>{c.file, c.after, c.file, c.after})) << c.name;
    }
    setText(0, DictionaryModel::NoteColumn, " #@単語単位 見出し");
    EXPECT_TRUE(e->CKtango->isChecked());
}

// ね does not hide ねこ in word mode, ねこ hides ねこが, a word cannot begin with a small kana;
// 試す converts as "変換" will, and plainly, saying so, without the analyser's dictionary.
TEST_F(DictionaryEditor, WordModeRowsAreCheckedAndTriedByWordRules) {
    setenv("SORVANTI_MECAB_DICDIR", "/nowhere", 1);
    open("#@単語単位\nね なあ\nだ や\nねこ にゃんこ\nねこが x\nゃあ y\n");
    TrialConversion& trial = *e->GBtamesu;
    trial.Etamesu->setText(u("ねこだね"));
    const struct {
        std::function<void(DictionaryEditor&)> step;
        const char* converted; // "*": the note under the field is shown
        const char* findings;
    } cases[] = {
        {[](auto&) {}, "なあこやなあ*",
         "単語の切れ目を求められない|||||標準語は単語の頭にならない"},
        {[](auto& t) { t.e->CKtango->click(); }, "なあこやなあ",
         "||変換では 1 行目「ね」が先|変換では 1 行目「ね」が先|" /* one row less */},
        {[](auto& t) { t.e->Undo1->trigger(); }, "にゃんこやなあ",
         "||||変換では 4 行目「ねこ」が先|標準語は単語の頭にならない"},
    };
    for (const auto& c : cases) {
        c.step(*this);
        unsetenv("SORVANTI_MECAB_DICDIR");
        QStringList findings;
        for (int row = 0; row < e->model().rowCount(); ++row)
            findings << cell(row, DictionaryModel::FindingColumn).data().toString();
        EXPECT_EQ(trial.REkekka0->toPlainText() + (trial.Lnote->isVisibleTo(&trial) ? "*" : ""),
                  u(c.converted));
        EXPECT_EQ(findings.join('|'), u(c.findings));
    }
}

TEST_F(DictionaryEditor, ANewDictionaryIsListedAtOnce) {
    open("a 1\n");
    const char* names[] = {"", "a/b", "練習", ".."};
    for (const char* name : names) {
        runner.dialogAnswers.push_back([name](QDialog& d) {
            static_cast<TOKBDshinki&>(d).Ename->setText(u(name));
            return QDialog::Accepted;
        });
    }
    runner.dialogAnswers.push_back([](QDialog& d) {
        // What was typed last is still there.
        EXPECT_EQ(static_cast<TOKBDshinki&>(d).Ename->text(), u(".."));
        static_cast<TOKBDshinki&>(d).Ename->setText(u("Abc"));
        return QDialog::Accepted;
    });
    e->Shinki1->trigger();
    EXPECT_EQ(runner.texts(),
              (QStringList{u("辞書の名前を入力して下さい。"), u("辞書の名前に「/」は使えません。"),
                           u("辞書「練習」はもうあります。"),
                           u("「.」と「..」は辞書の名前にできません。")}));
    EXPECT_EQ(readBytes(program.folder.path() + "辞書/Abc.txt"), "");
    EXPECT_EQ(e->dictionaryName(), u("Abc"));
    EXPECT_EQ(w->CBdictionary->itemText(0), u("Abc"));
    EXPECT_EQ(w->CBdictionary->currentText(), u("練習"));
    EXPECT_EQ(w->CBdictionaryTag, 1);
}

} // namespace
} // namespace sorvanti::test
