// The panes' unsaved text kept between runs: every way out of the program keeps it, the next
// start gives it back as it was, and two programs at once keep apart.
#include "app/HotExit.h"
#include "ProgramFolder.h"
#include "ScriptedRunner.h"
#include "app/SignalCloser.h"
#include "dictedit/DictionaryModel.h"
#include "dictedit/TFjisho.h"
#include "support/Bytes.h"
#include "support/Utf8.h"

#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>

namespace sorvanti::test {
namespace {

namespace fs = std::filesystem;

class HotExitTest : public ::testing::Test {
protected:
    void SetUp() override { program.addDictionary("方言", "犬 わんこ\n"); }

    std::unique_ptr<TVeruzazur> start(const QStringList& arguments = {}) const {
        auto w = std::make_unique<TVeruzazur>(
            Environment::forProgram(QString::fromStdString(program.programPath()), arguments));
        w->show();
        return w;
    }
    QString doc(const std::string& name, std::string_view bytes) const {
        return QString::fromStdString(docs.write(name, bytes));
    }
    // A cursor in pane `p` at `position`.
    static QTextCursor at(TVeruzazur& w, int p, int position) {
        QTextCursor c(&w.pane(p).document());
        c.setPosition(position);
        return c;
    }
    std::string kept() const { return program.folder.path() + "Sorvanti.kept/"; }
    // The slots of the kept folder that hold an index.
    int keptSlots() const {
        int n = 0;
        if (fs::exists(kept()))
            for (const auto& slot : fs::directory_iterator(kept()))
                n += fs::exists(slot.path() / "index") ? 1 : 0;
        return n;
    }

    // SIGTERM in the event loop, through SignalCloser as the program has it.
    static void terminate(std::unique_ptr<TVeruzazur>& w) {
        SignalCloser closer;
        QTimer::singleShot(0, [] { std::raise(SIGTERM); });
        QTimer stuck;
        stuck.callOnTimeout([] { QCoreApplication::exit(1); });
        stuck.start(5000);
        EXPECT_EQ(QCoreApplication::exec(), 0);
        ASSERT_FALSE(w->isVisible());
    }
    // A crash after the keep interval (the one keep, after the last change, writes its index
    // last): the slot as it left it, without the final keep or the dead program's lock.
    void crash(std::unique_ptr<TVeruzazur>& w) const {
        for (int i = 0; i < 300 && keptSlots() == 0; ++i)
            QTest::qWait(10);
        TempFolder copy;
        fs::copy(kept(), copy.path(), fs::copy_options::recursive);
        w.reset();
        fs::remove_all(kept());
        fs::copy(copy.path(), kept(), fs::copy_options::recursive);
        for (const auto& slot : fs::directory_iterator(kept()))
            fs::remove(slot.path() / "lock");
    }

