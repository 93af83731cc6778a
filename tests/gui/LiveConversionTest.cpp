// "入力中に変換" and "置き換えた語に色を付ける": after every kind of edit of the upper pane the
// lower pane holds what "変換" gives, marks included; the marks' spans and dictionary lines;
// the options through "設定" and the settings file.
#include "ProgramFolder.h"
#include "ScriptedRunner.h"
#include "commands/ConversionCommand.h"
#include "commands/ReplacementMarks.h"
#include "conversion/Engine.h"
#include "documents/PaneLines.h"
#include "editing/PaneZoom.h"
#include "integration/TOKBDsettei.h"
#include "settings/Oini.h"
#include "support/Utf8.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QMessageBox>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>
#include <QToolTip>

#include <gtest/gtest.h>

#include <random>

namespace sorvanti::test {
namespace {

using Marks = std::vector<ReplacementMarks::Mark>;

// File lines 3 to 6 hold the pairs, so entry i is line i + 3.
constexpr const char* kDictionary =
    "# 方言\n\nありがとう おおきに\n犬 わんこ\nです やけん\n猫 にゃんこ\n";

class Live : public ::testing::Test {
protected:
    void SetUp() override {
        program.addDictionary("方言", kDictionary);
        program.addDictionary("忍者", "犬 いぬでござる\n");
        program.writeSettings("[辞書]\nName=方言\n");
        w = program.openWindow();
        w->show();
        w->applyOptions({1, 1});
    }
    QTextEdit* upper() const { return w->pane(0).edit(); }
    QTextEdit* lower() const { return w->pane(1).edit(); }
    static QTextCursor at(QTextEdit* e, int from, int to = -1) {
        QTextCursor c(e->document());
        c.setPosition(from);
        c.setPosition(to < 0 ? from : to, QTextCursor::KeepAnchor);
        return c;
    }
    // The lower pane holds, block for block and mark for mark, what "変換" gives for the upper.
    void expectConverted(const std::string& what) {
        QApplication::processEvents();
        Engine engine(w->dictionary());
        conversioncommand::LineMatches found;
        const QString text =
            conversioncommand::convertedText(engine, paneLines(*upper()->document()), 0, &found);
        QStringList blocks;
        for (QTextBlock b = lower()->document()->begin(); b.isValid(); b = b.next())
            blocks << b.text();
        ASSERT_EQ(blocks.join(u'\n'), text) << what;
        QTextBlock b = lower()->document()->begin();
        for (size_t line = 0; line + 1 < found.first.size(); ++line, b = b.next()) {
            Marks want;
            for (size_t i = found.first[line]; i < found.first[line + 1]; ++i)
                want.push_back({int32_t(found.all[i].outFrom), int32_t(found.all[i].outLength),
                                found.all[i].entry});
            EXPECT_EQ(w->marks(1).lineMarks(b), want) << what << ", line " << line;
        }
    }

