#include "commands/ReplacementMarks.h"

#include "commands/ConversionCommand.h"
#include "conversion/DictionaryTable.h"

#include <QAbstractTextDocumentLayout>
#include <QHelpEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <QToolTip>
#include <QVarLengthArray>

#include <algorithm>
#include <vector>

namespace sorvanti {

namespace {

// The lines marked around the view: one view's height above it and four below it, which
// covers what the view shows at any zoom down to 25 %, however the view scrolls in between.
constexpr int kViewsAbove = 1;
constexpr int kViewsBelow = 5;
// No more lines than this are looked at for one showing, however small they are.
constexpr int kMostLinesShown = 4000;

// The block at height `y` of the document, or the first below it. The layout's own hit test
// starts from the last of its check points above `y`, but above its first check point (the
// first few hundred lines of a long document) from that check point: the lines before it
// are walked back here.
QTextBlock blockAt(const QTextDocument& document, qreal y) {
    if (y <= 0)
        return document.begin();
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    QTextBlock block =
        document.findBlock(std::max(0, layout->hitTest(QPointF(0, y), Qt::FuzzyHit)));
    if (!block.isValid())
        block = document.lastBlock();
    for (int n = 0; n < kMostLinesShown && block.previous().isValid() &&
                    layout->blockBoundingRect(block).top() > y;
         ++n)
        block = block.previous();
    return block;
}

} // namespace

// What one line's conversion replaced, in UTF-16 units of the block's text.
struct ReplacementMarks::LineMarks : QTextBlockUserData {
    uint64_t stamp = 0;
    // Most lines replace a few words: they need no allocation of their own.
    QVarLengthArray<Mark, 6> marks;
};

ReplacementMarks::Writing::Writing(ReplacementMarks* marks) : marks_(marks) {
    if (marks_)
        marks_->writing_ = true;
}

ReplacementMarks::Writing::~Writing() {
    if (!marks_)
        return;
    marks_->writing_ = false;
    marks_->scheduleRefresh();
}

ReplacementMarks::ReplacementMarks(QTextEdit* edit, int paneIndex, const DictionaryTable& table)
    : QObject(edit), edit_(edit), targetSide_(paneIndex), table_(table),
      generation_(table.generation()) {
    setObjectName(QStringLiteral("ReplacementMarks%1").arg(paneIndex));
    // A document put in the edit (a conversion's, one brought back by undo) is watched instead.
    connect(edit_, &QTextEdit::textChanged, this, &ReplacementMarks::watchDocument);
    connect(edit_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &ReplacementMarks::refresh);
    edit_->viewport()->installEventFilter(this);
    watchDocument();
}

QColor ReplacementMarks::colour() {
    return QColor(0xFF, 0xF2, 0xA8);
}

void ReplacementMarks::setOn(bool on) {
    if (on == on_)
        return;
    on_ = on;
    clear();
}

void ReplacementMarks::clear() {
    ++stamp_;
    generation_ = table_.generation();
    refresh();
}

void ReplacementMarks::dropStale() {
    if (generation_ == table_.generation())
        return;
    ++stamp_;
    generation_ = table_.generation();
}

void ReplacementMarks::mark(QTextBlock first, const conversioncommand::LineMatches& found) {
    dropStale();
    QTextBlock block = first;
    for (size_t line = 0; line + 1 < found.first.size() && block.isValid(); ++line) {
        const size_t from = found.first[line];
        const size_t to = found.first[line + 1];
        if (from == to) {
            if (block.userData())
                block.setUserData(nullptr);
        } else {
            auto* data = new LineMarks;
            data->stamp = stamp_;
            data->marks.reserve(qsizetype(to - from));
            for (size_t i = from; i < to; ++i) {
                const TextMatch& m = found.all[i];
                data->marks.push_back({int32_t(m.outFrom), int32_t(m.outLength), int32_t(m.entry)});
            }
            block.setUserData(data);
        }
        block = block.next();
    }
    scheduleRefresh();
}

const ReplacementMarks::LineMarks* ReplacementMarks::marksOf(const QTextBlock& block) const {
    const auto* data = static_cast<const LineMarks*>(block.userData());
    return on_ && data && data->stamp == stamp_ ? data : nullptr;
}

std::vector<ReplacementMarks::Mark> ReplacementMarks::lineMarks(const QTextBlock& block) const {
    const LineMarks* data = marksOf(block);
    return data ? std::vector<Mark>(data->marks.begin(), data->marks.end()) : std::vector<Mark>{};
}

void ReplacementMarks::watchDocument() {
    QTextDocument* document = edit_->document();
    if (document == document_)
        return;
    if (document_) {
        disconnect(document_, nullptr, this, nullptr);
        disconnect(document_->documentLayout(), nullptr, this, nullptr);
    }
    document_ = document;
    connect(document, &QTextDocument::contentsChange, this, &ReplacementMarks::contentsChanged);
    // A long document is laid out a part at a time: lines reaching the view get their marks.
    connect(document->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            &ReplacementMarks::scheduleRefresh);
    scheduleRefresh();
}

void ReplacementMarks::contentsChanged(int position, int /*removed*/, int added) {
    scheduleRefresh();
    if (writing_)
        return;
    // The user's edit: the lines it touched lose their marks.
    QTextBlock block = document_->findBlock(position);
    const QTextBlock last = document_->findBlock(position + added);
    for (; block.isValid(); block = block.next()) {
        if (block.userData())
            block.setUserData(nullptr);
        if (block == last)
            break;
    }
}

void ReplacementMarks::scheduleRefresh() {
    if (refreshPending_)
        return;
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshPending_ = false;
        refresh();
    });
}