    ScriptedRunner runner;
    ProgramFolder program;
    TempFolder docs;
};

// The documents of the first run, changed: RTF with formatting, UTF-8 with LF line ends, code
// page 932, and a new text; each way out; the next start has them as they were.
TEST_F(HotExitTest, EveryWayOutKeepsTheTextsFormatsAndNames) {
    const QString rtf =
        doc("太字.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Serif;}}\\f0\\b B\\b0 x\\par}");
    const QString utf8 = doc("lf.txt", "一行目\n😀\n");
    const QString sjis = doc("sjis.svt", ProgramFolder::cp932("漢字\r\n"));
    using End = std::function<void(std::unique_ptr<TVeruzazur>&)>;
    const End close = [](std::unique_ptr<TVeruzazur>& w) { w->close(); };
    const End signal = terminate;
    const End crash = [this](std::unique_ptr<TVeruzazur>& w) { this->crash(w); };
    struct Case {
        const char* name;
        QString files[2];
        End end;
        int keepAfter; // milliseconds; 0: the program's own interval
        const char* formats[2];
    };
    const Case cases[] = {
        {"close box: RTF and UTF-8 LF", {rtf, utf8}, close, 0, {"RTF", "UTF-8 LF"}},
        {"SIGTERM: code page 932, a new text", {sjis, QString()}, signal, 0, {"CP932", "CP932"}},
        {"crash: UTF-8 LF and RTF", {utf8, rtf}, crash, 20, {"UTF-8 LF", "RTF"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto w = start();
        if (c.keepAfter > 0)
            w->hotExit().setInterval(c.keepAfter);
        QString texts[2];
        for (int p = 0; p < 2; ++p) {
            w->SetActivePane(p);
            w->pane(p).setFileName(c.files[p]);
            if (!c.files[p].isEmpty())
                w->LoadDocument();
            at(*w, p, 1).insertText(u("追"));
            texts[p] = w->pane(p).document().toRawText();
        }
        c.end(w);
        w.reset();

        w = start();
        EXPECT_EQ(w->Lnote->text(), u("前回の編集内容を復元しました"));
        for (int p = 0; p < 2; ++p) {
            EXPECT_EQ(w->pane(p).document().toRawText(), texts[p]) << p;
            EXPECT_TRUE(w->pane(p).isModified()) << p;
            EXPECT_EQ(w->pane(p).fileName(), c.files[p]) << p;
            EXPECT_EQ(w->pane(p).formatLabel(), u(c.formats[p])) << p;
            if (c.files[p] == rtf) {
                EXPECT_EQ(at(*w, p, 1).charFormat().fontWeight(), QFont::Bold);
                EXPECT_NE(at(*w, p, 3).charFormat().fontWeight(), QFont::Bold);
            }
        }
        // Given up on purpose, nothing is kept any more.
        runner.answers = {QMessageBox::No, QMessageBox::No};
        w->New1Click(nullptr);
        w.reset();
        EXPECT_EQ(keptSlots(), 0);
    }
}

// The editor's unsaved rows: SIGTERM asks nothing, and the next start (also after a crash past
// the keep interval) opens the editor on them, unsaved, its undo history starting there; a
// save takes them out of the store at once.
TEST_F(HotExitTest, TheEditorsUnsavedRowsAreKeptWithoutAQuestion) {
    const struct {
        std::function<void(std::unique_ptr<TVeruzazur>&)> end;
        bool paneText;
        const char* note;
    } cases[] = {
        {terminate, true, "前回の編集内容を復元しました（辞書の編集も）"},
        {[this](auto& w) { crash(w); }, false, "前回の辞書の編集内容を復元しました"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        program.addDictionary("練習", "a 1\nb 2\n");
        auto w = start();
        w->hotExit().setInterval(20);
        w->Jisho1->trigger();
        ASSERT_TRUE(w->Fjisho->openDictionary(u("練習")));
        DictionaryModel& m = w->Fjisho->model();
        m.setData(m.index(1, DictionaryModel::ConvertedColumn), u("二"), Qt::EditRole);
        m.insertEmptyRow(0);
        const std::string rows = m.document().fileBytes();
        if (c.paneText)
            at(*w, 0, 0).insertText(u("本文"));
        c.end(w);
        w.reset();
        EXPECT_TRUE(runner.boxes.empty()) << runner.texts().join('|').toStdString();

        w = start();
        QTest::qWait(1);
        TFjisho* e = w->Fjisho;
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(w->Lnote->text(), u(c.note));
        EXPECT_EQ(e->model().document().fileBytes(), rows);
        EXPECT_TRUE(e->isVisible() && e->modified() && !e->model().undoStack().canUndo());
        e->Hozon1->trigger();
        EXPECT_EQ(readBytes(program.folder.path() + "辞書/練習.txt"), rows);
        // Saved, the table leaves the store at once; so does the panes' text given up.
        runner.answers = {QMessageBox::No};
        w->New1Click(nullptr);
        for (int i = 0; i < 100 && keptSlots() > 0; ++i)
            QTest::qWait(10);
        EXPECT_EQ(keptSlots(), 0);
        runner.boxes.clear();
    }
}

// Two programs at once keep into slots of their own; the next start gives back the newest and
// says where the other is, which stays as it was.
TEST_F(HotExitTest, TwoProgramsKeepApartAndTheNextStartTakesTheNewest) {
    auto first = start();
    auto second = start();
    at(*first, 0, 0).insertText(u("一つ目"));
    at(*second, 0, 0).insertText(u("二つ目"));
    first->close();
    first.reset();
    QTest::qWait(5); // the second keeps later
    second->close();
    second.reset();
    ASSERT_EQ(keptSlots(), 2);

    auto third = start();
    EXPECT_EQ(third->pane(0).document().toRawText(), u("二つ目"));
    const QString note = third->Lnote->text();
    EXPECT_TRUE(note.startsWith(u("前回の編集内容を復元しました。ほかの編集内容は ")))
        << note.toStdString();
    EXPECT_TRUE(note.contains(u("slot-1"))) << note.toStdString();
    // While the third runs, a fourth start finds the first run's text there.
    auto fourth = start();
    EXPECT_EQ(fourth->pane(0).document().toRawText(), u("一つ目"));
}

TEST_F(HotExitTest, ADocumentOnTheCommandLineReplacesTheRestoredTextUndoably) {
    auto w = start();
    at(*w, 0, 0).insertText(u("前回の文"));
    w.reset();
    const QString file = doc("cmd.svt", "cmd");
    // Twice: the text the document replaced is still kept when the program ends.
    for (int run = 0; run < 2; ++run) {
        w = start({file});
        EXPECT_EQ(w->pane(0).document().toRawText(), u("cmd"));
        EXPECT_EQ(w->pane(0).fileName(), file);
        w.reset();
    }
    // Kept without the document that replaced it, it comes back as a new document.
    w = start();
    EXPECT_EQ(w->pane(0).document().toRawText(), u("前回の文"));
    EXPECT_TRUE(w->pane(0).fileName().isEmpty());
    w.reset();
    w = start({file});
    w->Undo1Click(nullptr);
    EXPECT_EQ(w->pane(0).document().toRawText(), u("前回の文"));
}

} // namespace
} // namespace sorvanti::test
