#include "help/HelpWindow.h"

#include "help/Manual.h"
#include "toolkit/FormFont.h"
#include "toolkit/ProgramIcon.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace sorvanti {

namespace {

constexpr int kUrlRole = Qt::UserRole;
constexpr double kPagePointSize = 10.5;

const QString kStyle =
    QStringLiteral("h1 { font-size: x-large; } h2 { font-size: large; margin-top: 16px; }"
                   "code, pre { font-family: monospace; } th { background-color: #e8e8e8; }");

// The browser takes the contents page from the manual; every other page from its file.
class ManualBrowser : public QTextBrowser {
public:
    ManualBrowser(const Manual& manual, QWidget* parent) : QTextBrowser(parent), manual_(manual) {}

    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::HtmlResource &&
            name.adjusted(QUrl::RemoveFragment) == manual_.contentsUrl())
            return manual_.contentsHtml();
        return QTextBrowser::loadResource(type, name);
    }

private:
    const Manual& manual_;
};

} // namespace

HelpWindow::HelpWindow(const Manual& manual, QWidget* owner)
    : QWidget(owner, Qt::Window), manual_(manual) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("秘密 の そるばんち ヘルプ"));
    setWindowIcon(programIcon());
    setFont(formFont());
    // A help window left open does not keep the program running.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(780, 540);

    Bpage = new ManualBrowser(manual, this);
    Bpage->setObjectName(QStringLiteral("Bpage"));
    Bpage->setOpenExternalLinks(true);
    QFont pageFont(formFontFamilies().first());
    pageFont.setFamilies(formFontFamilies());
    pageFont.setPointSizeF(kPagePointSize);
    Bpage->setFont(pageFont);
    Bpage->document()->setDefaultStyleSheet(kStyle);

    createToolBar();
    TCside = new QTabWidget(this);
    TCside->setObjectName(QStringLiteral("TCside"));
    createContentsTree();
    createSearchTab();

    auto* splitter = new QSplitter(this);
    splitter->addWidget(TCside);
    splitter->addWidget(Bpage);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 550});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(TBhelp);
    layout->addWidget(splitter, 1);
    search(QString());
}

