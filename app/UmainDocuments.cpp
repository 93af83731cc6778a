// The file and edit menus: each acts on the active pane's document.
#include "app/Umain.h"

#include "documents/Pane.h"
#include "documents/Printing.h"
#include "toolkit/BusyCursor.h"
#include "toolkit/DialogRunner.h"
#include "toolkit/Error.h"
#include "toolkit/OpenDialog.h"
#include "toolkit/SaveDialog.h"

#include <QAction>
#include <QLabel>
#include <QScopeGuard>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace sorvanti {

namespace {

const QString kSaveChanges = QStringLiteral("保存しますか？");

} // namespace

void TVeruzazur::enableSaveItems(bool save, bool saveAs) {
    Save1->setEnabled(save);
    SaveAs1->setEnabled(saveAs);
}

void TVeruzazur::ShowDocumentFormat() {
    Lencoding->setText(activePane().formatLabel());
}

void TVeruzazur::LoadDocument() {
    // A failed load leaves an emptied pane, a new document: its format shows either way.
    const auto showFormat = qScopeGuard([this] { ShowDocumentFormat(); });
    const BusyCursor busy;
    Pane& p = activePane();
    p.load(p.fileName());
    enableSaveItems(true, true);
}

void TVeruzazur::AskSaveChanges() {
    if (!activePane().isModified())
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
    enableSaveItems(false, false);
}

void TVeruzazur::Open1Click(QObject* /*sender*/) {
    if (refusesDocument(ActivePane))
        return;
    Pane& p = activePane();
    OpenDialog* dialog = p.openDialog();
    dialog->Filter = DialogFilter;
    dialog->DefaultExt = DialogDefaultExt;
    // The dialog proposes the pane's document.
    dialog->FileName = p.fileName();
    if (!dialog->Execute())
        return;
    p.setFileName(dialog->FileName);
    LoadDocument();
}

void TVeruzazur::Save1Click(QObject* /*sender*/) {
    Pane& p = activePane();
    if (p.fileName().isEmpty())
        return;
    const BusyCursor busy;
    p.save(p.fileName());
}

void TVeruzazur::SaveAs1Click(QObject* /*sender*/) {
    Pane& p = activePane();
    SaveDialog* dialog = p.saveDialog();
    dialog->Filter = DialogFilter;
    dialog->DefaultExt = DialogDefaultExt;
    if (!dialog->Execute())
        return;
    const BusyCursor busy;
    p.save(dialog->FileName);
}

// ---- edit commands -----------------------------------------------------------------------------

void TVeruzazur::Undo1Click(QObject* /*sender*/) {
    activePane().undo();
}

void TVeruzazur::Cut1Click(QObject* /*sender*/) {
    QTextEdit* edit = activePane().edit();
    // Without a selection the clipboard keeps what it holds.
    if (edit->textCursor().hasSelection())
        edit->cut();
}

void TVeruzazur::Copy1Click(QObject* /*sender*/) {
    QTextEdit* edit = activePane().edit();
    if (edit->textCursor().hasSelection())
        edit->copy();
}

void TVeruzazur::Paste1Click(QObject* /*sender*/) {
    activePane().edit()->paste();
}

// ---- printing ----------------------------------------------------------------------------------

void TVeruzazur::Print1Click(QObject* /*sender*/) {
    printing::printPane(*PrintDialog1, *activePane().edit(), *activePane().fontDialog());
}

void TVeruzazur::PrintSetup1Click(QObject* /*sender*/) {
    printing::printSetup(*PrintDialog1);
}

} // namespace sorvanti
