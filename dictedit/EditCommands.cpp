#include "dictedit/EditCommands.h"

#include "dictedit/DictionaryModel.h"

namespace sorvanti {

EditLineCommand::EditLineCommand(DictionaryModel& model, int row, Line before, Line after,
                                 const QString& text)
    : QUndoCommand(text), model_(model), row_(row), before_(std::move(before)),
      after_(std::move(after)) {}

void EditLineCommand::undo() {
    model_.applySetLine(row_, before_);
    emit model_.touched({row_});
}

void EditLineCommand::redo() {
    model_.applySetLine(row_, after_);
    emit model_.touched({row_});
}

InsertLinesCommand::InsertLinesCommand(DictionaryModel& model, int at, std::vector<Line> lines)
    : QUndoCommand(QStringLiteral("行の挿入")), model_(model), at_(at), lines_(std::move(lines)) {}

void InsertLinesCommand::undo() {
    model_.applyRemove(at_, int(lines_.size()));
    emit model_.touched({at_});
}

void InsertLinesCommand::redo() {
    model_.applyInsert(at_, lines_);
    std::vector<int> rows;
    for (size_t i = 0; i < lines_.size(); ++i)
        rows.push_back(at_ + int(i));
    emit model_.touched(rows);
}

DeleteLinesCommand::DeleteLinesCommand(DictionaryModel& model, std::vector<int> rows)
    : QUndoCommand(QStringLiteral("行の削除")), model_(model), rows_(std::move(rows)) {
    for (const int row : rows_)
        removed_.emplace_back(row, model.document().line(size_t(row)));
}

void DeleteLinesCommand::undo() {
    model_.applyInsertRows(removed_);
    emit model_.touched(rows_);
}

void DeleteLinesCommand::redo() {
    model_.applyRemoveRows(rows_);
    emit model_.touched({rows_.front()});
}

MoveLinesCommand::MoveLinesCommand(DictionaryModel& model, std::vector<size_t> order,
                                   std::vector<int> moved)
    : QUndoCommand(QStringLiteral("行の移動")), model_(model), order_(std::move(order)),
      inverse_(order_.size()), moved_(std::move(moved)) {
    for (size_t p = 0; p < order_.size(); ++p)
        inverse_[order_[p]] = p;
    for (const int row : moved_)
        back_.push_back(int(order_[size_t(row)]));
}

void MoveLinesCommand::undo() {
    model_.applyPermute(inverse_);
    emit model_.touched(back_);
}

void MoveLinesCommand::redo() {
    model_.applyPermute(order_);
    emit model_.touched(moved_);
}

} // namespace sorvanti
