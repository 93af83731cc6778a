#pragma once

#include "help/Manual.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QToolBar;
class QTreeWidget;

namespace sorvanti {

// The help window: the manual in a browser, beside two tabs, "目次" (the pages and their
// sections) and "検索" (a field and the sections that hold every word typed in it). It is
// not modal, keeps nothing on disk, and closing it only hides it.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const Manual& manual, QWidget* owner = nullptr);

    QToolBar* TBhelp = nullptr;
    QTabWidget* TCside = nullptr;
    QTreeWidget* TVcontents = nullptr;
    QLineEdit* Esearch = nullptr;
    QLabel* Lfound = nullptr;
    QListWidget* LBfound = nullptr;
    QTextBrowser* Bpage = nullptr;

    // The contents page, with the "目次" tab in front.
    void showContents();
    // The "検索" tab in front, its field focused with its text selected.
    void showSearch();
    // A page of the manual, or one of its sections.
    void showPage(const QString& page, const QString& anchor = {});
    // Fills the result list for `query`, as typing in the search field does.
    void search(const QString& query);
    // Shows the result at `row` of the list, its first matching word selected.
    void showResult(int row);

private:
    void createToolBar();
    void createContentsTree();
    void createSearchTab();
    void present();

    const Manual& manual_;
    QString lastQuery_;
    QList<const Manual::Section*> results_;
};

// One help window per run, created over `owner` on first use, then shown and raised again.
namespace help {
// "目次" and F1: the manual at its contents.
void showContents(QWidget* owner);
// "トピックの検索": the manual with its search field focused.
void showSearch(QWidget* owner);
// "ヘルプの使い方": the manual's page on using the help.
void showHelpOnHelp(QWidget* owner);
// The run's help window, or nullptr before the first of the calls above.
HelpWindow* window();
// The page that showHelpOnHelp() opens.
extern const QString kHelpOnHelpPage;
} // namespace help

} // namespace sorvanti
