#include "editing/PaneZoom.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QInputMethodEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

namespace sorvanti {

namespace {

constexpr int kWheelStep = 120; // one notch of a mouse wheel
constexpr int kDragScrollInterval = 50;

int indexOf(Qt::Orientation orientation) {
    return orientation == Qt::Horizontal ? 0 : 1;
}

bool isMouse(QEvent::Type type) {
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
           type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
}

} // namespace

const std::vector<int>& PaneZoom::steps() {
    static const std::vector<int> list{25,  33,  50,  67,  80,  90,  100, 110,
                                       125, 150, 175, 200, 250, 300, 400};
    return list;
}

PaneZoom* PaneZoom::of(const QTextEdit* pane) {
    return pane ? pane->findChild<PaneZoom*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

PaneZoom* PaneZoom::attach(QTextEdit* pane) {
    if (PaneZoom* zoom = of(pane))
        return zoom;
    return new PaneZoom(pane);
}

PaneZoom::PaneZoom(QTextEdit* pane) : QObject(pane), pane_(pane) {
    qtMaximum_[0] = pane->horizontalScrollBar()->maximum();
    qtMaximum_[1] = pane->verticalScrollBar()->maximum();
    for (QScrollBar* bar : {pane->horizontalScrollBar(), pane->verticalScrollBar()})
        connect(bar, &QScrollBar::rangeChanged, this, [this, bar] { rangeChanged(bar); });
    connect(pane, &QTextEdit::cursorPositionChanged, this, &PaneZoom::restartBlink);
    // The pane scrolls what it is asked to show (the caret, mostly) into its unscaled view;
    // this follows each such request for the scaled one. The request comes from the pane's
    // text control; without it, the caret's moves stand in.
    const auto children = pane->children();
    const auto control = std::find_if(children.begin(), children.end(), [](QObject* child) {
        return child->metaObject()->indexOfSignal("visibilityRequest(QRectF)") >= 0;
    });
    if (control == children.end() ||
        !connect(*control, SIGNAL(visibilityRequest(QRectF)), this, SLOT(ensureVisible(QRectF))))
        connect(pane, &QTextEdit::cursorPositionChanged, this, [this] {
            const QRect caret = pane_->cursorRect();
            ensureVisible(QRectF(caret).translated(pane_->horizontalScrollBar()->value(),
                                                   pane_->verticalScrollBar()->value()));
        });
    const int flash = QApplication::cursorFlashTime();
    blink_.setInterval(flash / 2);
    connect(&blink_, &QTimer::timeout, this, [this] {
        caretOn_ = !caretOn_;
        pane_->viewport()->update();
    });
    dragScroll_.setInterval(kDragScrollInterval);
    connect(&dragScroll_, &QTimer::timeout, this, &PaneZoom::dragScroll);
    pane->installEventFilter(this);
    pane->viewport()->installEventFilter(this);
}

void PaneZoom::setPercent(int percent) {
    percent = std::clamp(percent, steps().front(), steps().back());
    if (percent == percent_)
        return;
    QWidget* viewport = pane_->viewport();
    // A viewport that fills its own background is scrolled by moving its pixels, at the
    // pane's scale; this one is repainted whole instead.
    if (!zoomed())
        autoFill_ = viewport->autoFillBackground();
    percent_ = percent;
    viewport->setAutoFillBackground(zoomed() ? false : autoFill_);
    fitScrollBars();
    if (!zoomed())
        blink_.stop();
    restartBlink();
    viewport->update();
}

void PaneZoom::zoomIn() {
    const auto& s = steps();
    const auto next = std::upper_bound(s.begin(), s.end(), percent_);
    setPercent(next == s.end() ? s.back() : *next);
}

void PaneZoom::zoomOut() {
    const auto& s = steps();
    const auto at = std::lower_bound(s.begin(), s.end(), percent_);
    setPercent(at == s.begin() ? s.front() : *(at - 1));
}

QPoint PaneZoom::toPane(QPoint viewportPosition) const {
    return (QPointF(viewportPosition) / scale()).toPoint();
}

bool PaneZoom::eventFilter(QObject* watched, QEvent* event) {
    // While the pane is destroyed, its viewport still sends events after the pane has stopped
    // being a text edit: nothing of it may be called then (parent() is the pane as an object).
    if (forwarding_ || !qobject_cast<QTextEdit*>(parent()))
        return false;
    if (watched == pane_->viewport())
        return viewportEvent(event);
    if (watched == pane_)
        return paneEvent(event);
    return false;
}

bool PaneZoom::viewportEvent(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Wheel) {
        const auto* wheelEvent = static_cast<QWheelEvent*>(event);
        if (!(wheelEvent->modifiers() & Qt::ControlModifier))
            return false;
        wheel(wheelEvent->angleDelta().y());
        return true;
    }
    if (!zoomed())
        return false;
    if (type == QEvent::Paint) {
        paint(static_cast<QPaintEvent*>(event));
        return true;
    }
    if (isMouse(type) || type == QEvent::ToolTip)
        return forward(event);
    return false;
}

// Hands a pointer event on to the viewport with its position scaled back to the pane's.
bool PaneZoom::forward(QEvent* event) {
    QWidget* viewport = pane_->viewport();
    forwarding_ = true;
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        QHelpEvent mapped(QEvent::ToolTip, toPane(help->pos()), help->globalPos());
        QCoreApplication::sendEvent(viewport, &mapped);
        event->setAccepted(mapped.isAccepted());
    } else {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPointF position = mouse->position();
        QMouseEvent mapped(mouse->type(), position / scale(), mouse->scenePosition(),
                           mouse->globalPosition(), mouse->button(), mouse->buttons(),
                           mouse->modifiers(), mouse->pointingDevice());
        QCoreApplication::sendEvent(viewport, &mapped);
        event->setAccepted(mapped.isAccepted());
        if (mouse->type() == QEvent::MouseButtonPress)
            restartBlink();
        // Selecting past an edge scrolls, at the view's scale (the pane's own timer is off).
        const bool outside = !viewport->rect().contains(position.toPoint());
        if (mouse->type() == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton) && outside)
            dragScroll_.start();
        else if (!(mouse->buttons() & Qt::LeftButton) || !outside)
            dragScroll_.stop();
    }
    forwarding_ = false;
    return true;
}

