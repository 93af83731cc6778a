#pragma once

#include "conversion/DictionaryCheck.h"
#include "conversion/DictionaryDocument.h"
#include "conversion/WordCheck.h"
#include "conversion/WordMode.h"

#include <QAbstractTableModel>
#include <QUndoStack>

#include <string_view>
#include <utility>
#include <vector>

namespace sorvanti {

// The dictionary editor's table: one row per line of the file, in file order, with the columns
// 行, 標準語, 変換語, 備考 and 問題. Comment lines are rows too, greyed, their whole text in
// 備考. The findings are those of the check on the lines as they stand, redone after every
// change (and while a field is being typed, through preview()).
//
// Every change the user makes goes through the undo stack as one command (EditCommands.h);
// the commands change the document through the apply* calls.
class DictionaryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { LineColumn, StandardColumn, ConvertedColumn, NoteColumn, FindingColumn };
    static constexpr int kColumns = 5;
    using Line = DictionaryDocument::Line;

    explicit DictionaryModel(QObject* parent = nullptr);

    // A dictionary read from its file: the undo history starts anew, and clean.
    void reset(DictionaryDocument document);
    const DictionaryDocument& document() const { return document_; }
    const CheckReport& report() const { return report_; }
    QUndoStack& undoStack() { return undoStack_; }
    // Gives a UTF-8 file its byte-order mark (a save that would read otherwise without it).
    void setBom(bool on) { document_.setBom(on); }

    // Word mode: whether the rows declare it (a declaration before the first entry), found
    // by the analysis like everything else, so it follows every edit, undo and redo.
    bool wordMode() const { return report_.wordMode; }
    // The switch, one undoable step: on, the declaration goes in as the first line (in the
    // file's encoding, with its line end); off, the lines that declare it go. A declaration
    // after the first entry declares nothing and stays. False when it is so already.
    bool setWordMode(bool on);
    // Where word mode's findings and 試す take the analyser from: created at the first need
    // (a dictionary that declares word mode), then kept for the editor's life.
    WordAnalyserHolder& analyser() { return analyser_; }

    // The findings of a row, as indices into report().findings; none for a row inserted and not
    // analysed yet (the view asks while the rows are being inserted).
    const std::vector<size_t>& findings(int row) const;
    bool hasProblem(int row) const;
    // The earliest line that hides `row`'s pair in either direction (0-based row), or -1.
    int hidingRow(int row) const;
    // The row that causes the first finding of `row` that has a cause, or -1.
    int causeRow(int row) const;
    // The row whose line gave entry `entry` of report().table.
    int rowOfEntry(int32_t entry) const { return int(report_.entryLine[size_t(entry)] - 1); }

    // The user's edits, each one undoable step; false (nothing done) when it changes nothing.
    void insertEmptyRow(int at);
    bool deleteRows(std::vector<int> rows);
    // Moves the rows one place up (-1) or down (+1), each past the next row not moved.
    bool moveRowsBy(std::vector<int> rows, int delta);
    // Moves the rows, in their order, to just before row `before` (rowCount(): the end).
    bool moveRowsTo(std::vector<int> rows, int before);
    // Takes bytes appended to the file elsewhere in as rows at the end (not undoable: the
    // file holds them already).
    bool appendFileBytes(std::string_view appended);

    // Why `text` cannot go into the field at `column` of `row`; empty when it can.
    QString refusal(int row, int column, const QString& text) const;

    // While a field is being typed: the findings are those of the line as typed.
    void preview(int row, int column, const QString& text);
    void endPreview();
    bool previewing() const { return previewing_; }

    // What the commands call.
    void applySetLine(int row, Line line);
    void applyInsert(int at, std::vector<Line> lines);
    void applyRemove(int at, int count);
    // Lines put back each at its row, rows ascending; one analysis for them all.
    void applyInsertRows(const std::vector<std::pair<int, Line>>& lines);
    // Rows taken out, `rows` ascending; one analysis for them all.
    void applyRemoveRows(const std::vector<int>& rows);
    void applyPermute(const std::vector<size_t>& order);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }

signals:
    // The findings were made anew.
    void analysed();
    // A text that the field cannot hold; `message` tells why.
    void refused(const QString& message);
    // The rows a change made or moved, to be selected.
    void touched(const std::vector<int>& rows);

private:
    void analyse();
    QString findingText(int row, bool full) const;
    QVariant background(int row) const;

    DictionaryDocument document_;
    CheckReport report_;
    std::vector<std::vector<size_t>> rowFindings_;
    bool previewing_ = false;
    WordAnalyserHolder analyser_;
    wordcheck::WordMarksCache wordMarks_; // words analysed by the checks so far
    QUndoStack undoStack_;
};

} // namespace sorvanti