void HelpWindow::createToolBar() {
    TBhelp = new QToolBar(this);
    TBhelp->setObjectName(QStringLiteral("TBhelp"));
    QAction* back = TBhelp->addAction(QStringLiteral("戻る"), Bpage, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    connect(Bpage, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QAction* forward = TBhelp->addAction(QStringLiteral("進む"), Bpage, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(Bpage, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    QAction* contents = TBhelp->addAction(QStringLiteral("目次"), this, &HelpWindow::showContents);
    contents->setShortcut(QKeySequence::HelpContents);
    QAction* find = TBhelp->addAction(QStringLiteral("検索"), this, &HelpWindow::showSearch);
    find->setShortcut(QKeySequence::Find);
}

void HelpWindow::createSearchTab() {
    auto* searchTab = new QWidget(TCside);
    auto* column = new QVBoxLayout(searchTab);
    Esearch = new QLineEdit(searchTab);
    Esearch->setObjectName(QStringLiteral("Esearch"));
    Esearch->setPlaceholderText(QStringLiteral("探す言葉"));
    Esearch->setClearButtonEnabled(true);
    Lfound = new QLabel(searchTab);
    Lfound->setObjectName(QStringLiteral("Lfound"));
    LBfound = new QListWidget(searchTab);
    LBfound->setObjectName(QStringLiteral("LBfound"));
    column->addWidget(Esearch);
    column->addWidget(Lfound);
    column->addWidget(LBfound, 1);
    TCside->addTab(searchTab, QStringLiteral("検索"));
    connect(Esearch, &QLineEdit::textChanged, this, &HelpWindow::search);
    connect(Esearch, &QLineEdit::returnPressed, this, [this] {
        if (LBfound->count() > 0) {
            LBfound->setCurrentRow(0);
            showResult(0);
        }
    });
    connect(LBfound, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showResult(LBfound->row(item)); });
    connect(LBfound, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showResult(LBfound->row(item)); });
}

void HelpWindow::createContentsTree() {
    TVcontents = new QTreeWidget(TCside);
    TVcontents->setObjectName(QStringLiteral("TVcontents"));
    TVcontents->setHeaderHidden(true);
    for (const Manual::Page& page : manual_.pages()) {
        auto* item = new QTreeWidgetItem(TVcontents, {page.title});
        item->setData(0, kUrlRole, manual_.url(page.file));
        for (const Manual::Section& section : page.sections)
            if (!section.anchor.isEmpty())
                (new QTreeWidgetItem(item, {section.title}))
                    ->setData(0, kUrlRole, manual_.url(page.file, section.anchor));
    }
    connect(TVcontents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { Bpage->setSource(item->data(0, kUrlRole).toUrl()); });
    connect(TVcontents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { Bpage->setSource(item->data(0, kUrlRole).toUrl()); });
    TCside->addTab(TVcontents, QStringLiteral("目次"));
}

void HelpWindow::present() {
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void HelpWindow::showContents() {
    Bpage->setSource(manual_.contentsUrl());
    TCside->setCurrentWidget(TVcontents);
    present();
}

void HelpWindow::showSearch() {
    TCside->setCurrentWidget(Esearch->parentWidget());
    present();
    Esearch->setFocus(Qt::OtherFocusReason);
    Esearch->selectAll();
}

void HelpWindow::showPage(const QString& page, const QString& anchor) {
    Bpage->setSource(manual_.url(page, anchor));
    present();
}

void HelpWindow::search(const QString& query) {
    if (Esearch->text() != query) {
        Esearch->setText(query); // comes back here through textChanged
        return;
    }
    lastQuery_ = query;
    LBfound->clear();
    results_ = manual_.search(query);
    for (const Manual::Section* section : results_) {
        const Manual::Page& page =
            *std::find_if(manual_.pages().begin(), manual_.pages().end(),
                          [&](const Manual::Page& p) { return p.file == section->page; });
        LBfound->addItem(section->anchor.isEmpty()
                             ? page.title
                             : section->title + QStringLiteral(" ― ") + page.title);
    }
    if (query.trimmed().isEmpty())
        Lfound->setText(QStringLiteral("探す言葉を入力してください"));
    else if (results_.isEmpty())
        Lfound->setText(QStringLiteral("見つかりません"));
    else
        Lfound->setText(QStringLiteral("%1 件見つかりました").arg(results_.size()));
}

void HelpWindow::showResult(int row) {
    if (row < 0 || row >= results_.size())
        return;
    const Manual::Section& section = *results_[row];
    Bpage->setSource(manual_.url(section.page, section.anchor));
    // The first word of the query, from the section's heading on, selected in the page.
    const QStringList words = Manual::words(lastQuery_);
    if (words.isEmpty())
        return;
    QTextDocument* doc = Bpage->document();
    QTextCursor from(doc);
    if (!section.anchor.isEmpty())
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
            if (block.blockFormat().headingLevel() == 2 && block.text() == section.title) {
                from = QTextCursor(block);
                break;
            }
    const QTextCursor hit = doc->find(words.first(), from);
    if (!hit.isNull())
        Bpage->setTextCursor(hit);
}

namespace help {

const QString kHelpOnHelpPage = QStringLiteral("95-using-help.html");

namespace {

QPointer<HelpWindow> theWindow;

HelpWindow& windowOver(QWidget* owner) {
    if (!theWindow)
        theWindow = new HelpWindow(Manual::builtIn(), owner ? owner->window() : nullptr);
    return *theWindow;
}

} // namespace

void showContents(QWidget* owner) {
    windowOver(owner).showContents();
}

void showSearch(QWidget* owner) {
    windowOver(owner).showSearch();
}

void showHelpOnHelp(QWidget* owner) {
    HelpWindow& w = windowOver(owner);
    w.showPage(kHelpOnHelpPage);
}

HelpWindow* window() {
    return theWindow;
}

} // namespace help

} // namespace sorvanti