bool PaneZoom::paneEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::InputMethod: {
        // The caret inside the text being composed, as the pane's own painting shows it.
        const auto* im = static_cast<QInputMethodEvent*>(event);
        preeditCaret_ = int(im->preeditString().size());
        caretHidden_ = false;
        for (const QInputMethodEvent::Attribute& a : im->attributes())
            if (a.type == QInputMethodEvent::Cursor) {
                preeditCaret_ = a.start;
                caretHidden_ = a.length == 0;
            }
        restartBlink();
        return false;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        restartBlink();
        return false;
    default:
        break;
    }
    if (!zoomed())
        return false;
    switch (event->type()) {
    case QEvent::Timer:
        // The pane's only timer scrolls while selecting past an edge, at its own scale.
        return true;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
        const bool pageKey = key->key() == Qt::Key_PageDown || key->key() == Qt::Key_PageUp;
        if (!pageKey || (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier))
            return false;
        page(key->key() == Qt::Key_PageDown, modifiers == Qt::ShiftModifier);
        return true;
    }
    case QEvent::InputMethodQuery: {
        forwarding_ = true;
        QCoreApplication::sendEvent(pane_, event);
        forwarding_ = false;
        auto* query = static_cast<QInputMethodQueryEvent*>(event);
        for (Qt::InputMethodQuery which : {Qt::ImCursorRectangle, Qt::ImAnchorRectangle})
            if (query->queries() & which) {
                const QRectF r = query->value(which).toRectF();
                query->setValue(which, QRectF(r.topLeft() * scale(), r.size() * scale()));
            }
        return true;
    }
    default:
        return false;
    }
}

