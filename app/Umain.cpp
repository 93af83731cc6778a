#include "app/Umain.h"

#include "about/TAboutBox.h"
#include "app/ColorValue.h"
#include "app/CommandLine.h"
#include "app/DropTarget.h"
#include "app/Oini.h"
#include "app/PaneDocument.h"
#include "app/PaneLayout.h"
#include "app/ToolGlyphs.h"
#include "conversion/Catalogue.h"
#include "conversion/ConversionCommand.h"
#include "conversion/DictionaryLoader.h"
#include "conversion/DictionaryTable.h"
#include "conversion/Engine.h"
#include "documents/DocumentFormat.h"
#include "documents/Printing.h"
#include "integration/IntegrationCommands.h"
#include "toolkit/ColorDialog.h"
#include "toolkit/DialogRunner.h"
#include "toolkit/FontDialog.h"
#include "toolkit/Guard.h"
#include "toolkit/Messages.h"
#include "toolkit/OpenDialog.h"
#include "toolkit/PrintDialog.h"
#include "toolkit/SaveDialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>
#include <stdexcept>

namespace sorvanti {

TVeruzazur* Veruzazur = nullptr;

namespace {

const QString kCaption = QStringLiteral("秘密 の そるばんち");
const QString kChooseDictionary = QStringLiteral("辞書を選択して下さい");
const QString kNoDictionaryFiles = QStringLiteral("辞書ファイルが見つかりません。");
const QString kCannotOpenDictionary = QStringLiteral("辞書ファイルが開けません。");
const QString kDropIntoEditor = QStringLiteral("エディター画面の中にドロップして下さい。");
const QString kSaveChanges = QStringLiteral("保存しますか？");
const QString kDictionaryCut =
    QStringLiteral("辞書の単語が多すぎます。最初の2000語だけを使います。");

// The window's font: the classic Japanese UI font where it exists, else an installed one.
QFont formFont() {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("VL PGothic")});
    font.setPixelSize(12);
    return font;
}

void setBackground(QWidget* widget, QPalette::ColorRole role, int32_t value) {
    QPalette palette = widget->palette();
    palette.setColor(role, colorvalue::toQColor(value, QApplication::palette()));
    widget->setPalette(palette);
}

// The component named `name` among the window's children, of the expected kind.
template <typename T> T* component(QObject* form, const QString& name) {
    T* found = form->findChild<T*>(name);
    if (!found)
        throw std::logic_error("component " + name.toStdString() + " missing");
    return found;
}

std::string utf8(const QString& text) {
    return text.toStdString();
}

} // namespace

TVeruzazur::TVeruzazur(const Environment& env, QWidget* parent)
    : QMainWindow(parent), env_(env), table_(std::make_unique<DictionaryTable>()),
      engine_(std::make_unique<Engine>(*table_)) {
    createComponents();
    DialogDefaultExt = dialogDefaultExt();
    DialogFilter = dialogFilter();
    findPaneComponents();
    ini = std::make_unique<Oini>(utf8(env_.programPath));
    readSettings();
    // The window is the one target of dropped files; the drop handler decides by the
    // component under the drop point.
    setAcceptDrops(true);
    ResetPanes();
    FormCreate(this);
}

TVeruzazur::~TVeruzazur() {
    guarded(this, [this] { writeSettings(); });
    ini.reset();
    if (Veruzazur == this)
        Veruzazur = nullptr;
}

// ---- components ---------------------------------------------------------------------

void TVeruzazur::createComponents() {
    setObjectName(QStringLiteral("Veruzazur"));
    setWindowTitle(kCaption);
    setFont(formFont());
    resize(441, 330);

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

    createMenus();
    createDialogs();
    connectHandlers();
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
    QGroupBox* frames[2];
    QTextEdit* edits[2];
    for (int p = 0; p < 2; ++p) {
        auto* frame = new QGroupBox(captions[p], Pcenter);
        frame->setObjectName(QStringLiteral("GBframe%1").arg(p));
        frame->setAutoFillBackground(true);
        auto* edit = new QTextEdit(frame);
        edit->setObjectName(QStringLiteral("REedit%1").arg(p));
        edit->setAcceptRichText(true);
        edit->setLineWrapMode(QTextEdit::NoWrap);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        // Files dropped on a pane are the window's business, not the edit's.
        edit->setAcceptDrops(false);
        edit->viewport()->setAcceptDrops(false);
        frames[p] = frame;
        edits[p] = edit;
    }
    GBframe0 = frames[0];
    GBframe1 = frames[1];
    REedit0 = edits[0];
    REedit1 = edits[1];
}

