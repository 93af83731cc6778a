// The edit menu beyond cut, copy and paste: redo, select all, find and replace, and the zoom
// of the panes' view; each acts on the active pane.
#include "app/Umain.h"

#include "documents/Pane.h"
#include "editing/FindReplace.h"
#include "editing/PaneZoom.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTextEdit>
#include <QTimer>

namespace sorvanti {

void TVeruzazur::createEditingTools() {
    findReplace_ = new FindReplace(this, [this](const QString& note) { showNote(note); });
    FindNext1 = findReplace_->findNextAction();
    FindPrevious1 = findReplace_->findPreviousAction();
    Edit1->insertActions(Replace1, {FindNext1, FindPrevious1});

    // After the window's own filters, so that they see the panes' events as the panes mean
    // them whatever the zoom.
    for (const auto& p : panes_)
        PaneZoom::attach(p->edit());
    const ZoomActions zoom = createZoomActions(this, [this] { return activePane().edit(); });
    ZoomIn1 = zoom.zoomIn;
    ZoomOut1 = zoom.zoomOut;
    ZoomReset1 = zoom.reset;
    N11 = addSeparator(Edit1, "N11");
    Edit1->addActions({ZoomIn1, ZoomOut1, ZoomReset1});
    // The keys work wherever the focus is in the window, the menu closed.
    addActions({FindNext1, FindPrevious1, ZoomIn1, ZoomOut1, ZoomReset1});
}

void TVeruzazur::showNote(const QString& note) {
    Lnote->setText(note);
    // The whole note also where the bar cuts it off.
    Lnote->setToolTip(note);
    if (note.isEmpty())
        noteTimer_->stop();
    else
        noteTimer_->start();
}

void TVeruzazur::Redo1Click(QObject* /*sender*/) {
    activePane().redo();
}

void TVeruzazur::SelectAll1Click(QObject* /*sender*/) {
    activePane().edit()->selectAll();
}

void TVeruzazur::Find1Click(QObject* /*sender*/) {
    findReplace_->showFind();
}

void TVeruzazur::Replace1Click(QObject* /*sender*/) {
    findReplace_->showReplace();
}

} // namespace sorvanti