// The document as the pane would paint it (caret, selection, extra selections), scaled.
void PaneZoom::paint(QPaintEvent* event) {
    QWidget* viewport = pane_->viewport();
    QPainter painter(viewport);
    painter.fillRect(event->rect(), viewport->palette().brush(viewport->backgroundRole()));
    const QPointF scroll(pane_->horizontalScrollBar()->value(),
                         pane_->verticalScrollBar()->value());
    painter.scale(scale(), scale());
    painter.translate(-scroll);

    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = pane_->palette();
    const QRectF area(event->rect());
    context.clip = QRectF(area.topLeft() / scale() + scroll, area.size() / scale());
    const QTextCursor cursor = pane_->textCursor();
    const bool caret =
        pane_->hasFocus() && pane_->isEnabled() && caretOn_ && !caretHidden_ &&
        (pane_->textInteractionFlags() & (Qt::TextEditable | Qt::TextSelectableByKeyboard));
    if (caret)
        context.cursorPosition = preeditCaret_ ? -(preeditCaret_ + 2) : cursor.position();
    for (const QTextEdit::ExtraSelection& extra : pane_->extraSelections())
        context.selections.append({extra.cursor, extra.format});
    if (cursor.hasSelection()) {
        const auto group = pane_->hasFocus() ? QPalette::Active : QPalette::Inactive;
        QAbstractTextDocumentLayout::Selection selection{cursor, {}};
        selection.format.setBackground(context.palette.brush(group, QPalette::Highlight));
        selection.format.setForeground(context.palette.brush(group, QPalette::HighlightedText));
        QStyleOption option;
        option.initFrom(pane_);
        if (pane_->style()->styleHint(QStyle::SH_RichText_FullWidthSelection, &option, pane_))
            selection.format.setProperty(QTextFormat::FullWidthSelection, true);
        context.selections.append(selection);
    }
    pane_->document()->documentLayout()->draw(&painter, context);

    // The pane asks to repaint what changed in its own unscaled terms; the scaled picture of
    // that lies elsewhere, so anything less than the whole view is followed by the whole.
    if (!QRegion(viewport->rect()).subtracted(event->region()).isEmpty())
        viewport->update();
}

void PaneZoom::wheel(int delta) {
    wheelRest_ += delta;
    for (; wheelRest_ >= kWheelStep; wheelRest_ -= kWheelStep)
        zoomIn();
    for (; wheelRest_ <= -kWheelStep; wheelRest_ += kWheelStep)
        zoomOut();
}

// The content extent that the view shows in `orientation`, in the pane's units.
int PaneZoom::visible(Qt::Orientation orientation) const {
    const QSize view = pane_->viewport()->size();
    const int extent = orientation == Qt::Horizontal ? view.width() : view.height();
    return std::max(1, int(std::floor(extent / scale())));
}

void PaneZoom::rangeChanged(QScrollBar* bar) {
    if (fitting_)
        return;
    qtMaximum_[indexOf(bar->orientation())] = bar->maximum();
    if (!zoomed())
        return;
    fitScrollBar(bar);
    // The pane sets the page step right after the range: fit once more when it is done.
    if (!fitPending_) {
        fitPending_ = true;
        QTimer::singleShot(0, this, [this] {
            fitPending_ = false;
            fitScrollBars();
        });
    }
}

void PaneZoom::fitScrollBar(QScrollBar* bar) {
    const Qt::Orientation orientation = bar->orientation();
    const QSize view = pane_->viewport()->size();
    const int viewExtent = orientation == Qt::Horizontal ? view.width() : view.height();
    const int qtMaximum = qtMaximum_[indexOf(orientation)];
    fitting_ = true;
    if (!zoomed()) {
        bar->setRange(0, qtMaximum);
        bar->setPageStep(viewExtent);
    } else {
        // The pane's range is its content less its view; a content within the view leaves
        // the range at 0 and is measured instead.
        int content = qtMaximum + viewExtent;
        if (qtMaximum <= 0) {
            const QSizeF size = pane_->document()->documentLayout()->documentSize();
            content = int(std::ceil(orientation == Qt::Horizontal ? size.width() : size.height()));
        }
        bar->setRange(0, std::max(0, content - visible(orientation)));
        bar->setPageStep(visible(orientation));
    }
    fitting_ = false;
}

