// The main window's life cycle, its panes, conversion, colours and fonts, tools and help.
#include "app/Umain.h"

#include "about/TAboutBox.h"
#include "app/CommandLine.h"
#include "app/HotExit.h"
#include "app/PaneLayout.h"
#include "appearance/ColorValue.h"
#include "appearance/FontButton.h"
#include "commands/ConversionCommand.h"
#include "commands/WordModeChoice.h"
#include "conversion/DictionaryTable.h"
#include "conversion/Engine.h"
#include "documents/DocumentFormat.h"
#include "documents/Pane.h"
#include "editing/FindReplace.h"
#include "help/HelpWindow.h"
#include "integration/IntegrationCommands.h"
#include "settings/Oini.h"
#include "toolkit/BusyCursor.h"
#include "toolkit/ColorDialog.h"
#include "toolkit/FontDialog.h"
#include "toolkit/Guard.h"
#include "toolkit/Messages.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QTextEdit>
#include <QToolButton>

#include <optional>

namespace sorvanti {

TVeruzazur* Veruzazur = nullptr;

namespace {

const QString kCannotChoose = QStringLiteral("指定した場所は選べません");
const QString kReplacedTooLarge = QStringLiteral("元の文章は大きすぎるため、元に戻せません");

} // namespace

TVeruzazur::TVeruzazur(const Environment& env, QWidget* parent)
    : QMainWindow(parent), env_(env), table_(std::make_unique<DictionaryTable>()),
      engine_(std::make_unique<Engine>(*table_)), words_(std::make_unique<WindowWordMode>()) {
    createComponents();
    DialogDefaultExt = dialogDefaultExt();
    DialogFilter = dialogFilter();
    connectHandlers();
    ini = std::make_unique<Oini>(env_.settingsPath.toStdString());
    readSettings();
    // The window is the one target of dropped files; the drop handler decides by the
    // component under the drop point.
    setAcceptDrops(true);
    ResetPanes();
    hotExit_ = std::make_unique<HotExit>(pane(0), pane(1), env_.keptFolder);
    connect(hotExit_.get(), &HotExit::note, this, &TVeruzazur::showNote);
    // The session's end keeps the text before the session may end the program.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { hotExit_->keepNow(); });
    applyOptions(options_);
    FormCreate(this);
    constructing_ = false;
}

TVeruzazur::~TVeruzazur() {
    // Whatever ends the program without closing the window keeps the text here.
    hotExit_.reset();
    guarded(this, [this] { writeSettings(); });
    ini.reset();
    if (Veruzazur == this)
        Veruzazur = nullptr;
}

// ---- start-up ---------------------------------------------------------------------------

void TVeruzazur::FormCreate(QObject* /*sender*/) {
    CBdictionaryChange(CBdictionary);
    LayoutPanes();
    RestoreKeptText();
    OpenCommandLineDocument();
}

void TVeruzazur::RestoreKeptText() {
    const QString note = hotExit_->restore([this]() -> TFjisho& { return DictionaryEditor(); });
    if (!note.isEmpty())
        showNote(note);
}

void TVeruzazur::OpenCommandLineDocument() {
    const std::optional<QString> name = commandline::documentName(env_.commandLine);
    if (!name)
        return;
    activePane().setFileName(*name);
    // A document that cannot be read is reported, and the start-up goes on.
    guarded(this, [this] { LoadDocument(); });
}

void TVeruzazur::Exit1Click(QObject* /*sender*/) {
    close();
}

// ---- panes -------------------------------------------------------------------------------------

int TVeruzazur::PaneIndexFromName(const QObject* component, int prefixLength) {
    return component->objectName().mid(prefixLength).toInt();
}

void TVeruzazur::LayoutPanes() {
    const PaneLayout layout = PaneLayout::compute(Pcenter->width(), Pcenter->height(), SBvhTag);
    for (int p = 0; p < 2; ++p) {
        pane(p).frame()->setGeometry(layout.frame[p]);
        pane(p).edit()->setGeometry(layout.pane[p]);
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
    colors_->setActivePane(ActivePane);
}

void TVeruzazur::SetActivePane(int p) {
    if (p == ActivePane)
        return;
    ActivePane = static_cast<int16_t>(p);
    showActivePane();
}

void TVeruzazur::showActivePane() {
    ApplyFrameColors();
    findReplace_->setPane(activePane().edit());
    UpdateSaveItems();
    enableEditItems();
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
    UpdateSaveItems();
}

void TVeruzazur::connectPanes() {
    for (const auto& p : panes_) {
        Pane* pane = p.get();
        connect(pane, &Pane::changed, this, [this, pane] {
            if (pane == &activePane()) {
                UpdateSaveItems();
                ShowDocumentFormat();
            }
        });
        connect(pane, &Pane::replacedTextDropped, this, [this] { showNote(kReplacedTooLarge); });
    }
}

void TVeruzazur::ResetPanes() {
    ActivePane = 0;
    for (const auto& p : panes_)
        p->clear();
    CaretsToTop();
    showActivePane();
}

void TVeruzazur::CaretsToTop() {
    for (const auto& p : panes_)
        p->caretToTop();
}

// ---- conversion -------------------------------------------------------------------------------

void TVeruzazur::SBhenkan0Click(QObject* sender) {
    const BusyCursor busy;
    const int p = PaneIndexFromName(sender, 8);
    conversioncommand::convert(*engine_, pane(p), pane(1 - p), marks_[1 - p], words_->active());
    words_->conversionDone();
    ShowWordMode();
    CaretsToTop();
}

// ---- colours and fonts --------------------------------------------------------------------

std::optional<ColorSurface> TVeruzazur::popupSurface() {
    const std::optional<ColorSurface> surface = colors_->surfaceOf(PopupComponent);
    if (!surface)
        ShowMessage(this, kCannotChoose);
    return surface;
}

void TVeruzazur::colorClick(QObject* /*sender*/) {
    const std::optional<ColorSurface> surface = popupSurface();
    if (!surface)
        return;
    ColorDialog1->Color = colorvalue::toQColor(colors_->value(*surface), QApplication::palette());
    if (ColorDialog1->Execute())
        colors_->set(*surface, colorvalue::fromQColor(ColorDialog1->Color));
}

void TVeruzazur::DefoltClick(QObject* /*sender*/) {
    if (const std::optional<ColorSurface> surface = popupSurface())
        colors_->reset(*surface);
}

void TVeruzazur::AllDefoltClick(QObject* /*sender*/) {
    colors_->resetAll();
}

void TVeruzazur::SBfontClick(QObject* /*sender*/) {
    FontDialog* dialog = activePane().fontDialog();
    if (dialog->Execute())
        fontbutton::applyFont(*activePane().edit(), dialog->Font, dialog->Color);
}

// ---- tools and help ------------------------------------------------------------------------

void TVeruzazur::Kanren1Click(QObject* /*sender*/) {
    integration::associate(this, environment().programPath);
}

void TVeruzazur::About1Click(QObject* /*sender*/) {
    showAboutBox(this);
}

void TVeruzazur::Contents1Click(QObject* /*sender*/) {
    help::showContents(this);
}

void TVeruzazur::SearchforHelpOn1Click(QObject* /*sender*/) {
    help::showSearch(this);
}

void TVeruzazur::HowtoUseHelp1Click(QObject* /*sender*/) {
    help::showHelpOnHelp(this);
}

} // namespace sorvanti
