// "登録": the dialog, its prefill from the active pane, and the pair in force at once.
#include "ProgramFolder.h"
#include "ScriptedRunner.h"
#include "commands/TOKBDtouroku.h"
#include "support/Bytes.h"
#include "support/Utf8.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

namespace sorvanti::test {
namespace {

class Registration : public ::testing::Test {
protected:
    void SetUp() override {
        program.addDictionary("方言", "犬 わんこ\n");
        program.writeSettings("[辞書]\nName=方言\n");
        w = program.openWindow();
        ASSERT_TRUE(w->SBtouroku->isEnabled());
    }
    std::string dictionaryBytes() const {
        return readBytes(program.folder.path() + "辞書/方言.txt");
    }
    // Selects characters [from, to) of pane p's plain text.
    void select(int p, int from, int to) {
        QTextCursor c = w->pane(p).edit()->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        w->pane(p).edit()->setTextCursor(c);
    }
    // The user's part in the dialog: what the fields held when it opened, then typing.
    struct Seen {
        QString fields[2];
        bool shown = false;
    };
    void answer(Seen& seen, const QString& standard, const QString& converted, bool ok = true) {
        runner.dialogAnswers.push_back([&seen, standard, converted, ok](QDialog& d) {
            auto& dialog = static_cast<TOKBDtouroku&>(d);
            seen.shown = OKBDtouroku == &dialog;
            for (int s = 0; s < 2; ++s)
                seen.fields[s] = dialog.field(s)->text();
            dialog.Etango0->setText(standard);
            dialog.Etango1->setText(converted);
            if (!ok)
                return int(QDialog::Rejected);
            dialog.OKBtn->click();
            return dialog.result();
        });
    }

    ScriptedRunner runner;
    ProgramFolder program;
    std::unique_ptr<TVeruzazur> w;
};

TEST_F(Registration, TheSelectionOfTheActivePaneFillsTheFieldOfItsSide) {
    struct Case {
        int pane;
        int from, to; // the selection, empty when equal
        const char* clipboardBefore;
        const char* field0;
        const char* field1;
    };
    const Case cases[] = {
        {0, 0, 2, "前", "今日", ""},
        {1, 2, 4, "前", "", "明日"},
        // Nothing selected: the clipboard keeps, and gives, what it held.
        {0, 1, 1, "よそから", "よそから", ""},
        {1, 1, 1, "", "", ""},
        // A selection over a line break gives its first line to the one-line field.
        {0, 1, 6, "前", "日は", ""},
    };
    for (const Case& c : cases) {
        w->pane(0).edit()->setPlainText(u("今日は\n晴れ"));
        w->pane(1).edit()->setPlainText(u("また明日"));
        w->SetActivePane(c.pane);
        QGuiApplication::clipboard()->setText(u(c.clipboardBefore));
        select(c.pane, c.from, c.to);
        Seen seen;
        answer(seen, {}, {}, false);
        w->SBtouroku->click();
        ASSERT_TRUE(seen.shown) << c.field0;
        EXPECT_EQ(seen.fields[0], u(c.field0));
        EXPECT_EQ(seen.fields[1], u(c.field1));
        EXPECT_EQ(OKBDtouroku, nullptr);
    }
    EXPECT_EQ(dictionaryBytes(), ProgramFolder::cp932("犬 わんこ\r\n"));
}

TEST_F(Registration, ARegisteredPairConvertsAtOnceAndAfterTheNextStart) {
    w->pane(0).edit()->setPlainText(u("猫と犬"));
    select(0, 0, 1);
    Seen seen;
    answer(seen, u("猫"), u("にゃんこ"));
    w->SBtouroku->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u("猫"));
    EXPECT_EQ(dictionaryBytes(), ProgramFolder::cp932("犬 わんこ\r\n猫\t\tにゃんこ\r\n"));
    w->SBhenkan0->click();
    EXPECT_EQ(w->pane(1).edit()->toPlainText(), u("にゃんことわんこ\n"));