QAction* TVeruzazur::addItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
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
    New1 = addItem(File1, "New1", QStringLiteral("新規作成(&N)"));
    Open1 = addItem(File1, "Open1", QStringLiteral("開く(&O)..."));
    Save1 = addItem(File1, "Save1", QStringLiteral("上書き保存(&S)"));
    SaveAs1 = addItem(File1, "SaveAs1", QStringLiteral("名前をつけて保存(&A)..."));
    N2 = addSeparator(File1, "N2");
    Print1 = addItem(File1, "Print1", QStringLiteral("印刷(&P)..."));
    PrintSetup1 = addItem(File1, "PrintSetup1", QStringLiteral("ページ設定(&R)..."));
    N1 = addSeparator(File1, "N1");
    Exit1 = addItem(File1, "Exit1", QStringLiteral("終了(&X)"));
    Save1->setEnabled(false);
    SaveAs1->setEnabled(false);

    Edit1 = menu("Edit1", QStringLiteral("編集(&E)"));
    Undo1 = addItem(Edit1, "Undo1", QStringLiteral("元に戻す(&U)"));
    Redo1 = addItem(Edit1, "Redo1", QStringLiteral("<コマンド> やり直し(&R)"));
    N5 = addSeparator(Edit1, "N5");
    Cut1 = addItem(Edit1, "Cut1", QStringLiteral("切り取り(&T)"));
    Copy1 = addItem(Edit1, "Copy1", QStringLiteral("コピー(&C)"));
    Paste1 = addItem(Edit1, "Paste1", QStringLiteral("貼り付け(&P)"));
    PasteSpecial1 =
        addItem(Edit1, "PasteSpecial1", QStringLiteral("形式を選択して貼り付け(&S)..."));
    N4 = addSeparator(Edit1, "N4");
    Find1 = addItem(Edit1, "Find1", QStringLiteral("検索(&F)..."));
    Replace1 = addItem(Edit1, "Replace1", QStringLiteral("置換(&E)..."));
    Undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Cut1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    Copy1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    Paste1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    for (QAction* a : {Undo1, Cut1, Copy1, Paste1})
        a->setShortcutContext(Qt::WindowShortcut);
    Redo1->setVisible(false);
    PasteSpecial1->setVisible(false);
    Find1->setEnabled(false);
    Replace1->setEnabled(false);

    N6 = menu("N6", QStringLiteral("ツール(&T)"));
    Settei1 = addItem(N6, "Settei1", QStringLiteral("設定(&S)"));
    N9 = addSeparator(N6, "N9");
    Kanren1 = addItem(N6, "Kanren1", QStringLiteral("関連付け(&K)"));
    Settei1->setEnabled(false);

    Help1 = menu("Help1", QStringLiteral("ヘルプ(&H)"));
    Contents1 = addItem(Help1, "Contents1", QStringLiteral("目次(&C)"));
    SearchforHelpOn1 = addItem(Help1, "SearchforHelpOn1", QStringLiteral("トピックの検索(&S)..."));
    HowtoUseHelp1 = addItem(Help1, "HowtoUseHelp1", QStringLiteral("ヘルプの使い方(&H)"));
    About1 = addItem(Help1, "About1", QStringLiteral("バージョン情報(&A)..."));
    for (QAction* a : {Contents1, SearchforHelpOn1, HowtoUseHelp1})
        a->setEnabled(false);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    color = addItem(PopupMenu1, "color", QStringLiteral("色を変更する"));
    Defolt = addItem(PopupMenu1, "Defolt", QStringLiteral("元の色に戻す"));
    N7 = addSeparator(PopupMenu1, "N7");
    AllDefolt = addItem(PopupMenu1, "AllDefolt", QStringLiteral("全て元の色に戻す"));
}

