#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>

#include <functional>
#include <vector>

class QAction;
class QPaintEvent;
class QScrollBar;
class QTextEdit;

namespace sorvanti {

// The zoom of one pane's view. It enlarges or shrinks what the pane shows and nothing else:
// the document, its formats and its default font stay as they are, so saved files, printing
// and the undo history never see it. (QTextEdit::zoomIn would change the edit's font, which
// becomes the document's default font and so the size of every unsized run in a saved RTF
// file.)
//
// How: while the zoom is not 100 %, the pane's viewport is painted here, through a scaled
// painter, by the document's own layout; mouse and tool-tip positions are handed on to the
// pane scaled back, so clicks, drags and hovering hit the text under the pointer; the scroll
// ranges, Page Up/Down and keeping the caret in view count what the scaled view shows; the
// input method's caret rectangle is scaled so its candidate window follows the caret.
// Ctrl+wheel over the pane zooms it at any time.
//
// Attach after the window has installed its own filters on the pane, so that theirs see
// positions as the pane means them.
class PaneZoom : public QObject {
    Q_OBJECT
public:
    // The zoom of `pane`, attached on the first call; the pane owns it.
    static PaneZoom* attach(QTextEdit* pane);

    // The steps of zoomIn() and zoomOut(), in percent; 100 is the pane as it is.
    static const std::vector<int>& steps();

    int percent() const { return percent_; }
    // Any percentage between the first and the last step.
    void setPercent(int percent);
    void zoomIn();
    void zoomOut();
    void reset() { setPercent(100); }

private slots:
    // Scrolls the content rectangle `area` into the scaled view.
    void ensureVisible(const QRectF& area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit PaneZoom(QTextEdit* pane);
    // The zoom attached to `pane`, or nullptr.
    static PaneZoom* of(const QTextEdit* pane);
    // A position in the viewport as the pane itself counts it, for cursorForPosition().
    QPoint toPane(QPoint viewportPosition) const;

    qreal scale() const { return percent_ / 100.0; }
    bool zoomed() const { return percent_ != 100; }
    bool viewportEvent(QEvent* event);
    bool paneEvent(QEvent* event);
    bool forward(QEvent* event);
    void paint(QPaintEvent* event);
    void wheel(int delta);
    void rangeChanged(QScrollBar* bar);
    void fitScrollBar(QScrollBar* bar);
    void fitScrollBars();
    int visible(Qt::Orientation orientation) const;
    void page(bool down, bool select);
    void restartBlink();
    void dragScroll();

    QTextEdit* pane_;
    int percent_ = 100;
    int wheelRest_ = 0;
    bool forwarding_ = false;
    bool fitting_ = false;
    bool fitPending_ = false;
    bool autoFill_ = true;
    int qtMaximum_[2] = {0, 0}; // the scroll ranges as the pane itself sets them
    // The caret as the pane draws it: its blink phase and the input method's preedit caret.
    bool caretOn_ = true;
    int preeditCaret_ = 0;
    bool caretHidden_ = false;
    QTimer blink_;
    QTimer dragScroll_;
};

// "拡大" (Ctrl++), "縮小" (Ctrl+-) and "元の大きさ" (Ctrl+0), each acting on the pane that
// `activePane` returns when it is chosen; owned by `parent`. Add them to the window (or a
// menu) for their keys to work.
struct ZoomActions {
    QAction* zoomIn;
    QAction* zoomOut;
    QAction* reset;
};
ZoomActions createZoomActions(QObject* parent, std::function<QTextEdit*()> activePane);

} // namespace sorvanti
