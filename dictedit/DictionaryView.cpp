#include "dictedit/DictionaryView.h"

#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QValidator>

#include <algorithm>

namespace sorvanti {

DictionaryView::DictionaryView(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setStretchLastSection(true);
}

QList<int> DictionaryView::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void DictionaryView::commitEditing() {
    if (state() != EditingState)
        return;
    for (QWidget* editor : viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QLineEdit*>(editor) && editor->isVisible()) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
}

void DictionaryView::startDrag(Qt::DropActions /*supportedActions*/) {
    const QModelIndexList indexes = selectionModel()->selectedRows();
    if (indexes.isEmpty())
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(model()->mimeData(indexes));
    drag->exec(Qt::MoveAction);
}

void DictionaryView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->source() != this)
        return event->ignore();
    QTableView::dragEnterEvent(event);
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void DictionaryView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() != this)
        return event->ignore();
    QTableView::dragMoveEvent(event);
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void DictionaryView::dropEvent(QDropEvent* event) {
    if (event->source() != this)
        return event->ignore();
    const QModelIndex at = indexAt(event->position().toPoint());
    int before = at.isValid() ? at.row() : model()->rowCount();
    if (at.isValid() && dropIndicatorPosition() == QAbstractItemView::BelowItem)
        ++before;
    event->setDropAction(Qt::MoveAction);
    event->accept();
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    emit rowsDropped(before);
}

namespace {

class FieldValidator : public QValidator {
public:
    FieldValidator(std::function<QString(const QString&)> refusal, QObject* parent)
        : QValidator(parent), refusal_(std::move(refusal)) {}
    State validate(QString& text, int& /*pos*/) const override {
        return refusal_(text).isEmpty() ? Acceptable : Invalid;
    }

private:
    std::function<QString(const QString&)> refusal_;
};

} // namespace

QWidget* FieldDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setValidator(new FieldValidator(
            [this, kept = QPersistentModelIndex(index)](const QString& text) {
                const QString why = refusal_(kept, text);
                if (!why.isEmpty())
                    emit refused(why);
                return why;
            },
            line));
        connect(line, &QLineEdit::textEdited, this,
                [this, kept = QPersistentModelIndex(index)](const QString& text) {
                    emit typing(kept, text);
                });
    }
    return editor;
}

void FieldDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    QStyledItemDelegate::destroyEditor(editor, index);
    emit typingEnded();
}

} // namespace sorvanti
