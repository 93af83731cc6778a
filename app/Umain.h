#pragma once

#include "app/Environment.h"
#include "appearance/SurfaceColors.h"
#include "documents/PlainText.h"
#include "integration/ProgramOptions.h"
#include "settings/RecentFiles.h"

#include <QMainWindow>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;
class QToolButton;

namespace sorvanti {

class ColorDialog;
class DictionaryTable;
class Engine;
class FindReplace;
class HotExit;
class LiveConversion;
class Oini;
class Pane;
class PrintDialog;
class ReplacementMarks;
class TFjisho;
class WindowWordMode;

// The main window. Components carry their names as objectName; handlers keep the names
// of the component and event they serve and are short: the work is done by the panes, the
// colours, and the commands, layout and catalogue functions they call. Each pane (its frame,
// text edit, dialogs and document) is a Pane; a handler shared by both panes finds its pane
// by the index at the end of its sender's name (PaneIndexFromName).
//
// The window's source is split by concern: Umain.cpp (life cycle, panes, conversion,
// colours and fonts, tools), UmainDictionary.cpp (the selector and registration),
// UmainDocuments.cpp (the file and edit menus), UmainEvents.cpp (mouse, keys and dropped
// files), UmainSetup.cpp (components and wiring), UmainSettings.cpp (the settings file),
// UmainOptions.cpp (the options of "設定": live conversion and the replaced words' marks).
class TVeruzazur : public QMainWindow {
    Q_OBJECT
public:
    // Reads the settings of the program in `env`, fills the dictionary selector, resets
    // the panes and runs FormCreate.
    explicit TVeruzazur(const Environment& env, QWidget* parent = nullptr);
    // Writes the settings back; a failed write is shown in the error box, not thrown.
    ~TVeruzazur() override;

    // Components.
    QStatusBar* StatusBar1 = nullptr;
    // On the status bar: the text format of the active pane's document ("CP932", "UTF-8 LF"),
    // its name with a mark when it has unsaved changes, and the last note of a command.
    QLabel* Lencoding = nullptr;
    QLabel* Ldocument = nullptr;
    QLabel* Lnote = nullptr;
    // On the status bar: the dictionary's word mode ("単語単位", "単語単位 (無効)"), or nothing.
    QLabel* Lwords = nullptr;
    QFrame* PiconBar = nullptr;
    QComboBox* CBdictionary = nullptr;
    QToolButton* SBtouroku = nullptr;
    QToolButton* SBhenkan0 = nullptr;
    QToolButton* SBhenkan1 = nullptr;
    QToolButton* SBvh = nullptr;
    QToolButton* SBfont = nullptr;
    QWidget* Pcenter = nullptr;

    QMenu* File1 = nullptr;
    QAction *New1 = nullptr, *Open1 = nullptr, *Save1 = nullptr, *SaveAs1 = nullptr;
    // "最近使ったファイル": one item per document of the list, newest first.
    QMenu* Recent1 = nullptr;
    QAction *N2 = nullptr, *Print1 = nullptr, *PrintSetup1 = nullptr, *N1 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Edit1 = nullptr;
    QAction *Undo1 = nullptr, *Redo1 = nullptr, *N5 = nullptr, *Cut1 = nullptr;
    QAction *Copy1 = nullptr, *Paste1 = nullptr, *PasteSpecial1 = nullptr, *N4 = nullptr;
    QAction *N3 = nullptr, *SelectAll1 = nullptr;
    QAction *Find1 = nullptr, *FindNext1 = nullptr, *FindPrevious1 = nullptr, *Replace1 = nullptr;
    QAction *N11 = nullptr, *ZoomIn1 = nullptr, *ZoomOut1 = nullptr, *ZoomReset1 = nullptr;
    QMenu* N6 = nullptr;
    QAction *Jisho1 = nullptr, *N10 = nullptr;
    QAction *Settei1 = nullptr, *N9 = nullptr, *Kanren1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction *Contents1 = nullptr, *SearchforHelpOn1 = nullptr, *HowtoUseHelp1 = nullptr;
    QAction* About1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction *color = nullptr, *Defolt = nullptr, *N7 = nullptr, *AllDefolt = nullptr;

