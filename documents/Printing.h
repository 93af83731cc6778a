#pragma once

#include <QStringList>

class QColor;
class QFont;
class QPrinter;
class QTextEdit;

namespace sorvanti {

class FontDialog;
class PrintDialog;

// Printing a pane as plain lines, a hundred to a page: the line pitch is a hundredth of the
// printable page height, whatever the font, so a page always holds the same lines.
namespace printing {

inline constexpr int kLinesPerPage = 100;

// The pages a text of `lineCount` lines fills; an empty text still fills one (empty) page.
int pageCount(qsizetype lineCount);

// The font as the printer gets it: a size given in screen pixels (the pane's initial
// "-12") becomes points at 96 pixels per inch, so it prints at 9 points instead of twelve
// printer dots. A size in points is kept.
QFont printerFont(const QFont& chosen);

// One print job of pages `fromPage`..`toPage` (1-based, kept within the text's pages) of
// `lines` in `font` and `color`, each line with its top-left corner at x 0 and its row
// times the pitch. Throws Error when the printer cannot take the job.
void printLines(QPrinter& printer, const QStringList& lines, const QFont& font, const QColor& color,
                int fromPage, int toPage);

// "印刷": offers the pane's pages in the print dialog and, when confirmed, prints the pages
// chosen there in the font of the pane's font dialog. Cancel prints nothing.
void printPane(PrintDialog& dialog, const QTextEdit& pane, const FontDialog& font);

// "ページ設定": the same dialog as it was last set, to choose the printer; it is confirmed with
// "OK" and prints nothing.
void printSetup(PrintDialog& dialog);

} // namespace printing
} // namespace sorvanti
