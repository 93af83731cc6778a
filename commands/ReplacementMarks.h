#pragma once

#include <QColor>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <vector>

class QTextBlock;
class QTextDocument;
class QTextEdit;

namespace sorvanti {

class DictionaryTable;

namespace conversioncommand {
struct LineMatches;
}

// The marks on the words a conversion put into a pane ("置き換えた語に色を付ける"): each
// replaced word has a light background, and resting the pointer on it names the dictionary
// line that replaced it ("辞書 12 行目: ありがとう → おおきに").
//
// The marks are no part of the document. Each line keeps what its conversion replaced in its
// block's user data; the edit shows them as extra selections (never saved, printed or copied),
// made for the lines in and around the view whenever it scrolls, resizes or changes, so that a
// pane of 50,000 marked lines costs no more to edit or paint than a few screens of them. A
// line edited by the user loses its marks (the other lines keep theirs); an emptied or loaded
// pane has none; turning the marks off, or loading another dictionary, drops them all.
class ReplacementMarks : public QObject {
    Q_OBJECT
public:
    // The marks of `edit`, pane `paneIndex` of the window, whose conversions come from side
    // 1 - paneIndex of the entries of `table`. Install before any filter that re-sends the
    // viewport's tool-tip events with positions of its own (the zoom), so that this one sees
    // the positions as the edit counts them.
    ReplacementMarks(QTextEdit* edit, int paneIndex, const DictionaryTable& table);

    // The background of a mark: light enough for black text on both panes' default colours (a
    // word right after another marked one is a shade darker).
    static QColor colour();

    bool isOn() const { return on_; }
    // Off drops every mark, and conversions make none until it is on again.
    void setOn(bool on);
    // Drops every mark.
    void clear();

    // Line i of `found` was written into the i-th block from `first`: those blocks take its
    // replacements as their marks (a block whose line replaced nothing loses its marks).
    void mark(QTextBlock first, const conversioncommand::LineMatches& found);

    // A replaced word: UTF-16 units [from, from + length) of its line, by table entry `entry`.
    struct Mark {
        int32_t from;
        int32_t length;
        int32_t entry;
        bool operator==(const Mark&) const = default;
    };
    // The marks `block` shows (none while off).
    std::vector<Mark> lineMarks(const QTextBlock& block) const;

    // What the mark under `position` (the viewport's, as the edit counts it) says, or an empty
    // text where there is none.
    QString markAt(QPoint position);

    // Shows the marks of the lines in and around the view.
    void refresh();

    // While a conversion writes into the pane, its changes are not the user's edits.
    class Writing {
    public:
        explicit Writing(ReplacementMarks* marks);
        ~Writing();
        Writing(const Writing&) = delete;
        Writing& operator=(const Writing&) = delete;

    private:
        ReplacementMarks* marks_;
    };

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchDocument();
    void contentsChanged(int position, int removed, int added);
    void scheduleRefresh();
    // Marks of another dictionary, or made before the marks were last dropped, are stale.
    void dropStale();
    struct LineMarks;
    const LineMarks* marksOf(const QTextBlock& block) const;

    QTextEdit* edit_;
    int targetSide_;
    const DictionaryTable& table_;
    bool on_ = false;
    bool writing_ = false;
    bool refreshPending_ = false;
    // Marks carry the stamp they were made with; dropping them all is a new stamp.
    uint64_t stamp_ = 1;
    uint64_t generation_ = 0;
    // The edit's document as last watched; null once deleted.
    QPointer<QTextDocument> document_;
};

} // namespace sorvanti
