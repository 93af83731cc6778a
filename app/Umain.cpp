#include "app/Umain.h"

#include "about/TAboutBox.h"
#include "app/CommandLine.h"
#include "app/PaneLayout.h"
#include "appearance/ColorValue.h"
#include "appearance/FontButton.h"
#include "commands/ConversionCommand.h"
#include "commands/Registration.h"
#include "conversion/Catalogue.h"
#include "conversion/DictionaryEncoding.h"
#include "conversion/DictionaryLoader.h"
#include "conversion/DictionaryTable.h"
#include "conversion/Engine.h"
#include "documents/DocumentFormat.h"
#include "documents/DropTarget.h"
#include "documents/PaneDocument.h"
#include "documents/Printing.h"
#include "integration/IntegrationCommands.h"
#include "settings/Oini.h"
#include "toolkit/BusyCursor.h"
#include "toolkit/ColorDialog.h"
#include "toolkit/DialogRunner.h"
#include "toolkit/FontDialog.h"
#include "toolkit/Guard.h"
#include "toolkit/Messages.h"
#include "toolkit/OpenDialog.h"
#include "toolkit/SaveDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <optional>
#include <stdexcept>

namespace sorvanti {

TVeruzazur* Veruzazur = nullptr;

namespace {

const QString kNoDictionaryFiles = QStringLiteral("辞書ファイルが見つかりません。");
const QString kCannotOpenDictionary = QStringLiteral("辞書ファイルが開けません。");
const QString kDropIntoEditor = QStringLiteral("エディター画面の中にドロップして下さい。");
const QString kSaveChanges = QStringLiteral("保存しますか？");
const QString kCannotChoose = QStringLiteral("指定した場所は選べません");
const QString kDictionaryTooLarge =
    QStringLiteral("辞書ファイルが大きすぎます。最初の16MBだけを読みました。");
const QString kDictionaryCut =
    QStringLiteral("辞書の単語が多すぎます。最初の2000語だけを使います。");

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
    connectHandlers();
    ini = std::make_unique<Oini>(utf8(env_.settingsPath));
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
    const std::vector<std::string> found = findDictionaryNames(utf8(env_.dataFolder));
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
    const LoadResult result = loadDictionary(*table_, utf8(env_.dataFolder), utf8(name));
    if (!result.opened) {
        ShowMessage(this, kCannotOpenDictionary);
        return;
    }
    if (result.entriesDropped > 0)
        ShowMessage(this, kDictionaryCut);
    if (result.sizeLimitReached)
        ShowMessage(this, kDictionaryTooLarge);
    if (result.linesNotTaken > 0)
        ShowMessage(this, QString::fromStdString(
                              linesNotTakenNotice(result.linesNotTaken, result.firstLineNotTaken)));
    // The entries read before a read error stay in force; the error is still the user's to know.
    if (!result.complete)
        throw Error(utf8(QStringLiteral("ストリームからの読み込みに失敗しました")));
}

// ---- conversion -------------------------------------------------------------------------------

void TVeruzazur::SBhenkan0Click(QObject* sender) {
    const BusyCursor busy;
    const int p = PaneIndexFromName(sender, 8);
    const int t = 1 - p;
    // One replacement of the whole text, which undo on that pane takes back.
    panedocument::replaceText(
        *REedit[t], conversioncommand::convertedText(*engine_, *REedit[p]->document(), p));
    CaretsToTop();
}

// ---- word registration --------------------------------------------------------------------

void TVeruzazur::SBtourokuClick(QObject* /*sender*/) {
    Copy1Click(Copy1);
    registration::registerWord(this, *table_, ActivePane);
}

// ---- colours and fonts --------------------------------------------------------------------

std::optional<ColorSurface> TVeruzazur::popupSurface() {
    const std::optional<colors::PopupTarget> target = colors::classifyPopupTarget(PopupComponent);
    if (!target) {
        ShowMessage(this, kCannotChoose);
        return std::nullopt;
    }
    return colors::surfaceOf(*target, ActivePane);
}

void TVeruzazur::colorClick(QObject* /*sender*/) {
    const std::optional<ColorSurface> surface = popupSurface();
    if (!surface)
        return;
    ColorDialog1->Color = colorvalue::toQColor(surfaceColor(*surface), QApplication::palette());
    if (ColorDialog1->Execute())
        setSurfaceColor(*surface, colorvalue::fromQColor(ColorDialog1->Color));
}

void TVeruzazur::DefoltClick(QObject* /*sender*/) {
    if (const std::optional<ColorSurface> surface = popupSurface())
        setSurfaceColor(*surface, colors::defaultColor(*surface));
}

void TVeruzazur::AllDefoltClick(QObject* /*sender*/) {
    for (ColorSurface surface : colors::kAllSurfaces)
        setSurfaceColor(surface, colors::defaultColor(surface));
}

void TVeruzazur::SBfontClick(QObject* /*sender*/) {
    FontDialog* dialog = FDfont[ActivePane];
    if (dialog->Execute())
        fontbutton::applyFont(*REedit[ActivePane], dialog->Font, dialog->Color);
}

// ---- panes -------------------------------------------------------------------------------------

int TVeruzazur::PaneIndexFromName(const QObject* component, int prefixLength) {
    return component->objectName().mid(prefixLength).toInt();
}

void TVeruzazur::LayoutPanes() {
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
        colors::paintBackground(GBframe[p], p == ActivePane ? FrameActColor : FrameDisColor);
}

void TVeruzazur::SetActivePane(int p) {
    if (p == ActivePane)
        return;
    ActivePane = static_cast<int16_t>(p);
    ApplyFrameColors();
    const bool named = !ODdialog[ActivePane]->FileName.isEmpty();
    Save1->setEnabled(named);
    SaveAs1->setEnabled(named);
    ShowDocumentFormat();
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
    for (QTextEdit* edit : REedit)
        panedocument::clear(*edit);
    CaretsToTop();
    ShowDocumentFormat();
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
    if (type == QEvent::ContextMenu && qobject_cast<QToolButton*>(watched) &&
        watched->parent() == PiconBar) {
        showPopupMenu(PiconBar, static_cast<QContextMenuEvent*>(event)->globalPos());
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

void TVeruzazur::ShowDocumentFormat() {
    Lencoding->setText(panedocument::formatLabel(*REedit[ActivePane]));
}

void TVeruzazur::LoadDocument() {
    // A failed load leaves an emptied pane, a new document: its format shows either way.
    const auto showFormat = qScopeGuard([this] { ShowDocumentFormat(); });
    const BusyCursor busy;
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
    if (name.isEmpty())
        return;
    const BusyCursor busy;
    panedocument::save(*REedit[p], name);
}

void TVeruzazur::SaveAs1Click(QObject* /*sender*/) {
    const int p = ActivePane;
    SaveDialog* dialog = SDdialog[p];
    dialog->Filter = DialogFilter;
    dialog->DefaultExt = DialogDefaultExt;
    if (!dialog->Execute())
        return;
    const BusyCursor busy;
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
    panedocument::undo(*REedit[ActivePane]);
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

// ---- printing, tools and help ----------------------------------------------------------------

void TVeruzazur::Print1Click(QObject* /*sender*/) {
    printing::printPane(*PrintDialog1, *REedit[ActivePane], *FDfont[ActivePane]);
}

void TVeruzazur::PrintSetup1Click(QObject* /*sender*/) {
    printing::printSetup(*PrintDialog1);
}

void TVeruzazur::Settei1Click(QObject* /*sender*/) {
    integration::showSettings(this);
}

void TVeruzazur::Kanren1Click(QObject* /*sender*/) {
    integration::associate(this, environment().programPath);
}

void TVeruzazur::About1Click(QObject* /*sender*/) {
    showAboutBox(this);
}

} // namespace sorvanti