void PaneZoom::fitScrollBars() {
    fitScrollBar(pane_->horizontalScrollBar());
    fitScrollBar(pane_->verticalScrollBar());
}

void PaneZoom::ensureVisible(const QRectF& area) {
    if (!zoomed())
        return;
    auto keep = [](QScrollBar* bar, qreal from, qreal to, int shown) {
        if (from < bar->value())
            bar->setValue(int(std::floor(from)));
        else if (to > bar->value() + shown)
            bar->setValue(int(std::ceil(std::min(from, to - shown))));
    };
    keep(pane_->verticalScrollBar(), area.top(), area.bottom(), visible(Qt::Vertical));
    keep(pane_->horizontalScrollBar(), area.left(), area.right(), visible(Qt::Horizontal));
}

// Page Up/Down by what the view shows: the caret moves a page of lines and the view with it.
void PaneZoom::page(bool down, bool select) {
    QTextCursor cursor = pane_->textCursor();
    const auto move = down ? QTextCursor::Down : QTextCursor::Up;
    const auto mode = select ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
    const int shown = visible(Qt::Vertical);
    const int start = pane_->cursorRect(cursor).top();
    while (std::abs(pane_->cursorRect(cursor).top() - start) < shown &&
           cursor.movePosition(move, mode)) {
    }
    QScrollBar* bar = pane_->verticalScrollBar();
    bar->setValue(bar->value() + (down ? shown : -shown));
    pane_->setTextCursor(cursor);
}

void PaneZoom::restartBlink() {
    caretOn_ = true;
    if (!zoomed())
        return;
    if (blink_.interval() > 0 && pane_->hasFocus())
        blink_.start();
    else
        blink_.stop();
    pane_->viewport()->update();
}

void PaneZoom::dragScroll() {
    QWidget* viewport = pane_->viewport();
    const QPoint at = viewport->mapFromGlobal(QCursor::pos());
    if (!zoomed() || !(QApplication::mouseButtons() & Qt::LeftButton) ||
        viewport->rect().contains(at)) {
        dragScroll_.stop();
        return;
    }
    auto step = [](QScrollBar* bar, int position, int extent) {
        if (position < 0)
            bar->setValue(bar->value() - bar->singleStep());
        else if (position >= extent)
            bar->setValue(bar->value() + bar->singleStep());
    };
    step(pane_->verticalScrollBar(), at.y(), viewport->height());
    step(pane_->horizontalScrollBar(), at.x(), viewport->width());
    QMouseEvent move(QEvent::MouseMove, at, viewport->mapTo(viewport->window(), at), QCursor::pos(),
                     Qt::NoButton, QApplication::mouseButtons(), QApplication::keyboardModifiers());
    forward(&move);
}

ZoomActions createZoomActions(QObject* parent, std::function<QTextEdit*()> activePane) {
    auto make = [&](const char* name, const QString& text, const QList<QKeySequence>& keys,
                    void (PaneZoom::*step)()) {
        auto* action = new QAction(text, parent);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(keys);
        QObject::connect(action, &QAction::triggered, action, [activePane, step] {
            if (QTextEdit* pane = activePane())
                (PaneZoom::attach(pane)->*step)();
        });
        return action;
    };
    return {
        make("ZoomIn1", QStringLiteral("拡大(&I)"),
             {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
             &PaneZoom::zoomIn),
        make("ZoomOut1", QStringLiteral("縮小(&O)"), {QKeySequence(QKeySequence::ZoomOut)},
             &PaneZoom::zoomOut),
        make("ZoomReset1", QStringLiteral("元の大きさ(&Z)"), {QKeySequence(Qt::CTRL | Qt::Key_0)},
             &PaneZoom::reset),
    };
}

} // namespace sorvanti
