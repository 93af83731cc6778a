#pragma once

#include <QString>

class QTextEdit;

// Finding and replacing text in a pane, on the document's own search (QTextDocument::find),
// which walks the text block by block without copying the whole document.
//
// Letter case: without matchCase, letters that have a case are compared case-folded: ASCII
// and full-width Latin letters (Ａ = ａ, but Ａ ≠ A), and the Greek and Cyrillic letters code
// page 932 holds. Kana and kanji have no case and are always compared as they are.
// A match never spans a line break.
namespace sorvanti::textsearch {

struct Query {
    QString text;
    bool matchCase = false;
};

enum class Found {
    Match,   // the next match in the direction of the search
    Wrapped, // none in that direction: the first from the other end of the document
    NotFound,
};

// Selects the next match after the selection (or the caret) and scrolls it into view; when
// there is none below, the first one from the start. Finds nothing for an empty query.
Found findNext(QTextEdit& edit, const Query& query);
// The same upwards: the nearest match that starts before the selection, else the last one.
Found findPrevious(QTextEdit& edit, const Query& query);

// Replaces the selection with `replacement` when the selection is a match; one undo step.
bool replaceSelection(QTextEdit& edit, const Query& query, const QString& replacement);

// Replaces every match from the start of the document to its end, left to right, never
// matching inside text it has just put in, as one undo step. Returns how many it replaced.
// The caret keeps its place in the text around it.
int replaceAll(QTextEdit& edit, const Query& query, const QString& replacement);

} // namespace sorvanti::textsearch
