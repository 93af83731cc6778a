// Construction of the main window's named components and the wiring of their handlers.
#include "app/Umain.h"

#include "app/ToolGlyphs.h"
#include "commands/LiveConversion.h"
#include "commands/ReplacementMarks.h"
#include "documents/Pane.h"
#include "toolkit/ColorDialog.h"
#include "toolkit/FormFont.h"
#include "toolkit/Guard.h"
#include "toolkit/MenuItem.h"
#include "toolkit/PrintDialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorvanti {

namespace {

const QString kCaption = QStringLiteral("秘密 の そるばんち");

} // namespace

void TVeruzazur::createComponents() {
    setObjectName(QStringLiteral("Veruzazur"));
    setWindowTitle(kCaption);
    setFont(formFont());
    resize(441, 330);
    // Narrower, the tool bar's buttons leave the window; lower, a pane has no line to show.
    setMinimumSize(373, 200);

    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(client);

    createToolBar();
    column->addWidget(PiconBar);
    Pcenter = new QWidget(client);
    Pcenter->setObjectName(QStringLiteral("Pcenter"));
    column->addWidget(Pcenter, 1);
    createPanes();

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(19);
    StatusBar1->setAutoFillBackground(true);
    setStatusBar(StatusBar1);
    auto label = [this](const char* name, int stretch) {
        auto* l = new QLabel(StatusBar1);
        l->setObjectName(QString::fromLatin1(name));
        // A little room between the labels, which are plain text.
        l->setContentsMargins(0, 0, 6, 0);
        StatusBar1->addWidget(l, stretch);
        return l;
    };
    Lencoding = label("Lencoding", 0);
    Lwords = label("Lwords", 0);
    Ldocument = label("Ldocument", 0);
    Lnote = label("Lnote", 1);
    noteTimer_ = new QTimer(this);
    noteTimer_->setSingleShot(true);
    // Long enough to read a note that came while the user looked elsewhere.
    noteTimer_->setInterval(30000);
    connect(noteTimer_, &QTimer::timeout, Lnote, &QLabel::clear);

    createMenus();
    createDialogs();
    colors_ =
        std::make_unique<SurfaceColors>(SurfaceColors::Widgets{{pane(0).frame(), pane(1).frame()},
                                                               {pane(0).edit(), pane(1).edit()},
                                                               PiconBar,
                                                               StatusBar1});
}

void TVeruzazur::createToolBar() {
    PiconBar = new QFrame(this);
    PiconBar->setObjectName(QStringLiteral("PiconBar"));
    PiconBar->setFixedHeight(36);
    PiconBar->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    PiconBar->setAutoFillBackground(true);

    CBdictionary = new QComboBox(PiconBar);
    CBdictionary->setObjectName(QStringLiteral("CBdictionary"));
    CBdictionary->setEditable(true);
    // The list is filled once and kept sorted by the catalogue; typing never adds to it,
    // never completes and never picks an item by itself.
    CBdictionary->setInsertPolicy(QComboBox::NoInsert);
    CBdictionary->setCompleter(nullptr);
    QObject::disconnect(CBdictionary->lineEdit(), &QLineEdit::editingFinished, CBdictionary,
                        nullptr);
    CBdictionary->setGeometry(8, 8, 137, CBdictionary->sizeHint().height());
    CBdictionary->setToolTip(QStringLiteral("選択中の辞書"));
    // A drop on the selector belongs to the window's drop handler like any other.
    CBdictionary->setAcceptDrops(false);
    CBdictionary->lineEdit()->setAcceptDrops(false);

    auto button = [this](const char* name, const QString& caption, const QString& hint, int left,
                         int width) {
        auto* b = new QToolButton(PiconBar);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setToolTip(hint);
        b->setGeometry(left, 8, width, 22);
        return b;
    };
    SBtouroku = button("SBtouroku", QStringLiteral("登録"), QStringLiteral("単語登録"), 150, 27);
    SBhenkan0 =
        button("SBhenkan0", QStringLiteral("変換"), QStringLiteral("標準語⇒変換後"), 184, 53);
    SBhenkan1 =
        button("SBhenkan1", QStringLiteral("逆変換"), QStringLiteral("変換後⇒標準語"), 244, 53);
    SBvh = button("SBvh", QString(), QStringLiteral("縦横分割"), 312, 22);
    SBvh->setIconSize(QSize(16, 17));
    SBfont = button("SBfont", QString(), QStringLiteral("フォント切換"), 340, 25);
    SBfont->setIconSize(QSize(16, 17));
    SBfont->setIcon(QIcon(glyphs::fontGlyph()));
    for (QToolButton* b : {SBtouroku, SBhenkan0, SBhenkan1})
        b->setEnabled(false);
}