    PrintDialog* PrintDialog1 = nullptr;
    ColorDialog* ColorDialog1 = nullptr;
    // The dictionary editor, made the first time it is asked for and kept for the run.
    TFjisho* Fjisho = nullptr;

    // The split button's glyphs, by orientation.
    std::array<QPixmap, 2> VH;

    QString DialogDefaultExt;
    QString DialogFilter;
    int16_t ActivePane = 0;

    // The loaded index of the selector (-1: nothing loaded yet).
    int CBdictionaryTag = -1;
    // The split orientation: 0 stacked, 1 side by side.
    int SBvhTag = 0;
    // The component the pop-up menu was last opened on.
    QWidget* PopupComponent = nullptr;

    // Pane `p` (0 upper "標準語", 1 lower "変換語"), and the active one.
    Pane& pane(int p) const { return *panes_[p]; }
    Pane& activePane() const { return pane(ActivePane); }
    // The colours of the frames, panes, tool bar and status bar.
    SurfaceColors& colors() const { return *colors_; }

    const Environment& environment() const { return env_; }
    DictionaryTable& dictionary() { return *table_; }
    // What keeps the panes' unsaved text between runs.
    HotExit& hotExit() const { return *hotExit_; }

    // The options of "設定" in force; applyOptions() puts others in force as OK does.
    const ProgramOptions& options() const { return options_; }
    void applyOptions(const ProgramOptions& options);
    // The marks of the words conversions replaced in pane `p`.
    ReplacementMarks& marks(int p) const { return *marks_[p]; }

    // When on (the default), the edit menu's keys (undo, redo, cut, copy, paste, select all)
    // win over the panes' and the selector's own handling of those keys, so they act on the
    // active pane.
    void setMenuShortcutsWin(bool on) { menuShortcutsWin_ = on; }

    // The pane index of a per-pane component: the number after the first `prefixLength`
    // characters of its name ("REedit1", 6 -> 1). The one place a name gives a pane.
    static int PaneIndexFromName(const QObject* component, int prefixLength);

    void FormCreate(QObject* sender);
    void LayoutPanes();
    void SetActivePane(int p);
    void ApplyFrameColors();
    void ResetPanes();
    void CaretsToTop();
    void FillCatalogue(const QString& rememberedName);

    // Documents: loads the active pane's document file into it; asks whether to save the
    // active pane's changes and throws Abort when the user cancels or the save does not
    // happen.
    void LoadDocument();
    // Shows the active pane's text format, document name and unsaved mark on the status bar.
    void ShowDocumentFormat();
    // A note of a command on the status bar ("文書の先頭から検索しました"); it goes after a
    // while, or when the next note comes.
    void showNote(const QString& note);
    // Shows the dictionary's word mode on the status bar.
    void ShowWordMode();
    void AskSaveChanges();
    // The save commands follow the active pane: "上書き保存" when it has a document name,
    // "名前をつけて保存" when it has one, holds text or has changes.
    void UpdateSaveItems();
    // The drop handler: `windowPos` in the window's coordinates, `paths` the dropped files.
    void FilesDropped(const QPoint& windowPos, const QStringList& paths);

    // Event handlers.
    void CBdictionaryChange(QObject* sender);
    void SBhenkan0Click(QObject* sender);
    void SBvhClick(QObject* sender);
    void PcenterResize(QObject* sender);
    void GBframe0MouseUp(QObject* sender, Qt::MouseButton button);
    void REedit0MouseUp(QObject* sender, Qt::MouseButton button);
    void REedit0KeyPress(QObject* sender);
    void Exit1Click(QObject* sender);

    // Handlers that the document, edit, print, appearance, integration and about
    // commands fill in.
    void New1Click(QObject* sender);
    void Open1Click(QObject* sender);
    void Save1Click(QObject* sender);
    void SaveAs1Click(QObject* sender);
    void Print1Click(QObject* sender);
    void PrintSetup1Click(QObject* sender);
    void Undo1Click(QObject* sender);
    void Redo1Click(QObject* sender);
    void SelectAll1Click(QObject* sender);
    void Find1Click(QObject* sender);
    void Replace1Click(QObject* sender);
    void RecentFileClick(QObject* sender);
    void Cut1Click(QObject* sender);
    void Copy1Click(QObject* sender);
    void Paste1Click(QObject* sender);
    void SBtourokuClick(QObject* sender);
    void SBfontClick(QObject* sender);
    void colorClick(QObject* sender);
    void DefoltClick(QObject* sender);
    void AllDefoltClick(QObject* sender);
    void Jisho1Click(QObject* sender);
    void Settei1Click(QObject* sender);
    void Kanren1Click(QObject* sender);
    void About1Click(QObject* sender);
    void Contents1Click(QObject* sender);
    void SearchforHelpOn1Click(QObject* sender);
    void HowtoUseHelp1Click(QObject* sender);

