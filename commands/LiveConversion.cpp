#include "commands/LiveConversion.h"

#include "commands/ConversionCommand.h"
#include "commands/ReplacementMarks.h"
#include "documents/Pane.h"

#include <QGroupBox>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <numeric>

namespace sorvanti {

namespace {

int linesOf(const QTextBlock& block) {
    return int(block.text().count(QChar::LineSeparator)) + 1;
}

// The target's text as it stands, block by block, as "変換" writes it: each line and "\n".
QString blockText(const QTextDocument& document) {
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            text += QLatin1Char('\n');
        text += block.text();
    }
    return text;
}

} // namespace

LiveConversion::LiveConversion(Engine& engine, Pane& source, Pane& target,
                               ReplacementMarks* targetMarks, QObject* parent)
    : QObject(parent), engine_(engine), source_(source), target_(target), marks_(targetMarks) {
    setObjectName(QStringLiteral("LiveConversion"));
}

const QString& LiveConversion::captionNote() {
    static const QString note = QStringLiteral(" (入力中に変換)");
    return note;
}

void LiveConversion::start() {
    if (on_)
        return;
    conversioncommand::convert(engine_, source_, target_, marks_, words_);
    on_ = true;
    caption_ = target_.frame()->title();
    target_.frame()->setTitle(caption_ + captionNote());
    // Read-only, but its text can still be selected and copied, also with the keys.
    target_.edit()->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                            Qt::TextSelectableByKeyboard);
    for (Pane* pane : {&source_, &target_})
        connect(pane->edit(), &QTextEdit::textChanged, this, &LiveConversion::follow);
    follow();
    rememberSourceLines();
}

void LiveConversion::stop() {
    if (!on_)
        return;
    on_ = false;
    for (Pane* pane : {&source_, &target_})
        disconnect(pane->edit(), nullptr, this, nullptr);
    for (QTextDocument* document : {sourceDocument_.data(), targetDocument_.data()})
        if (document)
            disconnect(document, nullptr, this, nullptr);
    if (targetDocument_)
        targetDocument_->setUndoRedoEnabled(true);
    sourceDocument_ = nullptr;
    targetDocument_ = nullptr;
    target_.edit()->setReadOnly(false);
    target_.frame()->setTitle(caption_);
}

// Watches the documents the panes show now: another source document is converted whole;
// another target document keeps no undo steps of the conversion's and is checked.
void LiveConversion::follow() {
    QTextDocument* source = source_.edit()->document();
    QTextDocument* target = target_.edit()->document();
    const bool started = sourceDocument_ || targetDocument_;
    if (target != targetDocument_) {
        if (targetDocument_)
            disconnect(targetDocument_, nullptr, this, nullptr);
        targetDocument_ = target;
        target->setUndoRedoEnabled(false);
        connect(target, &QTextDocument::contentsChange, this, &LiveConversion::targetChanged);
        if (started)
            targetChanged();
    }
    if (source != sourceDocument_) {
        if (sourceDocument_)
            disconnect(sourceDocument_, nullptr, this, nullptr);
        sourceDocument_ = source;
        connect(source, &QTextDocument::contentsChange, this, &LiveConversion::sourceChanged);
        if (started)
            reconvertAll();
    }
}

void LiveConversion::rememberSourceLines() {
    sourceLines_.clear();
    sourceLines_.reserve(size_t(sourceDocument_->blockCount()));
    for (QTextBlock block = sourceDocument_->begin(); block.isValid(); block = block.next())
        sourceLines_.push_back(linesOf(block));
    const QString last = sourceDocument_->lastBlock().text();
    finalBlock_ = !last.isEmpty() && !last.endsWith(QChar::LineSeparator);
}

int LiveConversion::expectedTargetBlocks() const {
    return std::accumulate(sourceLines_.begin(), sourceLines_.end(), 0) + (finalBlock_ ? 1 : 0);
}