void TVeruzazur::createDialogs() {
    auto name = [](QObject* o, const char* n) { o->setObjectName(QString::fromLatin1(n)); };
    ODdialog0 = new OpenDialog(this);
    name(ODdialog0, "ODdialog0");
    ODdialog1 = new OpenDialog(this);
    name(ODdialog1, "ODdialog1");
    SDdialog0 = new SaveDialog(this);
    name(SDdialog0, "SDdialog0");
    SDdialog1 = new SaveDialog(this);
    name(SDdialog1, "SDdialog1");
    FDfont0 = new FontDialog(this);
    name(FDfont0, "FDfont0");
    FDfont1 = new FontDialog(this);
    name(FDfont1, "FDfont1");
    for (FontDialog* f : {FDfont0, FDfont1}) {
        f->Font = formFont();
        f->Color = QApplication::palette().color(QPalette::WindowText);
    }
    PrintDialog1 = new PrintDialog(this);
    name(PrintDialog1, "PrintDialog1");
    ColorDialog1 = new ColorDialog(this);
    name(ColorDialog1, "ColorDialog1");
    ColorDialog1->FullOpen = true;
}

void TVeruzazur::connectHandlers() {
    using Handler = void (TVeruzazur::*)(QObject*);
    auto on = [this](QObject* sender, Handler handler) {
        return [this, sender, handler] { guarded(this, [&] { (this->*handler)(sender); }); };
    };
    const std::pair<QAction*, Handler> items[] = {
        {New1, &TVeruzazur::New1Click},           {Open1, &TVeruzazur::Open1Click},
        {Save1, &TVeruzazur::Save1Click},         {SaveAs1, &TVeruzazur::SaveAs1Click},
        {Print1, &TVeruzazur::Print1Click},       {PrintSetup1, &TVeruzazur::PrintSetup1Click},
        {Exit1, &TVeruzazur::Exit1Click},         {Undo1, &TVeruzazur::Undo1Click},
        {Cut1, &TVeruzazur::Cut1Click},           {Copy1, &TVeruzazur::Copy1Click},
        {Paste1, &TVeruzazur::Paste1Click},       {Settei1, &TVeruzazur::Settei1Click},
        {Kanren1, &TVeruzazur::Kanren1Click},     {About1, &TVeruzazur::About1Click},
        {color, &TVeruzazur::colorClick},         {Defolt, &TVeruzazur::DefoltClick},
        {AllDefolt, &TVeruzazur::AllDefoltClick},
    };
    for (const auto& [action, handler] : items)
        connect(action, &QAction::triggered, this, on(action, handler));

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
    for (QWidget* w : {static_cast<QWidget*>(StatusBar1), static_cast<QWidget*>(PiconBar),
                       static_cast<QWidget*>(GBframe0), static_cast<QWidget*>(GBframe1)}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& pos) { showPopupMenu(w, w->mapToGlobal(pos)); });
    }
    for (QTextEdit* edit : {REedit0, REedit1}) {
        // The pop-up menu replaces the edit's own; its position comes in viewport terms.
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QWidget::customContextMenuRequested, this, [this, edit](const QPoint& pos) {
            showPopupMenu(edit, edit->viewport()->mapToGlobal(pos));
        });
        edit->installEventFilter(this);
        edit->viewport()->installEventFilter(this);
    }
    GBframe0->installEventFilter(this);
    GBframe1->installEventFilter(this);
    // The selector hands the shortcut check to its edit field directly, past that field's
    // filters, so both are watched.
    CBdictionary->installEventFilter(this);
    CBdictionary->lineEdit()->installEventFilter(this);
}

void TVeruzazur::showPopupMenu(QWidget* component, const QPoint& globalPos) {
    PopupComponent = component;
    PopupMenu1->popup(globalPos);
}