    ScriptedRunner runner;
    ProgramFolder program;
    std::unique_ptr<TVeruzazur> w;
};

TEST_F(Live, EveryKindOfEditAndItsUndoLeaveTheLowerPaneAsConversionWouldMakeIt) {
    const struct {
        const char* name;
        const char* text;
        int from, to;
        const char* put; // in place of [from, to) of the text; then undo in the upper pane
    } cases[] = {
        {"typing", "犬です\n猫\n", 1, 1, "犬"},
        {"a line break deleted", "犬\nです\n猫", 1, 2, ""},
        {"lines pasted", "犬\n猫", 1, 1, "です\n猫\n\nありがとう"},
        {"a character code page 932 lacks", "犬です", 2, 2, "😀犬"},
        {"a line separator (Shift+Enter)", "犬です", 1, 1, "\u2028"},
        {"the last line emptied", "犬\n猫", 2, 3, ""},
        {"everything deleted", "犬\nです\n", 0, 5, ""},
        {"a line after the final break", "犬\n", 2, 2, "猫"},
    };
    for (const auto& c : cases) {
        upper()->setPlainText(u(c.text));
        expectConverted(std::string(c.name) + " (before)");
        at(upper(), c.from, c.to).insertText(u(c.put));
        expectConverted(c.name);
        upper()->undo();
        expectConverted(std::string(c.name) + " (undone)");
    }
}

TEST_F(Live, ARandomRunOfEditsAndUndosKeepsTheLowerPaneConverted) {
    std::mt19937 rng(19);
    const QString pieces[] = {u("犬"),         u("です"), u("\n"), u("\u2028"),
                              u("ありがとう"), u("😀"),    u("a")};
    upper()->setPlainText(u("犬です\n猫\n\nありがとう"));
    for (int step = 0; step < 200; ++step) {
        const int size = upper()->document()->characterCount() - 1;
        const int from = int(rng() % unsigned(size + 1));
        const unsigned kind = rng() % 4; // an undo, a deletion, or (twice as often) an insertion
        if (kind == 0)
            upper()->undo();
        else if (kind == 1)
            at(upper(), from, std::min(size, from + int(rng() % 6))).removeSelectedText();
        else
            at(upper(), from).insertText(pieces[rng() % std::size(pieces)]);
        expectConverted("step " + std::to_string(step));
        if (HasFatalFailure())
            return;
    }
}

TEST_F(Live, OnConvertsOnceAsAnUndoableStepAndLocksTheLowerPaneUntilOff) {
    w->applyOptions({0, 0});
    lower()->setPlainText(u("自分の文"));
    upper()->setPlainText(u("犬です"));
    w->applyOptions({1, 0});
    EXPECT_EQ(lower()->toPlainText(), u("わんこやけん\n"));
    EXPECT_TRUE(lower()->isReadOnly());
    EXPECT_EQ(w->pane(1).frame()->title(), u("変換語 (入力中に変換)"));
    EXPECT_FALSE(w->SBhenkan0->isEnabled() || w->SBhenkan1->isEnabled());
    w->SetActivePane(1);
    EXPECT_FALSE(w->Undo1->isEnabled() || w->Paste1->isEnabled() || w->Cut1->isEnabled());
    // A document cannot be opened into it, from the dialog or from the recent files.
    w->Open1Click(w->Open1);
    QAction recent;
    recent.setData(QString::fromStdString(program.folder.write("mine.txt", "A")));
    w->RecentFileClick(&recent);
    EXPECT_EQ(runner.texts(),
              QStringList(2, u("入力中に変換している間は、変換語の欄に文書を読み込めません。")));
    EXPECT_TRUE(runner.fileRequests.empty());
    EXPECT_TRUE(w->pane(1).fileName().isEmpty());

    at(upper(), 0).insertText(u("猫"));
    w->applyOptions({0, 0});
    EXPECT_FALSE(lower()->isReadOnly());
    EXPECT_EQ(w->pane(1).frame()->title(), u("変換語"));
    EXPECT_TRUE(w->SBhenkan1->isEnabled() && w->Undo1->isEnabled());
    w->Undo1Click(w->Undo1);
    EXPECT_EQ(lower()->toPlainText(), u("自分の文"));
}

TEST_F(Live, DocumentsPutIntoEitherPaneDictionariesAndChangesNotItsOwnAreFollowed) {
    w->applyOptions({0, 0});
    upper()->setPlainText(u("犬"));
    lower()->setPlainText(u("にゃんこやけん"));
    w->SBhenkan0Click(w->SBhenkan1);
    w->applyOptions({1, 1});
    expectConverted("after 逆変換");
    w->pane(0).undo(); // the upper pane's document before 逆変換 comes back
    ASSERT_EQ(upper()->toPlainText(), u("犬"));
    expectConverted("after the undo of 逆変換");
    // Another dictionary converts the whole lower pane again.
    w->CBdictionary->setCurrentIndex(w->CBdictionary->findText(u("忍者")));
    expectConverted("after another dictionary");
    EXPECT_EQ(lower()->toPlainText(), u("いぬでござる\n"));
    // 新規作成 empties both.
    runner.answers = {QMessageBox::No};
    w->New1Click(w->New1);
    expectConverted("after 新規作成");
    EXPECT_TRUE(lower()->document()->isEmpty());
}

TEST_F(Live, MarksSpanTheReplacedWordsAndNameTheirDictionaryLines) {
    w->applyOptions({0, 1});
    const struct {
        const char* line;
        Marks marks; // {from, length, entry}; file line = entry + 3
    } cases[] = {
        {"ありがとう犬", {{0, 4, 0}, {4, 3, 1}}},
        {"😀犬です", {{2, 3, 1}, {5, 3, 2}}},
        {"é猫", {{1, 4, 3}}},
        {"なにもない", {}},
    };
    QStringList text;
    for (const auto& c : cases)
        text << u(c.line);
    upper()->setPlainText(text.join(u'\n'));
    w->SBhenkan0Click(w->SBhenkan0);
    QTextBlock block = lower()->document()->begin();
    for (const auto& c : cases) {
        EXPECT_EQ(w->marks(1).lineMarks(block), c.marks) << c.line;
        block = block.next();
    }
    QApplication::processEvents();
    EXPECT_EQ(lower()->extraSelections().size(), 5);
    EXPECT_EQ(lower()->extraSelections().value(0).format.background().color(),
              ReplacementMarks::colour());

    // Backwards, the upper pane's marks go from the converted word to the standard one.
    w->SBhenkan0Click(w->SBhenkan1);
    EXPECT_EQ(w->marks(0).lineMarks(upper()->document()->begin()), (Marks{{0, 5, 0}, {5, 1, 1}}));

    // An edit takes the marks of its line away; the other lines keep theirs.
    at(lower(), 1).insertText(u("x"));
    EXPECT_TRUE(w->marks(1).lineMarks(lower()->document()->begin()).empty());
    EXPECT_EQ(w->marks(1).lineMarks(lower()->document()->begin().next()).size(), 2u);
    w->applyOptions({0, 0});
    EXPECT_TRUE(w->marks(1).lineMarks(lower()->document()->begin().next()).empty());
    QApplication::processEvents();
    EXPECT_TRUE(lower()->extraSelections().isEmpty());
}

TEST_F(Live, HoveringAMarkNamesItsDictionaryLineAlsoZoomed) {
    upper()->setPlainText(u("です犬ありがとう"));
    PaneZoom* zoom = PaneZoom::attach(lower());
    const struct {
        int percent;
        int unit;
        const char* tip;
    } cases[] = {
        {100, 3, "辞書 4 行目: 犬 → わんこ"},
        {50, 7, "辞書 3 行目: ありがとう → おおきに"},
    };
    for (const auto& c : cases) {
        zoom->setPercent(c.percent);
        QApplication::processEvents();
        const QRect glyph = lower()->cursorRect(at(lower(), c.unit));
        const QPoint inside = (glyph.center() + QPoint(4, 0)) * c.percent / 100;
        QHelpEvent help(QEvent::ToolTip, inside, lower()->viewport()->mapToGlobal(inside));
        QApplication::sendEvent(lower()->viewport(), &help);
        EXPECT_EQ(QToolTip::text(), u(c.tip)) << c.percent;
    }
}

TEST(LiveOptions, SettingsFileAndDialogRoundTrip) {
    const struct {
        const char* stored;
        ProgramOptions read; // and written back so
    } cases[] = {
        {"", {0, 0}},
        {"[設定]\nLiveConversion=1\n", {1, 0}},
        {"[設定]\nHighlight=7\nLiveConversion=abc\n", {0, 1}},
    };
    for (const auto& c : cases) {
        ScriptedRunner runner;
        ProgramFolder program;
        program.addDictionary("方言", "犬 わんこ\n");
        program.writeSettings(std::string("[辞書]\nName=方言\n") + c.stored);
        {
            auto w = program.openWindow();
            EXPECT_EQ(w->options(), c.read) << c.stored;
            EXPECT_EQ(w->pane(1).edit()->isReadOnly(), c.read.liveConversion == 1);
            // The dialog shows the options in force; キャンセル keeps them, OK takes its boxes.
            const auto answer = [&](int result) {
                return [&c, result](QDialog& d) {
                    auto& settei = static_cast<TOKBDsettei&>(d);
                    EXPECT_EQ(settei.options(), c.read);
                    settei.CKnyuuryoku->toggle();
                    return result;
                };
            };
            runner.dialogAnswers = {answer(QDialog::Rejected), answer(QDialog::Accepted)};
            w->Settei1Click(w->Settei1);
            EXPECT_EQ(w->options(), c.read);
            w->Settei1Click(w->Settei1);
            EXPECT_EQ(w->options().liveConversion, 1 - c.read.liveConversion);
            w->applyOptions(c.read);
        }
        const Oini ini(program.programPath());
        EXPECT_EQ(ini.ReadString("設定", "LiveConversion", "-"),
                  std::to_string(c.read.liveConversion));
        EXPECT_EQ(ini.ReadString("設定", "Highlight", "-"), std::to_string(c.read.highlight));
    }
}

} // namespace
} // namespace sorvanti::test