// The change took the source blocks from `position` to `position + added` (as the document
// now is); those before are as they were, and so are those after, which have only moved. How
// many blocks it took the place of follows from the block counts before and after.
void LiveConversion::sourceChanged(int position, int /*removed*/, int added) {
    if (!on_)
        return;
    const QTextDocument& source = *sourceDocument_;
    const int oldCount = int(sourceLines_.size());
    const QTextBlock first = source.findBlock(position);
    QTextBlock last = source.findBlock(position + added);
    if (!last.isValid())
        last = source.lastBlock();
    const int from = first.blockNumber();
    const int span = last.blockNumber() - from + 1 + oldCount - source.blockCount();
    if (!first.isValid() || span < 1 || from + span > oldCount) {
        reconvertAll();
        return;
    }
    QStringList lines;
    std::vector<int> counts;
    for (QTextBlock block = first;; block = block.next()) {
        const QStringList parts = block.text().split(QChar::LineSeparator);
        counts.push_back(int(parts.size()));
        lines += parts;
        if (block == last)
            break;
    }
    const auto at = sourceLines_.begin() + from;
    const int fromLine = std::accumulate(sourceLines_.begin(), at, 0);
    const int oldLines = std::accumulate(at, at + span, 0);
    sourceLines_.erase(at, at + span);
    sourceLines_.insert(sourceLines_.begin() + from, counts.begin(), counts.end());
    if (!replaceLines(fromLine, oldLines, lines)) {
        reconvertAll();
        return;
    }
    fitFinalBlock();
    if (targetDocument_->blockCount() != expectedTargetBlocks()) {
        reconvertAll();
        return;
    }
    showLine(fromLine);
}

QString LiveConversion::converted(const QStringList& lines) {
    const bool marking = marks_ && marks_->isOn();
    conversioncommand::LineMatches found;
    const QString text = conversioncommand::convertedText(engine_, lines, source_.index(),
                                                          marking ? &found : nullptr, words_);
    if (marking)
        found_ = std::move(found);
    return text;
}

bool LiveConversion::replaceLines(int fromLine, int oldLines, const QStringList& lines) {
    QTextDocument& target = *targetDocument_;
    const QTextBlock first = target.findBlockByNumber(fromLine);
    const QTextBlock last = target.findBlockByNumber(fromLine + oldLines - 1);
    if (!first.isValid() || !last.isValid())
        return false;
    QString text = converted(lines);
    text.chop(1); // the break after the last line: the block after it stays
    QTextCursor cursor(&target);
    cursor.setPosition(first.position());
    cursor.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    write([&] { cursor.insertText(text); });
    if (marks_ && marks_->isOn())
        marks_->mark(target.findBlockByNumber(fromLine), found_);
    return true;
}

void LiveConversion::fitFinalBlock() {
    const QString last = sourceDocument_->lastBlock().text();
    const bool wanted = !last.isEmpty() && !last.endsWith(QChar::LineSeparator);
    if (wanted == finalBlock_)
        return;
    QTextDocument& target = *targetDocument_;
    QTextCursor cursor(&target);
    if (wanted) {
        cursor.movePosition(QTextCursor::End);
        write([&] { cursor.insertText(QStringLiteral("\n")); });
    } else {
        // The final block is empty: its break goes.
        const int end = target.lastBlock().position();
        cursor.setPosition(end - 1);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        write([&] { cursor.removeSelectedText(); });
    }
    finalBlock_ = wanted;
}

void LiveConversion::reconvertAll() {
    if (!on_)
        return;
    const QString text = converted(source_.lines());
    write([&] { targetDocument_->setPlainText(text); });
    if (marks_ && marks_->isOn())
        marks_->mark(targetDocument_->begin(), found_);
    rememberSourceLines();
}

void LiveConversion::targetChanged() {
    if (writing_ || !on_ || checkPending_)
        return;
    // Checked once whatever changed it is done (a load empties the pane, then fills it).
    checkPending_ = true;
    QTimer::singleShot(0, this, [this] {
        checkPending_ = false;
        checkTarget();
    });
}

// A change the conversion did not make (the panes emptied, a font set on the target): the
// target stays as it is when it still holds the conversion, else it is converted again.
void LiveConversion::checkTarget() {
    if (!on_)
        return;
    const QString text = converted(source_.lines());
    if (blockText(*targetDocument_) != text)
        write([&] { targetDocument_->setPlainText(text); });
    if (marks_ && marks_->isOn())
        marks_->mark(targetDocument_->begin(), found_);
    rememberSourceLines();
}

void LiveConversion::write(const std::function<void()>& change) {
    writing_ = true;
    {
        const ReplacementMarks::Writing marking(marks_);
        change();
    }
    writing_ = false;
    targetDocument_->setModified(!targetDocument_->isEmpty());
}

void LiveConversion::showLine(int line) {
    QTextEdit* edit = target_.edit();
    edit->setTextCursor(QTextCursor(targetDocument_->findBlockByNumber(line)));
    edit->ensureCursorVisible();
}

} // namespace sorvanti