void TVeruzazur::findPaneComponents() {
    for (int p = 0; p < 2; ++p) {
        const QString digit = QString::number(p);
        GBframe[p] = component<QGroupBox>(this, QStringLiteral("GBframe") + digit);
        REedit[p] = component<QTextEdit>(this, QStringLiteral("REedit") + digit);
        SBhenkan[p] = component<QToolButton>(this, QStringLiteral("SBhenkan") + digit);
        ODdialog[p] = component<OpenDialog>(this, QStringLiteral("ODdialog") + digit);
        SDdialog[p] = component<SaveDialog>(this, QStringLiteral("SDdialog") + digit);
        FDfont[p] = component<FontDialog>(this, QStringLiteral("FDfont") + digit);
        VH[p] = glyphs::splitGlyph(p);
    }
}

// ---- settings -------------------------------------------------------------------------

void TVeruzazur::readSettings() {
    const auto readInt = [this](const char* section, const char* key, int32_t fallback) {
        return ini->ReadInteger(section, key, fallback);
    };
    resize(readInt("メイン", "Width", width()), height());
    resize(width(), readInt("メイン", "Height", height()));
    const QSize screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size()
                                                          : QSize(width(), height());
    move(x(), readInt("メイン", "Top", (screen.height() - height()) >> 1));
    move(readInt("メイン", "Left", (screen.width() - width()) >> 1), y());

    FrameActColor = readInt("カラー", "FrameAct", colorvalue::kSkyBlue);
    FrameDisColor = readInt("カラー", "FrameDis", colorvalue::kButtonFace);
    setPaneColor(0, readInt("カラー", "Edit0", colorvalue::kWindow));
    setPaneColor(1, readInt("カラー", "Edit1", colorvalue::kMoneyGreen));
    setIconBarColor(readInt("カラー", "IconBar", colorvalue::kButtonFace));
    setStatusBarColor(readInt("カラー", "StatusBar", colorvalue::kButtonFace));

    // Only 0 and 1 have a layout; any other stored value means side by side and is
    // written back as 1.
    SBvhTag = readInt("分割", "Vh", 0) != 0 ? 1 : 0;

    const QString name =
        QString::fromStdString(ini->ReadString("辞書", "Name", utf8(kChooseDictionary)));
    FillCatalogue(name);
}

void TVeruzazur::writeSettings() {
    ini->WriteInteger("メイン", "Width", width());
    ini->WriteInteger("メイン", "Height", height());
    ini->WriteInteger("メイン", "Top", y());
    ini->WriteInteger("メイン", "Left", x());
    ini->WriteInteger("カラー", "FrameAct", FrameActColor);
    ini->WriteInteger("カラー", "FrameDis", FrameDisColor);
    ini->WriteInteger("カラー", "Edit0", paneColor_[0]);
    ini->WriteInteger("カラー", "Edit1", paneColor_[1]);
    ini->WriteInteger("カラー", "IconBar", iconBarColor_);
    ini->WriteInteger("カラー", "StatusBar", statusBarColor_);
    ini->WriteInteger("分割", "Vh", SBvhTag);
    ini->WriteString("辞書", "Name", utf8(CBdictionary->currentText()));
}

void TVeruzazur::setPaneColor(int p, int32_t value) {
    paneColor_[p] = value;
    // The frame's colour would otherwise reach the edit's scroll bars.
    QTextEdit* edit = REedit[p];
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, colorvalue::toQColor(value, QApplication::palette()));
    palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    edit->setPalette(palette);
}

void TVeruzazur::setIconBarColor(int32_t value) {
    iconBarColor_ = value;
    setBackground(PiconBar, QPalette::Window, value);
}

void TVeruzazur::setStatusBarColor(int32_t value) {
    statusBarColor_ = value;
    setBackground(StatusBar1, QPalette::Window, value);
}

// ---- start-up ---------------------------------------------------------------------------

void TVeruzazur::FormCreate(QObject* /*sender*/) {
    CBdictionaryChange(CBdictionary);
    LayoutPanes();
    OpenCommandLineDocument();
}

void TVeruzazur::OpenCommandLineDocument() {
    const std::optional<QString> name = commandline::documentName(env_.commandLine);
    if (!name)
        return;
    ODdialog[ActivePane]->FileName = *name;
    // A document that cannot be read is reported, and the start-up goes on.
    guarded(this, [this] { LoadDocument(); });
}