void TVeruzazur::createPanes() {
    const QString captions[2] = {QStringLiteral("標準語"), QStringLiteral("変換語")};
    for (int p = 0; p < 2; ++p) {
        panes_[p] = std::make_unique<Pane>(p, captions[p], Pcenter, this);
        VH[p] = glyphs::splitGlyph(p);
        // Before any zoom of the pane, whose tool-tip events the marks read.
        marks_[p] = new ReplacementMarks(pane(p).edit(), p, *table_);
    }
    live_ = new LiveConversion(*engine_, pane(0), pane(1), marks_[1], this);
}

QAction* TVeruzazur::addSeparator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void TVeruzazur::createMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto menu = [bar](const char* name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    File1 = menu("File1", QStringLiteral("ファイル(&F)"));
    New1 = addItem(File1, "New1", QStringLiteral("新規作成(&N)"), QKeySequence::New);
    Open1 = addItem(File1, "Open1", QStringLiteral("開く(&O)..."), QKeySequence::Open);
    Recent1 = File1->addMenu(QStringLiteral("最近使ったファイル(&F)"));
    Recent1->setObjectName(QStringLiteral("Recent1"));
    Save1 = addItem(File1, "Save1", QStringLiteral("上書き保存(&S)"), QKeySequence::Save);
    SaveAs1 = addItem(File1, "SaveAs1", QStringLiteral("名前をつけて保存(&A)..."),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    N2 = addSeparator(File1, "N2");
    Print1 = addItem(File1, "Print1", QStringLiteral("印刷(&P)..."), QKeySequence::Print);
    PrintSetup1 = addItem(File1, "PrintSetup1", QStringLiteral("ページ設定(&R)..."));
    N1 = addSeparator(File1, "N1");
    Exit1 = addItem(File1, "Exit1", QStringLiteral("終了(&X)"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    Save1->setEnabled(false);
    SaveAs1->setEnabled(false);

    Edit1 = menu("Edit1", QStringLiteral("編集(&E)"));
    Undo1 = addItem(Edit1, "Undo1", QStringLiteral("元に戻す(&U)"), Qt::CTRL | Qt::Key_Z);
    Redo1 =
        addItem(Edit1, "Redo1", QStringLiteral("やり直し(&R)"), Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    Redo1->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    N5 = addSeparator(Edit1, "N5");
    Cut1 = addItem(Edit1, "Cut1", QStringLiteral("切り取り(&T)"), Qt::CTRL | Qt::Key_X);
    Copy1 = addItem(Edit1, "Copy1", QStringLiteral("コピー(&C)"), Qt::CTRL | Qt::Key_C);
    Paste1 = addItem(Edit1, "Paste1", QStringLiteral("貼り付け(&P)"), Qt::CTRL | Qt::Key_V);
    PasteSpecial1 =
        addItem(Edit1, "PasteSpecial1", QStringLiteral("形式を選択して貼り付け(&S)..."));
    N3 = addSeparator(Edit1, "N3");
    SelectAll1 =
        addItem(Edit1, "SelectAll1", QStringLiteral("すべて選択(&A)"), Qt::CTRL | Qt::Key_A);
    N4 = addSeparator(Edit1, "N4");
    Find1 = addItem(Edit1, "Find1", QStringLiteral("検索(&F)..."), Qt::CTRL | Qt::Key_F);
    Replace1 = addItem(Edit1, "Replace1", QStringLiteral("置換(&E)..."), Qt::CTRL | Qt::Key_H);
    // The edit commands act on the active pane wherever the focus is in the window.
    for (QAction* a : {Undo1, Redo1, Cut1, Copy1, Paste1, SelectAll1, Find1, Replace1})
        a->setShortcutContext(Qt::WindowShortcut);
    PasteSpecial1->setVisible(false);

    N6 = menu("N6", QStringLiteral("ツール(&T)"));
    Jisho1 = addItem(N6, "Jisho1", QStringLiteral("辞書の編集(&D)..."));
    N10 = addSeparator(N6, "N10");
    Settei1 = addItem(N6, "Settei1", QStringLiteral("設定(&S)"));
    N9 = addSeparator(N6, "N9");
    Kanren1 = addItem(N6, "Kanren1", QStringLiteral("関連付け(&K)"));

    Help1 = menu("Help1", QStringLiteral("ヘルプ(&H)"));
    Contents1 = addItem(Help1, "Contents1", QStringLiteral("目次(&C)"), QKeySequence::HelpContents);
    SearchforHelpOn1 = addItem(Help1, "SearchforHelpOn1", QStringLiteral("トピックの検索(&S)..."));
    HowtoUseHelp1 = addItem(Help1, "HowtoUseHelp1", QStringLiteral("ヘルプの使い方(&H)"));
    About1 = addItem(Help1, "About1", QStringLiteral("バージョン情報(&A)..."));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    color = addItem(PopupMenu1, "color", QStringLiteral("色を変更する"));
    Defolt = addItem(PopupMenu1, "Defolt", QStringLiteral("元の色に戻す"));
    N7 = addSeparator(PopupMenu1, "N7");
    AllDefolt = addItem(PopupMenu1, "AllDefolt", QStringLiteral("全て元の色に戻す"));
}

void TVeruzazur::createDialogs() {
    PrintDialog1 = new PrintDialog(this);
    PrintDialog1->setObjectName(QStringLiteral("PrintDialog1"));
    ColorDialog1 = new ColorDialog(this);
    ColorDialog1->setObjectName(QStringLiteral("ColorDialog1"));
    ColorDialog1->FullOpen = true;
}

void TVeruzazur::connectHandlers() {
    using Handler = void (TVeruzazur::*)(QObject*);
    auto on = [this](QObject* sender, Handler handler) {
        return [this, sender, handler] { guarded(this, [&] { (this->*handler)(sender); }); };
    };
    const std::pair<QAction*, Handler> items[] = {
        {New1, &TVeruzazur::New1Click},
        {Open1, &TVeruzazur::Open1Click},
        {Save1, &TVeruzazur::Save1Click},
        {SaveAs1, &TVeruzazur::SaveAs1Click},
        {Print1, &TVeruzazur::Print1Click},
        {PrintSetup1, &TVeruzazur::PrintSetup1Click},
        {Exit1, &TVeruzazur::Exit1Click},
        {Undo1, &TVeruzazur::Undo1Click},
        {Redo1, &TVeruzazur::Redo1Click},
        {SelectAll1, &TVeruzazur::SelectAll1Click},
        {Find1, &TVeruzazur::Find1Click},
        {Replace1, &TVeruzazur::Replace1Click},
        {Contents1, &TVeruzazur::Contents1Click},
        {SearchforHelpOn1, &TVeruzazur::SearchforHelpOn1Click},
        {HowtoUseHelp1, &TVeruzazur::HowtoUseHelp1Click},
        {Cut1, &TVeruzazur::Cut1Click},
        {Copy1, &TVeruzazur::Copy1Click},
        {Paste1, &TVeruzazur::Paste1Click},
        {Settei1, &TVeruzazur::Settei1Click},
        {Kanren1, &TVeruzazur::Kanren1Click},
        {About1, &TVeruzazur::About1Click},
        {color, &TVeruzazur::colorClick},
        {Defolt, &TVeruzazur::DefoltClick},
        {AllDefolt, &TVeruzazur::AllDefoltClick},
    };
    for (const auto& [action, handler] : items)
        connect(action, &QAction::triggered, this, on(action, handler));
    connect(Jisho1, &QAction::triggered, this, on(Jisho1, &TVeruzazur::Jisho1Click));

    const std::pair<QToolButton*, Handler> buttons[] = {
        {SBtouroku, &TVeruzazur::SBtourokuClick}, {SBhenkan0, &TVeruzazur::SBhenkan0Click},
        {SBhenkan1, &TVeruzazur::SBhenkan0Click}, {SBvh, &TVeruzazur::SBvhClick},
        {SBfont, &TVeruzazur::SBfontClick},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QToolButton::clicked, this, on(button, handler));

    // A pick changes the index, typing the text; the handler tells them apart by the index.
    connect(CBdictionary, &QComboBox::currentIndexChanged, this,
            on(CBdictionary, &TVeruzazur::CBdictionaryChange));
    connect(CBdictionary, &QComboBox::editTextChanged, this,
            on(CBdictionary, &TVeruzazur::CBdictionaryChange));

    Pcenter->installEventFilter(this);
    connectPopupMenus();
    connectPanes();
    for (const auto& p : panes_) {
        p->frame()->installEventFilter(this);
        p->edit()->installEventFilter(this);
        p->edit()->viewport()->installEventFilter(this);
    }
    // The selector hands the shortcut check to its edit field directly, past that field's
    // filters, so both are watched.
    CBdictionary->installEventFilter(this);
    CBdictionary->lineEdit()->installEventFilter(this);
    createEditingTools();
}

void TVeruzazur::connectPopupMenus() {
    // The tool buttons have no menu of their own: a right click on one, enabled or not,
    // opens the tool bar's.
    for (QToolButton* b : PiconBar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        b->installEventFilter(this);
    for (QWidget* w :
         {static_cast<QWidget*>(StatusBar1), static_cast<QWidget*>(PiconBar),
          static_cast<QWidget*>(pane(0).frame()), static_cast<QWidget*>(pane(1).frame())}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& pos) { showPopupMenu(w, w->mapToGlobal(pos)); });
    }
    for (const auto& p : panes_) {
        QTextEdit* edit = p->edit();
        // The pop-up menu replaces the edit's own; its position comes in viewport terms.
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QWidget::customContextMenuRequested, this, [this, edit](const QPoint& pos) {
            showPopupMenu(edit, edit->viewport()->mapToGlobal(pos));
        });
    }
}

} // namespace sorvanti
