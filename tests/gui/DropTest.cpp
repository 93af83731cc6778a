// Files dropped on the window: the pane under the drop point opens the first file and
// becomes active; anywhere else the drop is refused with the program's notice.
#include "DocumentWindow.h"

#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QToolButton>
#include <QUrl>

#include <filesystem>

namespace sorvanti::test {
namespace {

class Drops : public DocumentWindow {
protected:
    // The centre of `widget` (or the point `at` inside it) in the window's coordinates.
    QPoint over(QWidget* widget, QPoint at = QPoint(-1, -1)) const {
        if (at.x() < 0)
            at = widget->rect().center();
        return widget->mapTo(w.get(), at);
    }
    void drop(QPoint windowPos, const QStringList& paths) {
        guarded(w.get(), [&] { w->FilesDropped(windowPos, paths); });
    }
    void expectRefused(QPoint windowPos, const char* where) {
        const QString before0 = text(0), before1 = text(1);
        const int active = w->ActivePane;
        const auto items = saveItems();
        runner.boxes.clear();
        drop(windowPos, {write("refused.svt", "no")});
        ASSERT_EQ(runner.boxes.size(), 1u) << where;
        EXPECT_EQ(runner.boxes[0].text, u("エディター画面の中にドロップして下さい。")) << where;
        EXPECT_EQ(runner.boxes[0].icon, QMessageBox::NoIcon) << where;
        EXPECT_EQ(runner.boxes[0].title, u("Sorvanti")) << where;
        EXPECT_EQ(runner.boxes[0].buttons, QMessageBox::Ok) << where;
        EXPECT_EQ(text(0), before0) << where;
        EXPECT_EQ(text(1), before1) << where;
        EXPECT_EQ(w->ActivePane, active) << where;
        EXPECT_EQ(saveItems(), items) << where;
        EXPECT_TRUE(documentName(0).isEmpty()) << where;
        EXPECT_TRUE(documentName(1).isEmpty()) << where;
    }
};

TEST_F(Drops, OnlyTheWindowTakesDrops) {
    EXPECT_TRUE(w->acceptDrops());
    for (QTextEdit* edit : {w->pane(0).edit(), w->pane(1).edit()}) {
        EXPECT_FALSE(edit->acceptDrops());
        EXPECT_FALSE(edit->viewport()->acceptDrops());
    }
    EXPECT_FALSE(w->CBdictionary->lineEdit()->acceptDrops());
}

TEST_F(Drops, FileDroppedOnTheLowerPaneOpensThereAndMakesItActive) {
    type(0, u("上の本文"));
    type(1, u("上書きされる"));
    const QString file = write("下.svt", cp932("落とした\r\n文書"));
    drop(over(w->pane(1).edit()->viewport()), {file});
    EXPECT_TRUE(runner.boxes.empty());
    EXPECT_EQ(w->ActivePane, 1);
    EXPECT_EQ(text(1), u("落とした\n文書"));
    EXPECT_FALSE(modified(1));
    EXPECT_EQ(documentName(1), file);
    EXPECT_EQ(saveItems(), std::make_pair(true, true));
    EXPECT_EQ(text(0), u("上の本文"));
    EXPECT_TRUE(modified(0));
    EXPECT_TRUE(documentName(0).isEmpty());

    // Back on the upper pane, near its corner and on its scroll bar's place.
    drop(over(w->pane(0).edit(), QPoint(2, 2)), {file});
    EXPECT_EQ(w->ActivePane, 0);
    EXPECT_EQ(text(0), u("落とした\n文書"));
}

TEST_F(Drops, OnlyTheFirstOfSeveralFilesOpens) {
    const QStringList files = {write("1.svt", "first"), write("2.svt", "second"),
                               write("3.svt", "third")};
    drop(over(w->pane(0).edit()->viewport()), files);
    EXPECT_EQ(text(0), u("first"));
    EXPECT_EQ(documentName(0), files[0]);
    EXPECT_TRUE(text(1).isEmpty());
}

TEST_F(Drops, FormatRuleDecidesHowTheDroppedFileIsRead) {
    const std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 \\i Italic\\i0 \\par}";
    drop(over(w->pane(0).edit()->viewport()), {write("x.rtf", rtf)});
    EXPECT_EQ(text(0), u("Italic"));
    QTextCursor c(w->pane(0).edit()->document());
    c.setPosition(1);
    EXPECT_TRUE(c.charFormat().fontItalic());
    drop(over(w->pane(0).edit()->viewport()), {write("x.svt", rtf)});
    EXPECT_EQ(text(0), QString::fromStdString(rtf));
    EXPECT_TRUE(plain(0));
}

TEST_F(Drops, FolderDroppedShowsTheOpenErrorAndLeavesThePaneEmptyAndActive) {
    type(1, u("消える"));
    const QString folder = path("フォルダ");
    std::filesystem::create_directories(folder.toStdString());
    drop(over(w->pane(1).edit()->viewport()), {folder});
    EXPECT_EQ(runner.texts(), QStringList{u("ファイル ") + folder + u(" は開けません.")});
    EXPECT_EQ(runner.boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(w->ActivePane, 1);
    EXPECT_TRUE(text(1).isEmpty());
    EXPECT_FALSE(modified(1));
    EXPECT_EQ(documentName(1), folder);
    // The pane has a name: both save commands offer it.
    EXPECT_EQ(saveItems(), std::make_pair(true, true));
}

TEST_F(Drops, APathLongerThan254BytesIsTakenWhole) {
    std::string deep;
    for (int i = 0; i < 6; ++i)
        deep += "とても長いフォルダの名前です/";
    ASSERT_GT(deep.size(), 254u);
    const QString file = write(deep + "深い.svt", cp932("奥"));
    drop(over(w->pane(0).edit()->viewport()), {file});
    EXPECT_TRUE(runner.boxes.empty()) << runner.texts().join('|').toStdString();
    EXPECT_EQ(text(0), u("奥"));
    EXPECT_EQ(documentName(0), file);
}

TEST_F(Drops, DropsOutsideThePanesAreRefusedAndChangeNothing) {
    type(1, u("そのまま"));
    expectRefused(over(w->pane(1).frame(), QPoint(20, 4)), "frame caption");
    expectRefused(over(w->pane(0).frame(), QPoint(2, w->pane(0).frame()->height() / 2)),
                  "frame edge");
    expectRefused(over(w->PiconBar, QPoint(w->PiconBar->width() - 5, 4)), "tool bar");
    expectRefused(over(w->SBhenkan0), "tool button");
    expectRefused(over(w->CBdictionary), "combo box");
    expectRefused(over(w->StatusBar1), "status bar");
    expectRefused(over(w->Pcenter, QPoint(w->Pcenter->width() - 1, w->Pcenter->height() - 1)),
                  "centre panel");
    expectRefused(w->menuBar()->geometry().center(), "menu bar");
}

TEST_F(Drops, EveryDropBringsTheWindowToTheFront) {
    QWidget other;
    other.show();
    for (const QPoint at : {over(w->StatusBar1), over(w->pane(0).edit()->viewport())}) {
        other.activateWindow();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::activeWindow(), &other);
        drop(at, {write("front.svt", "f")});
        QApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), w.get());
    }
}

TEST_F(Drops, DropOutsideTheWindowDoesNothing) {
    drop(QPoint(-5, -5), {write("a.svt", "a")});
    EXPECT_TRUE(runner.boxes.empty());
    EXPECT_TRUE(text(0).isEmpty());
}

TEST_F(Drops, RealDropEventReachesTheHandler) {
    const QString file = write("本物.svt", cp932("届いた"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file), QUrl(u("https://example.org/x.svt"))});
    const QPointF at = over(w->pane(1).edit()->viewport());

    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.get(), &dropped);
    EXPECT_TRUE(dropped.isAccepted());
    QApplication::processEvents();
    EXPECT_EQ(w->ActivePane, 1);
    EXPECT_EQ(text(1), u("届いた"));

    // Text without files is no drop for the window.
    QMimeData words;
    words.setText(u("文字だけ"));
    QDragEnterEvent textEnter(at.toPoint(), Qt::CopyAction, &words, Qt::LeftButton, Qt::NoModifier);
    textEnter.setAccepted(false);
    QApplication::sendEvent(w.get(), &textEnter);
    EXPECT_FALSE(textEnter.isAccepted());
}

} // namespace
} // namespace sorvanti::test