    w.reset();
    w = program.openWindow();
    w->pane(0).edit()->setPlainText(u("猫"));
    w->SBhenkan0->click();
    EXPECT_EQ(w->pane(1).edit()->toPlainText(), u("にゃんこ\n"));
    EXPECT_TRUE(runner.boxes.empty()) << runner.texts().join('|').toStdString();
}

TEST_F(Registration, APairThatAnEarlierEntryHidesIsRegisteredWithANotice) {
    struct Case {
        const char* standard;
        const char* converted;
        const char* notice; // empty: none
    };
    const Case cases[] = {
        {"猫", "にゃんこ", ""},
        {"犬小屋", "わん小屋",
         "登録しました。変換では、先にある「犬 わんこ」が先に一致するので、"
         "この組は使われません。"},
        {"ねこ", "わんころ",
         "登録しました。逆変換では、先にある「犬 "
         "わんこ」が先に一致するので、この組は使われません。"},
        {"犬", "わんこ",
         "登録しました。変換では、先にある「犬 わんこ」が先に一致するので、この組は使われません。\n"
         "逆変換では、先にある「犬 わんこ」が先に一致するので、この組は使われません。"},
    };
    int32_t count = 1;
    for (const Case& c : cases) {
        runner.boxes.clear();
        Seen seen;
        answer(seen, u(c.standard), u(c.converted));
        w->SBtouroku->click();
        EXPECT_EQ(w->dictionary().count(), ++count) << c.standard;
        EXPECT_EQ(runner.texts().join(QLatin1Char('|')), u(c.notice)) << c.standard;
    }
}

TEST_F(Registration, RefusalsKeepTheDialogOpenWithTheWordsAndChangeNothing) {
    struct Case {
        QString standard, converted;
        QString message;
    };
    const Case cases[] = {
        {u("犬😀"), u("わん"), u("文字「😀」は辞書に登録できません。")},
        {u("Ω€"), u("わん"), u("文字「€」は辞書に登録できません。")},
        {u("東 京"), u("とう きょう"), u("標準語に空白やタブは使えません。")},
        {u("東京"), QString(), u("変換語を入れて下さい。")},
        {u("長い長い長い長い長い長い長い長い長い長い長い長い長い長い長い"), u("x"),
         u("標準語が長すぎます（60バイト、40バイトまで）。")},
    };
    for (const Case& c : cases) {
        runner.boxes.clear();
        QString fields[2];
        int result = -1;
        runner.dialogAnswers.push_back([&](QDialog& d) {
            auto& dialog = static_cast<TOKBDtouroku&>(d);
            dialog.Etango0->setText(c.standard);
            dialog.Etango1->setText(c.converted);
            dialog.OKBtn->click();
            result = dialog.result();
            for (int s = 0; s < 2; ++s)
                fields[s] = dialog.field(s)->text();
            return int(QDialog::Rejected); // then the user gives up
        });
        w->SBtouroku->click();
        EXPECT_EQ(runner.texts(), QStringList{c.message});
        EXPECT_NE(result, int(QDialog::Accepted));
        EXPECT_EQ(fields[0], c.standard);
        EXPECT_EQ(fields[1], c.converted);
        EXPECT_EQ(w->dictionary().count(), 1);
        EXPECT_EQ(dictionaryBytes(), ProgramFolder::cp932("犬 わんこ\r\n"));
    }

    // Corrected in the same dialog, the pair is registered.
    runner.dialogAnswers.push_back([](QDialog& d) {
        auto& dialog = static_cast<TOKBDtouroku&>(d);
        dialog.Etango0->setText(u("東 京"));
        dialog.Etango1->setText(u("とうきょう"));
        dialog.OKBtn->click();
        dialog.Etango0->setText(u("東京"));
        dialog.OKBtn->click();
        return dialog.result();
    });
    w->SBtouroku->click();
    EXPECT_EQ(dictionaryBytes(), ProgramFolder::cp932("犬 わんこ\r\n東京\t\tとうきょう\r\n"));

    // The dictionary file became a folder: it cannot be opened for appending.
    const std::string file = program.folder.path() + "辞書/方言.txt";
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    runner.boxes.clear();
    Seen seen;
    answer(seen, u("猫"), u("にゃん"));
    w->SBtouroku->click();
    EXPECT_EQ(runner.texts(), QStringList{u("辞書ファイルが開けません。")});
    EXPECT_EQ(w->dictionary().count(), 2);
}

TEST_F(Registration, TheDialogIsBuiltAsTheUserExpectsIt) {
    TOKBDtouroku dialog(w.get());
    EXPECT_EQ(dialog.windowTitle(), u("辞書登録"));
    EXPECT_EQ(dialog.size(), QSize(313, 214));
    EXPECT_EQ(dialog.OKBtn->text(), u("登録"));
    EXPECT_EQ(dialog.CancelBtn->text(), u("キャンセル"));
    EXPECT_TRUE(dialog.OKBtn->isDefault());
    EXPECT_EQ(dialog.Label1->text(), u("標準語"));
    EXPECT_EQ(dialog.Label2->text(), u("変換語"));
    // Tab goes OK, Cancel, standard word, converted word and round again.
    QList<QWidget*> tabOrder;
    QWidget* at = dialog.OKBtn;
    do {
        if (at->focusPolicy() & Qt::TabFocus)
            tabOrder << at;
        at = at->nextInFocusChain();
    } while (at != dialog.OKBtn);
    EXPECT_EQ(tabOrder,
              (QList<QWidget*>{dialog.OKBtn, dialog.CancelBtn, dialog.Etango0, dialog.Etango1}));
}

} // namespace
} // namespace sorvanti::test