void TVeruzazur::Exit1Click(QObject* /*sender*/) {
    close();
}

// ---- dictionary selection -------------------------------------------------------------------

void TVeruzazur::FillCatalogue(const QString& rememberedName) {
    const std::vector<std::string> found = findDictionaryNames(utf8(env_.programFolder));
    int selected = -1;
    {
        // The list is built quietly; the selection handler runs once, below.
        const QSignalBlocker blocker(CBdictionary);
        CBdictionary->setEditText(rememberedName);
        if (found.empty()) {
            ShowMessage(this, kNoDictionaryFiles);
            return;
        }
        for (const std::string& name : found) {
            const size_t at = insertSorted(names_, name);
            CBdictionary->insertItem(static_cast<int>(at), QString::fromStdString(name));
        }
        selected = findExactName(names_, utf8(rememberedName));
        CBdictionary->setCurrentIndex(selected);
        if (selected < 0)
            CBdictionary->setEditText(rememberedName);
    }
    if (selected >= 0)
        CBdictionaryChange(CBdictionary);
}

void TVeruzazur::CBdictionaryChange(QObject* /*sender*/) {
    const int index = CBdictionary->currentIndex();
    if (index == CBdictionaryTag || index < 0)
        return;
    CBdictionaryTag = index;
    for (QToolButton* b : {SBhenkan0, SBhenkan1, SBtouroku})
        b->setEnabled(true);
    loadChosenDictionary(CBdictionary->currentText());
}

void TVeruzazur::loadChosenDictionary(const QString& name) {
    const LoadResult result = loadDictionary(*table_, utf8(env_.programFolder), utf8(name));
    if (!result.opened) {
        ShowMessage(this, kCannotOpenDictionary);
        return;
    }
    if (result.entriesDropped > 0)
        ShowMessage(this, kDictionaryCut);
    // The entries read before a read error stay in force; the error is still the user's to know.
    if (!result.complete)
        throw Error(utf8(QStringLiteral("ストリームからの読み込みに失敗しました")));
}

// ---- conversion -------------------------------------------------------------------------------

void TVeruzazur::SBhenkan0Click(QObject* sender) {
    const int p = PaneIndexFromName(sender, 8);
    const int t = 1 - p;
    const QString text = conversioncommand::convertedText(*engine_, *REedit[p]->document(), p);
    // One replacement of the whole text: emptying clears the modified flag, and the lines
    // written set it again when there is at least one.
    REedit[t]->setPlainText(text);
    REedit[t]->document()->setModified(!text.isEmpty());
    CaretsToTop();
}

// ---- panes -------------------------------------------------------------------------------------

int TVeruzazur::PaneIndexFromName(const QObject* component, int prefixLength) {
    return component->objectName().mid(prefixLength).toInt();
}

void TVeruzazur::LayoutPanes() {
    // The centre panel reports sizes while the window is being built; the panes are
    // placed only once the per-pane arrays exist.
    if (!GBframe[0] || !GBframe[1] || !REedit[0] || !REedit[1])
        return;
    const PaneLayout layout = PaneLayout::compute(Pcenter->width(), Pcenter->height(), SBvhTag);
    for (int p = 0; p < 2; ++p) {
        GBframe[p]->setGeometry(layout.frame[p]);
        REedit[p]->setGeometry(layout.pane[p]);
    }
    SBvh->setIcon(QIcon(VH[SBvhTag & 1]));
}

void TVeruzazur::SBvhClick(QObject* /*sender*/) {
    SBvhTag ^= 1;
    LayoutPanes();
}

void TVeruzazur::PcenterResize(QObject* /*sender*/) {
    LayoutPanes();
}

void TVeruzazur::ApplyFrameColors() {
    for (int p = 0; p < 2; ++p)
        setBackground(GBframe[p], QPalette::Window,
                      p == ActivePane ? FrameActColor : FrameDisColor);
}

void TVeruzazur::SetActivePane(int p) {
    if (p == ActivePane)
        return;
    ActivePane = static_cast<int16_t>(p);
    ApplyFrameColors();
    const bool named = !ODdialog[ActivePane]->FileName.isEmpty();
    Save1->setEnabled(named);
    SaveAs1->setEnabled(named);
}

