// The manual compiled into the program: its pages, their links, its search, and the help
// window that the three help items and F1 open.
#include "help/HelpWindow.h"
#include "help/Manual.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace sorvanti::test {
namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QStringList titles(const QList<const Manual::Section*>& sections) {
    QStringList list;
    for (const Manual::Section* s : sections)
        list << s->title;
    return list;
}

TEST(Manual, EveryPageHasATitleAndEveryLinkReachesAPageAndAHeadingThatExist) {
    const Manual& manual = Manual::builtIn();
    ASSERT_GE(manual.pages().size(), 12);
    QStringList anchors; // "page#anchor" and "page"
    for (const Manual::Page& page : manual.pages()) {
        EXPECT_FALSE(page.title.isEmpty()) << page.file.toStdString();
        anchors << page.file;
        for (const Manual::Section& s : page.sections)
            if (!s.anchor.isEmpty())
                anchors << page.file + '#' + s.anchor;
    }
    const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
    int links = 0;
    for (const Manual::Page& page : manual.pages()) {
        QFile file(":/help/" + page.file);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        for (auto it = href.globalMatch(QString::fromUtf8(file.readAll())); it.hasNext(); ++links) {
            const QString target = it.next().captured(1);
            EXPECT_TRUE(anchors.contains(target))
                << page.file.toStdString() << " links to " << target.toStdString();
        }
    }
    EXPECT_GT(links, 5);
    const QString contents = manual.contentsHtml();
    for (const QString& a : anchors)
        EXPECT_TRUE(contents.contains("href=\"" + a + '"')) << a.toStdString();
}

TEST(Manual, SearchFindsSectionsHoldingEveryWordWhateverTheWidthOrCase) {
    const Manual& manual = Manual::builtIn();
    struct Case {
        const char* query;
        QStringList mustHold;
        int atMost; // results
    };
    const Case cases[] = {
        {"最初に一致", {u("最初に一致した組が使われる")}, 5},
        {"ｃｐ９３２　保存", {u("保存するときの文字コード")}, 20},
        {"--CHECK 終了ステータス", {u("辞書を調べる (--check)")}, 2},
        {"すべて置換", {u("置換")}, 3},
        {"Ctrl+0", {u("拡大・縮小のしかた")}, 2},
        {"F1", {u("ヘルプを開く")}, 3},
        {"  ", {}, 0},
        {"辞書 ぴよぴよ", {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        const QStringList found = titles(manual.search(u(c.query)));
        for (const QString& t : c.mustHold)
            EXPECT_TRUE(found.contains(t)) << found.join(" / ").toStdString();
        EXPECT_LE(found.size(), c.atMost);
        EXPECT_EQ(found.isEmpty(), c.mustHold.isEmpty());
    }
}

TEST(HelpWindow, TheThreeItemsOpenOneNonModalWindowAtContentsSearchAndHelpOnHelp) {
    QWidget owner;
    owner.show();
    help::showContents(&owner);
    HelpWindow* w = help::window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowModality(), Qt::NonModal);
    EXPECT_EQ(w->Bpage->source(), Manual::builtIn().contentsUrl());
    EXPECT_TRUE(w->Bpage->toPlainText().contains(u("辞書の書き方")));
    EXPECT_EQ(w->TCside->currentWidget(), w->TVcontents);
    EXPECT_EQ(w->TVcontents->topLevelItemCount(), Manual::builtIn().pages().size());

    help::showSearch(&owner);
    EXPECT_EQ(help::window(), w);
    EXPECT_TRUE(w->Esearch->isVisible());
    EXPECT_EQ(w->focusWidget(), w->Esearch);
    w->Esearch->setText(u("最初に一致"));
    ASSERT_GE(w->LBfound->count(), 1);
    EXPECT_EQ(w->Lfound->text(), u("%1 件見つかりました").arg(w->LBfound->count()));
    // Enter shows the first result; a result from the list shows its section.
    QTest::keyClick(w->Esearch, Qt::Key_Return);
    const auto found = Manual::builtIn().search(u("最初に一致"));
    EXPECT_EQ(w->Bpage->source().fileName(), found.first()->page);
    const int row = int(titles(found).indexOf(u("最初に一致した組が使われる")));
    w->showResult(row);
    EXPECT_EQ(w->Bpage->source().toString().toStdString(),
              "qrc:/help/40-dictionaries.html#first-match");
    const QTextCursor selected = w->Bpage->textCursor();
    EXPECT_EQ(selected.selectedText(), u("最初に一致"));
    EXPECT_EQ(selected.block().text(), u("最初に一致した組が使われる")); // the heading's own
    w->close();
    help::showHelpOnHelp(&owner);
    EXPECT_EQ(help::window(), w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->Bpage->source().fileName().toStdString(), help::kHelpOnHelpPage.toStdString());
    EXPECT_TRUE(w->Bpage->toPlainText().startsWith(u("ヘルプの使い方")));
}

} // namespace
} // namespace sorvanti::test