void ReplacementMarks::refresh() {
    dropStale();
    QList<QTextEdit::ExtraSelection> shown;
    if (on_) {
        QTextDocument* document = edit_->document();
        QAbstractTextDocumentLayout* layout = document->documentLayout();
        const int view = edit_->viewport()->height();
        const int top = edit_->verticalScrollBar()->value();
        const qreal bottom = top + qreal(kViewsBelow) * view;
        // A word that follows another with nothing between takes the other shade, so that
        // each word shows where it starts.
        QTextCharFormat formats[2];
        formats[0].setBackground(colour());
        formats[1].setBackground(colour().darker(108));
        QTextBlock block = blockAt(*document, std::max(0, top - kViewsAbove * view));
        for (int n = 0; block.isValid() && n < kMostLinesShown; block = block.next(), ++n) {
            const QRectF area = layout->blockBoundingRect(block);
            // Past the band, or not laid out yet: the rest comes with the next showing.
            if (area.top() > bottom || (n > 0 && area.isNull()))
                break;
            const LineMarks* data = marksOf(block);
            if (!data)
                continue;
            int shade = 0;
            int end = -1;
            for (const Mark& m : data->marks) {
                shade = m.from == end ? 1 - shade : 0;
                end = m.from + m.length;
                QTextCursor cursor(block);
                cursor.setPosition(block.position() + m.from);
                cursor.setPosition(block.position() + end, QTextCursor::KeepAnchor);
                shown.append({cursor, formats[shade]});
            }
        }
    }
    const QList<QTextEdit::ExtraSelection> before = edit_->extraSelections();
    const auto same = [](const QTextEdit::ExtraSelection& a, const QTextEdit::ExtraSelection& b) {
        return a.cursor == b.cursor && a.format == b.format;
    };
    if (std::equal(shown.begin(), shown.end(), before.begin(), before.end(), same))
        return;
    // The edit asks to repaint each selection that changed, hundreds of small areas; one repaint
    // of the view serves them all (enabling updates again asks for it).
    QWidget* view = edit_->viewport();
    view->setUpdatesEnabled(false);
    edit_->setExtraSelections(shown);
    view->setUpdatesEnabled(true);
}

QString ReplacementMarks::markAt(QPoint position) {
    dropStale();
    QTextDocument* document = edit_->document();
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    const QPointF at = QPointF(position) + QPointF(edit_->horizontalScrollBar()->value(),
                                                   edit_->verticalScrollBar()->value());
    const QTextBlock block = blockAt(*document, at.y());
    const LineMarks* data = marksOf(block);
    if (!data || !block.layout())
        return {};
    const QPointF inBlock = at - layout->blockBoundingRect(block).topLeft();
    for (int i = 0; i < block.layout()->lineCount(); ++i) {
        const QTextLine line = block.layout()->lineAt(i);
        if (!line.rect().contains(inBlock) || inBlock.x() >= line.naturalTextRect().right())
            continue;
        const int unit = line.xToCursor(inBlock.x(), QTextLine::CursorOnCharacter);
        for (const Mark& m : data->marks) {
            if (unit < m.from || unit >= m.from + m.length)
                continue;
            const int sourceSide = 1 - targetSide_;
            const QString words = conversioncommand::entryWord(table_, m.entry, sourceSide) +
                                  QStringLiteral(" → ") +
                                  conversioncommand::entryWord(table_, m.entry, targetSide_);
            const int32_t fileLine = table_.line(m.entry);
            if (fileLine <= 0)
                return QStringLiteral("辞書: ") + words;
            return QStringLiteral("辞書 %1 行目: ").arg(fileLine) + words;
        }
    }
    return {};
}

bool ReplacementMarks::eventFilter(QObject* watched, QEvent* event) {
    // While the edit is destroyed, its viewport still sends events after the edit has stopped
    // being a text edit: nothing of it may be called then (parent() is the edit as an object).
    if (!qobject_cast<QTextEdit*>(parent()) || watched != edit_->viewport())
        return false;
    if (event->type() == QEvent::Resize) {
        scheduleRefresh();
    } else if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = markAt(help->pos());
        if (text.isEmpty()) {
            QToolTip::hideText();
            return false;
        }
        QToolTip::showText(help->globalPos(), text, edit_->viewport());
        return true;
    }
    return false;
}

} // namespace sorvanti
