#pragma once

#include "conversion/DictionaryDocument.h"
#include "conversion/DictionaryFile.h"

#include <QMainWindow>
#include <QString>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;

namespace sorvanti {

class DictionaryModel;
class DictionaryView;
class RowFilter;
class TrialConversion;

// The dictionary editor: a window of its own, not modal, that shows one dictionary file as a
// table in file order (DictionaryModel) with what the check finds on each line, edits it with
// undo and redo, tries the table out ("試す") and saves the file so that every line the user did
// not change keeps its bytes. The source is split by concern: TFjisho.cpp (components and the
// edit commands), TFjishoFile.cpp (opening, saving, a new dictionary, closing).
//
// Nothing the user typed is lost: closing with changes asks 保存 / 破棄 / キャンセル (unless the
// program is ending from outside: then the program keeps the table for its next start); before
// a save the file is compared with what was read, and lines appended meanwhile (a "登録" in
// the main window) are taken in as rows at the end, while any other change is asked about.
class TFjisho : public QMainWindow {
    Q_OBJECT
public:
    // `dataFolder`: the folder that holds "辞書/" (ending with "/").
    explicit TFjisho(const QString& dataFolder, QWidget* parent = nullptr);
    ~TFjisho() override;

    // Shows the dictionary `name` of the dictionary folder (empty: none). When another one is
    // open with changes, asks first; false when the user cancelled, or the file cannot be read.
    bool openDictionary(const QString& name);
    const QString& dictionaryName() const { return name_; }
    QString path() const;
    bool modified() const;

    // Saves the table into its file: false when nothing was written (refused, cancelled).
    bool save();
    // Asks what becomes of unsaved changes; false when the user cancels.
    bool maybeSave();

    // What the file held when it was read or last written.
    const FileStamp& stamp() const { return stamp_; }
    // Shows the dictionary `name` with `document` as its table, changed and unsaved, its undo
    // history starting there: a table kept at the end of an earlier run. `stamp` is what the
    // file held then, so that what happened to the file since is handled as any change made
    // elsewhere (lines appended are taken in, another change is asked about at the save, a
    // file gone is noted and made again by the save).
    void restoreTable(const QString& name, DictionaryDocument document, const FileStamp& stamp);
    // The program is ending from outside (a signal, the session's end): closing asks nothing
    // from now on, and the table stays as it is for the program to keep. What is being typed
    // into a field goes into the table first.
    void endWithoutAsking();

    // Components.
    QMenu* File1 = nullptr;
    QAction *Hozon1 = nullptr, *Shinki1 = nullptr, *Tojiru1 = nullptr;
    QMenu* Edit1 = nullptr;
    QAction *Undo1 = nullptr, *Redo1 = nullptr, *Sounyuu1 = nullptr, *Sakujo1 = nullptr;
    QAction *Ue1 = nullptr, *Shita1 = nullptr, *Saki1 = nullptr, *Genin1 = nullptr;
    QAction *Kensaku1 = nullptr, *Tango1 = nullptr;
    QMenu* View1 = nullptr;
    QAction* Mondai1 = nullptr;
    QLineEdit* Ekensaku = nullptr;
    QCheckBox* CKmondai = nullptr;
    // The word-mode switch, and Tango1 in the 編集 menu: checked when the rows declare word
    // mode; clicked, it writes or takes out the declaration (DictionaryModel::setWordMode).
    QCheckBox* CKtango = nullptr;
    DictionaryView* SGjisho = nullptr;
    TrialConversion* GBtamesu = nullptr;
    QLabel* Ljoutai = nullptr;

    DictionaryModel& model() const { return *model_; }

    // Handlers.
    void Hozon1Click();
    void Shinki1Click();
    void Sounyuu1Click();
    void Sakujo1Click();
    void Ue1Click();
    void Shita1Click();
    void Saki1Click();
    void Genin1Click();
    void CKtangoClick(bool on);
    void SGjishoActivated(const QModelIndex& index);

signals:
    // The table, or what its file held, changed: an edit, undo, a save, a load.
    void changed();
    // The file at `path` was written.
    void saved(const QString& path);
    // The new dictionary `name` was made in the dictionary folder.
    void created(const QString& name);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createComponents();
    void createMenus();
    void connectHandlers();
    void updateTitle();
    void updateStatus();
    void updateActions();
    void updateWordMode();
    // The selected rows and the current row, in the model's terms.
    std::vector<int> selectedRows() const;
    int currentRow() const;
    void selectRows(const std::vector<int>& rows);

    // Files (TFjishoFile.cpp).
    bool load(const QString& name);
    // Takes in what was appended to the file elsewhere; false when it changed otherwise.
    bool takeInOutsideChanges(bool quiet);
    bool writeFile();

    QString dataFolder_;
    QString name_;
    FileStamp stamp_;
    bool asking_ = true; // closing with changes asks
    DictionaryModel* model_ = nullptr;
    RowFilter* filter_ = nullptr;
};

} // namespace sorvanti