void TVeruzazur::GBframe0MouseUp(QObject* sender, Qt::MouseButton button) {
    if (button == Qt::LeftButton)
        SetActivePane(PaneIndexFromName(sender, 7));
}

void TVeruzazur::REedit0MouseUp(QObject* sender, Qt::MouseButton button) {
    if (button == Qt::LeftButton)
        SetActivePane(PaneIndexFromName(sender, 6));
}

void TVeruzazur::REedit0KeyPress(QObject* /*sender*/) {
    SaveAs1->setEnabled(true);
}

void TVeruzazur::ResetPanes() {
    ActivePane = 0;
    ApplyFrameColors();
    for (QTextEdit* edit : REedit) {
        edit->clear();
        edit->document()->setModified(false);
    }
    CaretsToTop();
}

void TVeruzazur::CaretsToTop() {
    for (QTextEdit* edit : REedit) {
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(0);
        edit->setTextCursor(cursor);
        edit->ensureCursorVisible();
        // Scrolling the caret into view stops at the document margin; the caret is at the
        // very start, so show the text from its very top.
        edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->minimum());
        edit->horizontalScrollBar()->setValue(edit->horizontalScrollBar()->minimum());
    }
}

// ---- events ------------------------------------------------------------------------------------

bool TVeruzazur::isMenuShortcut(const QEvent* event) const {
    const auto* key = static_cast<const QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    for (const QAction* a : {Undo1, Cut1, Copy1, Paste1})
        if (a->isEnabled() && a->shortcut() == pressed)
            return true;
    return false;
}

bool TVeruzazur::isTyping(const QEvent* event) const {
    if (event->type() == QEvent::InputMethod)
        return !static_cast<const QInputMethodEvent*>(event)->commitString().isEmpty();
    const auto* key = static_cast<const QKeyEvent*>(event);
    // A character typed, as opposed to a movement, a deletion or a menu's shortcut.
    return !key->text().isEmpty() && key->key() != Qt::Key_Delete && !isMenuShortcut(event);
}

