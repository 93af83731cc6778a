// Mouse, keys and files dropped on the window.
#include "app/Umain.h"

#include "app/HotExit.h"
#include "dictedit/TFjisho.h"
#include "documents/DropTarget.h"
#include "documents/Pane.h"
#include "toolkit/Guard.h"
#include "toolkit/Messages.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

namespace sorvanti {

namespace {

const QString kDropIntoEditor = QStringLiteral("エディター画面の中にドロップして下さい。");

} // namespace

bool TVeruzazur::isMenuShortcut(const QEvent* event) const {
    const auto* key = static_cast<const QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    for (const QAction* a : {Undo1, Redo1, Cut1, Copy1, Paste1, SelectAll1})
        if (a->isEnabled() && a->shortcuts().contains(pressed))
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
    if (paneEvent(watched, event))
        return false;
    return QMainWindow::eventFilter(watched, event);
}

// A left-button release over a pane or its frame, or a character typed into a pane, goes to
// its handler; true when `watched` belongs to a pane (the event then goes on as it would).
bool TVeruzazur::paneEvent(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    for (const auto& p : panes_) {
        QTextEdit* edit = p->edit();
        QGroupBox* frame = p->frame();
        if (type == QEvent::MouseButtonRelease &&
            (watched == frame || watched == edit->viewport())) {
            const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
            if (watched == frame)
                guarded(this, [&] { GBframe0MouseUp(frame, button); });
            else
                guarded(this, [&] { REedit0MouseUp(edit, button); });
            return true;
        }
        if (watched != edit)
            continue;
        if ((type == QEvent::KeyPress || type == QEvent::InputMethod) && isTyping(event))
            guarded(this, [&] { REedit0KeyPress(edit); });
        return true;
    }
    return false;
}

void TVeruzazur::showPopupMenu(QWidget* component, const QPoint& globalPos) {
    PopupComponent = component;
    PopupMenu1->popup(globalPos);
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
    if (target != pane(0).edit() && target != pane(1).edit()) {
        ShowMessage(this, kDropIntoEditor);
        return;
    }
    if (refusesDocument(PaneIndexFromName(target, 6)))
        return;
    SetActivePane(PaneIndexFromName(target, 6));
    // The whole path: Linux paths may be far longer than 254 bytes.
    activePane().setFileName(paths.value(0));
    LoadDocument();
}

void TVeruzazur::closeEvent(QCloseEvent* event) {
    // The editor's table is the user's work too: at the user's close the editor asks, and may
    // keep the program open. Ending from outside, nobody would answer: the table is kept.
    if (!hotExit_->ending() && Fjisho && !Fjisho->maybeSave()) {
        event->ignore();
        return;
    }
    hotExit_->keepNow();
    QMainWindow::closeEvent(event);
}

} // namespace sorvanti
