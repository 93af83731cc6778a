#include "editing/TextSearch.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace sorvanti::textsearch {

namespace {

QTextDocument::FindFlags flags(const Query& query, bool backward) {
    QTextDocument::FindFlags f;
    if (query.matchCase)
        f |= QTextDocument::FindCaseSensitively;
    if (backward)
        f |= QTextDocument::FindBackward;
    return f;
}

Found find(QTextEdit& edit, const Query& query, bool backward) {
    if (query.text.isEmpty())
        return Found::NotFound;
    const QTextDocument& doc = *edit.document();
    const auto f = flags(query, backward);
    Found result = Found::Match;
    QTextCursor hit = doc.find(query.text, edit.textCursor(), f);
    if (hit.isNull()) {
        QTextCursor end(edit.document());
        if (backward)
            end.movePosition(QTextCursor::End);
        hit = doc.find(query.text, end, f);
        result = Found::Wrapped;
    }
    if (hit.isNull())
        return Found::NotFound;
    edit.setTextCursor(hit);
    edit.ensureCursorVisible();
    return result;
}

// Whether `text` (a selection) is a match of the query as a whole.
bool isMatch(const QString& text, const Query& query) {
    // The same folding as the document's search, which compares with QString's case rule.
    return !query.text.isEmpty() &&
           QString::compare(text, query.text,
                            query.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

} // namespace

Found findNext(QTextEdit& edit, const Query& query) {
    return find(edit, query, false);
}

Found findPrevious(QTextEdit& edit, const Query& query) {
    return find(edit, query, true);
}

bool replaceSelection(QTextEdit& edit, const Query& query, const QString& replacement) {
    QTextCursor cursor = edit.textCursor();
    if (!cursor.hasSelection() || !isMatch(cursor.selectedText(), query))
        return false;
    cursor.insertText(replacement);
    edit.setTextCursor(cursor);
    return true;
}

int replaceAll(QTextEdit& edit, const Query& query, const QString& replacement) {
    if (query.text.isEmpty())
        return 0;
    QTextDocument& doc = *edit.document();
    const auto f = flags(query, false);
    QTextCursor hit = doc.find(query.text, 0, f);
    if (hit.isNull())
        return 0;
    // One edit block makes the whole run one undo step, and the layout waits for its end.
    QTextCursor step(&doc);
    step.beginEditBlock();
    int count = 0;
    do {
        hit.insertText(replacement); // the hit now sits after what it put in
        ++count;
        hit = doc.find(query.text, hit, f);
    } while (!hit.isNull());
    step.endEditBlock();
    return count;
}

} // namespace sorvanti::textsearch
