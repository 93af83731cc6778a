#pragma once

#include "commands/ConversionCommand.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QTextDocument;

namespace sorvanti {

class Engine;
class Pane;
class WordMode;
class ReplacementMarks;

// "入力中に変換": while on, every change of the source pane's text is converted into the
// target pane at once, line for line as "変換" would, so that the target always holds what
// "変換" would give (its marks included, when they are on).
//
// Only the lines a change touched are converted again: a change's range gives the source
// blocks it touched; each source block is one or more lines (a line separator inside a block
// ends a line too), and target block i holds converted line i, followed by one empty block
// when the last line is not empty (the line break that "変換" puts after every line). A
// keystroke in a pane of 50,000 lines thus costs one line's conversion.
//
// While on, the target is read-only, its frame's caption says so, and its document keeps no
// undo steps of the conversion's writing: undo on the target, once the conversion is off
// again, brings back what the first "変換" replaced. A document put into either pane (by a
// conversion, an undo that brings a replaced text back) is followed; a change to the target
// that the conversion did not make is checked against a full conversion and, where they
// differ, the target is converted again whole.
class LiveConversion : public QObject {
    Q_OBJECT
public:
    LiveConversion(Engine& engine, Pane& source, Pane& target, ReplacementMarks* targetMarks,
                   QObject* parent = nullptr);

    bool isOn() const { return on_; }
    // Converts the source into the target as "変換" does (one replacement that undo on the
    // target takes back), then keeps the target up to date.
    void start();
    // Leaves the target as it is, editable again.
    void stop();
    // Converts the whole source again into the target, in place (the dictionary changed).
    void reconvertAll();
    // Word mode for the conversions from now on (the window's, after each dictionary load);
    // null in plain mode.
    void setWordMode(WordMode* words) { words_ = words; }

    // The target frame's caption while on: its own caption and this.
    static const QString& captionNote();

private:
    void follow();
    void sourceChanged(int position, int removed, int added);
    void targetChanged();
    void checkTarget();
    // Replaces target lines [fromLine, fromLine + oldLines) with the conversion of `lines`.
    bool replaceLines(int fromLine, int oldLines, const QStringList& lines);
    void fitFinalBlock();
    int expectedTargetBlocks() const;
    void rememberSourceLines();
    // The conversion of `lines`; what they replaced goes to found_ when the marks are on.
    QString converted(const QStringList& lines);
    // Makes a change to the target as the conversion's own: no check follows it, its marks
    // are not the user's edit, and the target's modified flag is as "変換" leaves it.
    void write(const std::function<void()>& change);
    void showLine(int line);

    Engine& engine_;
    WordMode* words_ = nullptr;
    Pane& source_;
    Pane& target_;
    ReplacementMarks* marks_;
    bool on_ = false;
    bool writing_ = false;
    bool checkPending_ = false;
    QString caption_;
    QPointer<QTextDocument> sourceDocument_;
    QPointer<QTextDocument> targetDocument_;
    // The lines of each source block, and whether the target ends with the empty block that
    // follows a last line that is not empty.
    std::vector<int> sourceLines_;
    bool finalBlock_ = false;
    conversioncommand::LineMatches found_;
};

} // namespace sorvanti