bool TVeruzazur::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride && menuShortcutsWin_ && isMenuShortcut(event)) {
        // Left unaccepted, the key goes to the menu's shortcut instead of the focused
        // pane or line edit, so the edit commands act on the active pane.
        event->ignore();
        return true;
    }
    if (watched == Pcenter) {
        if (type == QEvent::Resize)
            guarded(this, [&] { PcenterResize(Pcenter); });
        return false;
    }
    for (int p = 0; p < 2; ++p) {
        QTextEdit* edit = p == 0 ? REedit0 : REedit1;
        QGroupBox* frame = p == 0 ? GBframe0 : GBframe1;
        if (type == QEvent::MouseButtonRelease &&
            (watched == frame || watched == edit->viewport())) {
            const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
            if (watched == frame)
                guarded(this, [&] { GBframe0MouseUp(frame, button); });
            else
                guarded(this, [&] { REedit0MouseUp(edit, button); });
            return false;
        }
        if (watched != edit)
            continue;
        if ((type == QEvent::KeyPress || type == QEvent::InputMethod) && isTyping(event))
            guarded(this, [&] { REedit0KeyPress(edit); });
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- documents --------------------------------------------------------------------------------

void TVeruzazur::LoadDocument() {
    const int p = ActivePane;
    panedocument::load(*REedit[p], ODdialog[p]->FileName);
    Save1->setEnabled(true);
    SaveAs1->setEnabled(true);
}

void TVeruzazur::AskSaveChanges() {
    if (!REedit[ActivePane]->document()->isModified())
        return;
    const QMessageBox::StandardButton answer = DialogRunner::current().messageBox(
        this, QMessageBox::Question, windowTitle(), kSaveChanges,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) {
        SaveAs1Click(SaveAs1);
        return;
    }
    // Cancel, Escape and the close box all abandon the command.
    if (answer != QMessageBox::No)
        throw Abort();
}

void TVeruzazur::New1Click(QObject* /*sender*/) {
    AskSaveChanges();
    ResetPanes();
    Save1->setEnabled(false);
    SaveAs1->setEnabled(false);
}

void TVeruzazur::Open1Click(QObject* /*sender*/) {
    OpenDialog* dialog = ODdialog[ActivePane];
    dialog->Filter = DialogFilter;
    dialog->DefaultExt = DialogDefaultExt;
    if (dialog->Execute())
        LoadDocument();
}

void TVeruzazur::Save1Click(QObject* /*sender*/) {
    const int p = ActivePane;
    const QString name = ODdialog[p]->FileName;
    if (!name.isEmpty())
        panedocument::save(*REedit[p], name);
}

void TVeruzazur::SaveAs1Click(QObject* /*sender*/) {
    const int p = ActivePane;
    SaveDialog* dialog = SDdialog[p];
    dialog->Filter = DialogFilter;
    dialog->DefaultExt = DialogDefaultExt;
    if (!dialog->Execute())
        return;
    panedocument::save(*REedit[p], dialog->FileName);
    ODdialog[p]->FileName = dialog->FileName;
}

// ---- dropped files -----------------------------------------------------------------------------

void TVeruzazur::dragEnterEvent(QDragEnterEvent* event) {
    if (!droptarget::droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TVeruzazur::dragMoveEvent(QDragMoveEvent* event) {
    if (!droptarget::droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TVeruzazur::dropEvent(QDropEvent* event) {
    const QStringList paths = droptarget::droppedFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // The drop is finished first; the handler, which may show a box, runs right after,
    // so the program the files came from is not kept waiting.
    const QPoint at = event->position().toPoint();
    QTimer::singleShot(0, this,
                       [this, at, paths] { guarded(this, [&] { FilesDropped(at, paths); }); });
}

void TVeruzazur::FilesDropped(const QPoint& windowPos, const QStringList& paths) {
    raise();
    activateWindow();
    QWidget* target = droptarget::componentAt(this, windowPos);
    if (!target)
        return;
    if (target != REedit0 && target != REedit1) {
        ShowMessage(this, kDropIntoEditor);
        return;
    }
    const int p = PaneIndexFromName(target, 6);
    SetActivePane(p);
    // The whole path: Linux paths may be far longer than 254 bytes.
    ODdialog[p]->FileName = paths.value(0);
    LoadDocument();
}

// ---- edit commands -----------------------------------------------------------------------------

void TVeruzazur::Undo1Click(QObject* /*sender*/) {
    if (QTextEdit* edit = REedit[ActivePane])
        edit->undo();
}

void TVeruzazur::Cut1Click(QObject* /*sender*/) {
    QTextEdit* edit = REedit[ActivePane];
    // Without a selection the clipboard keeps what it holds.
    if (edit->textCursor().hasSelection())
        edit->cut();
}

void TVeruzazur::Copy1Click(QObject* /*sender*/) {
    QTextEdit* edit = REedit[ActivePane];
    if (edit->textCursor().hasSelection())
        edit->copy();
}

void TVeruzazur::Paste1Click(QObject* /*sender*/) {
    REedit[ActivePane]->paste();
}

// ---- commands of later steps
// ---------------------------------------------------------------------

void TVeruzazur::Print1Click(QObject*) {
    printing::printPane(*PrintDialog1, *REedit[ActivePane], *FDfont[ActivePane]);
}
void TVeruzazur::PrintSetup1Click(QObject*) {
    printing::printSetup(*PrintDialog1);
}
void TVeruzazur::SBtourokuClick(QObject*) {}
void TVeruzazur::SBfontClick(QObject*) {}
void TVeruzazur::colorClick(QObject*) {}
void TVeruzazur::DefoltClick(QObject*) {}
void TVeruzazur::AllDefoltClick(QObject*) {}
void TVeruzazur::Settei1Click(QObject*) {
    integration::showSettings(this);
}
void TVeruzazur::Kanren1Click(QObject*) {
    integration::associate(this, environment().programPath);
}
void TVeruzazur::About1Click(QObject*) {
    showAboutBox(this);
}

} // namespace sorvanti
