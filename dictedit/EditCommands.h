#pragma once

#include "conversion/DictionaryDocument.h"

#include <QUndoCommand>

#include <utility>
#include <vector>

namespace sorvanti {

class DictionaryModel;

// The undoable edits of the dictionary editor, one class per kind. Each keeps what it needs to
// go both ways and selects the rows it touched.

// A field of one line changed: the line before and after.
class EditLineCommand : public QUndoCommand {
public:
    using Line = DictionaryDocument::Line;
    EditLineCommand(DictionaryModel& model, int row, Line before, Line after, const QString& text);
    void undo() override;
    void redo() override;

private:
    DictionaryModel& model_;
    int row_;
    Line before_, after_;
};

// Lines put in at one place.
class InsertLinesCommand : public QUndoCommand {
public:
    using Line = DictionaryDocument::Line;
    InsertLinesCommand(DictionaryModel& model, int at, std::vector<Line> lines);
    void undo() override;
    void redo() override;

private:
    DictionaryModel& model_;
    int at_;
    std::vector<Line> lines_;
};

// Lines taken out, wherever they were.
class DeleteLinesCommand : public QUndoCommand {
public:
    using Line = DictionaryDocument::Line;
    // `rows`: ascending.
    DeleteLinesCommand(DictionaryModel& model, std::vector<int> rows);
    void undo() override;
    void redo() override;

private:
    DictionaryModel& model_;
    std::vector<int> rows_;                     // ascending
    std::vector<std::pair<int, Line>> removed_; // the same rows, with their lines
};

// Lines put in another order: line p becomes the line that was at order[p]. Lines after
// order.size() (added to the end since) stay where they are.
class MoveLinesCommand : public QUndoCommand {
public:
    MoveLinesCommand(DictionaryModel& model, std::vector<size_t> order, std::vector<int> moved);
    void undo() override;
    void redo() override;

private:
    DictionaryModel& model_;
    std::vector<size_t> order_, inverse_;
    std::vector<int> moved_; // where the moved lines end up
    std::vector<int> back_;  // where they were
};

} // namespace sorvanti
