// The file and edit menus: each acts on the active pane's document.
#include "app/Umain.h"

#include "documents/DocumentFormat.h"
#include "documents/Pane.h"
#include "documents/PlainText.h"
#include "documents/Printing.h"
#include "toolkit/BusyCursor.h"
#include "toolkit/DialogRunner.h"
#include "toolkit/Error.h"
#include "toolkit/Guard.h"
#include "toolkit/OpenDialog.h"
#include "toolkit/SaveDialog.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace sorvanti {

namespace {

const QString kSaveChanges = QStringLiteral("保存しますか？");
const QString kUntitled = QStringLiteral("無題");
const QString kUnsavedMark = QStringLiteral(" *");
const QString kRecentMissing =
    QStringLiteral("「%1」が見つからないため、最近使ったファイルから外しました");

QString saveAsUtf8Question(const plaintext::Unencodable& refusal) {
    return QStringLiteral("%1行目の文字「%2」は CP932 のテキストファイルに保存できません。"
                          "UTF-8 で保存しますか？")
        .arg(refusal.line)
        .arg(refusal.character);
}

} // namespace

void TVeruzazur::UpdateSaveItems() {
    const Pane& p = activePane();
    const bool named = !p.fileName().isEmpty();
    Save1->setEnabled(named);
    SaveAs1->setEnabled(named || p.isModified() || !p.document().isEmpty());
}

void TVeruzazur::ShowDocumentFormat() {
    const Pane& p = activePane();
    Lencoding->setText(p.formatLabel());
    const QString name = p.fileName().isEmpty() ? kUntitled : QFileInfo(p.fileName()).fileName();
    Ldocument->setText(p.isModified() ? name + kUnsavedMark : name);
    Ldocument->setToolTip(p.fileName());
}

void TVeruzazur::rememberDocument(const QString& path) {
    recent_.add(path.toStdString());
    fillRecentMenu();
}

void TVeruzazur::fillRecentMenu() {
    Recent1->clear();
    int n = 0;
    for (const std::string& path : recent_.paths()) {
        ++n;
        const QString name = QString::fromStdString(path);
        // "&1 試験.svt", the folder in the tip.
        QAction* item = Recent1->addAction(QStringLiteral("&%1 %2").arg(n).arg(
            QFileInfo(name).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"))));
        item->setObjectName(QStringLiteral("RecentFile%1").arg(n));
        item->setData(name);
        item->setToolTip(name);
        connect(item, &QAction::triggered, this,
                [this, item] { guarded(this, [&] { RecentFileClick(item); }); });
    }
    Recent1->setEnabled(n > 0);
}

void TVeruzazur::RecentFileClick(QObject* sender) {
    if (refusesDocument(ActivePane))
        return;
    const QString path = static_cast<QAction*>(sender)->data().toString();
    if (!QFileInfo::exists(path)) {
        recent_.remove(path.toStdString());
        fillRecentMenu();
        showNote(kRecentMissing.arg(QFileInfo(path).fileName()));
        return;
    }
    activePane().setFileName(path);
    LoadDocument();
}

void TVeruzazur::LoadDocument() {
    // A failed load leaves an emptied pane, a new document: its format shows either way.
    const auto showFormat = qScopeGuard([this] { ShowDocumentFormat(); });
    const BusyCursor busy;
    Pane& p = activePane();
    p.load(p.fileName());
    rememberDocument(p.fileName());
}

void TVeruzazur::savePane(const QString& path, const plaintext::Format& format) {
    Pane& p = activePane();
    try {
        const BusyCursor busy;
        p.save(path, format);
    } catch (const plaintext::Unencodable& refusal) {
        const QMessageBox::StandardButton answer = DialogRunner::current().messageBox(
            this, QMessageBox::Question, windowTitle(), saveAsUtf8Question(refusal),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes)
            throw Abort();
        const BusyCursor busy;
        p.save(path, plaintext::inUtf8(format));
    }
    rememberDocument(path);
}

void TVeruzazur::AskSaveChanges() {
    if (!activePane().isModified())
        return;
    const QMessageBox::StandardButton answer = DialogRunner::current().messageBox(
        this, QMessageBox::Question, windowTitle(), kSaveChanges,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) {
        SaveAs1Click(SaveAs1);
        // A save that did not happen (its dialog cancelled) abandons the command too.
        if (activePane().isModified())
            throw Abort();
        return;
    }
    // Cancel, Escape and the close box all abandon the command.
    if (answer != QMessageBox::No)
        throw Abort();
}

void TVeruzazur::New1Click(QObject* /*sender*/) {
    // Each pane with changes is asked about, the active one first, and is made active while
    // it is, so its frame shows which one is meant. A save that does not happen leaves both
    // panes, and the active one, as they were.
    const int first = ActivePane;
    try {
        for (const int p : {first, 1 - first}) {
            SetActivePane(p);
            AskSaveChanges();
        }
    } catch (...) {
        SetActivePane(first);
        throw;
    }
    ResetPanes();
}

void TVeruzazur::Open1Click(QObject* /*sender*/) {
    if (refusesDocument(ActivePane))
        return;
    Pane& p = activePane();
    OpenDialog* dialog = p.openDialog();
    dialog->Filter = openDialogFilter();
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
    savePane(p.fileName(), p.format());
}

void TVeruzazur::SaveAs1Click(QObject* /*sender*/) {
    Pane& p = activePane();
    SaveDialog* dialog = p.saveDialog();
    dialog->Filter = saveDialogFilter();
    dialog->DefaultExt = DialogDefaultExt;
    // The dialog proposes the pane's own type: its encoding, or RTF.
    dialog->FilterIndex =
        int(proposedSaveType(p.isPlainText(), !p.fileName().isEmpty(), p.format()));
    if (!dialog->Execute())
        return;
    savePane(dialog->FileName, savedFormat(SaveType(dialog->FilterIndex), p.format()));
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
