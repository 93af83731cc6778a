#pragma once

#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>

namespace sorvanti {

// The table of the dictionary editor. Rows dragged within it are not taken out and put back
// (two steps, and a drop elsewhere would lose them): the view only tells where they were
// dropped, and the window moves them as one undoable step.
class DictionaryView : public QTableView {
    Q_OBJECT
public:
    explicit DictionaryView(QWidget* parent = nullptr);

    // The selected rows of the view's model, ascending.
    QList<int> selectedRows() const;
    // Puts what is being typed into a field into the model, as Enter would: a command, a
    // save or closing the window never leaves it behind.
    void commitEditing();

signals:
    // The selected rows were dropped just before row `before` of the view's model (its row
    // count: after the last).
    void rowsDropped(int before);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

// The editor of a field: tells what is being typed, so that the findings follow it, and takes
// no text that the field cannot hold (a blank in a word, a character the file's encoding
// lacks): `refusal` says why, and the text stays as it was.
class FieldDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using Refusal = std::function<QString(const QModelIndex& index, const QString& text)>;
    FieldDelegate(Refusal refusal, QObject* parent = nullptr)
        : QStyledItemDelegate(parent), refusal_(std::move(refusal)) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

signals:
    void typing(const QModelIndex& index, const QString& text) const;
    void typingEnded() const;
    void refused(const QString& message) const;

private:
    Refusal refusal_;
};

} // namespace sorvanti