    const RecentFiles& recentFiles() const { return recent_; }
    FindReplace& findReplace() const { return *findReplace_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The panes' unsaved text is kept for the next start without a question; the one question
    // at exit is the dictionary editor's about its unsaved changes.
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Construction of the components and their wiring (UmainSetup.cpp).
    void createComponents();
    void createToolBar();
    void createPanes();
    void createMenus();
    void createDialogs();
    void createEditingTools();
    void fillRecentMenu();
    void rememberDocument(const QString& path);
    void connectHandlers();
    void connectPopupMenus();
    void connectPanes();
    // Shows which pane is active: its frame's colours, the find's target, the edit and save
    // items, its document on the status bar.
    void showActivePane();
    QAction* addSeparator(QMenu* menu, const char* name);

    void readSettings();
    void writeSettings();
    // The surface that the colour commands act on, from the pop-up target; shows the
    // notice and gives nullopt when the target is none of the coloured components.
    std::optional<ColorSurface> popupSurface();

    void OpenCommandLineDocument();
    // The dictionary editor, made at its first need (its place from the settings, its saves
    // and new dictionaries followed, its unsaved table kept by the hot exit).
    TFjisho& DictionaryEditor();
    // The dictionary editor wrote `path`: the table follows when it is the one in use.
    void DictionarySaved(const QString& path);
    // The editor made the dictionary `name`: the selector lists it.
    void DictionaryCreated(const QString& name);
    // Gives back the unsaved text and dictionary table an earlier run kept, with a note on the
    // status bar.
    void RestoreKeptText();
    // Events (UmainEvents.cpp).
    bool isTyping(const QEvent* event) const;
    bool isMenuShortcut(const QEvent* event) const;
    bool paneEvent(QObject* watched, QEvent* event);
    void showPopupMenu(QWidget* component, const QPoint& globalPos);
    // Loads dictionary `name` of the selector's list, follows its word mode and shows the
    // load's notices.
    void loadDictionary(const std::string& name);
    // Shows the notices of a dictionary load; those of the start-up wait until the window is
    // on the screen, so that they do not appear before it.
    void showNotices(const QStringList& notices);
    // Saves the active pane to `path` in `format`; a character that code page 932 lacks asks
    // whether to save as UTF-8 instead (no: Abort).
    void savePane(const QString& path, const plaintext::Format& format);
    // The options (UmainOptions.cpp).
    void enableConversionButtons();
    void enableEditItems();
    void dictionaryChanged();
    // True, after telling the user, when pane `p` cannot take a document now (it follows the
    // other pane's conversion).
    bool refusesDocument(int p);

    Environment env_;
    std::unique_ptr<Oini> ini;
    std::unique_ptr<DictionaryTable> table_;
    std::unique_ptr<Engine> engine_;
    std::unique_ptr<WindowWordMode> words_;
    std::vector<std::string> names_;
    std::array<std::unique_ptr<Pane>, 2> panes_;
    std::unique_ptr<SurfaceColors> colors_;
    RecentFiles recent_;
    FindReplace* findReplace_ = nullptr;
    QTimer* noteTimer_ = nullptr;
    std::unique_ptr<HotExit> hotExit_; // after the panes, which it watches
    ProgramOptions options_;
    std::array<ReplacementMarks*, 2> marks_{};
    LiveConversion* live_ = nullptr;
    bool menuShortcutsWin_ = true;
    // Set while the window is being made: notices wait for its first showing.
    bool constructing_ = true;
    QStringList pendingNotices_;
};

// The main window of the running program.
extern TVeruzazur* Veruzazur;

} // namespace sorvanti
