#include "documents/Printing.h"

#include "documents/PaneLines.h"
#include "toolkit/Error.h"
#include "toolkit/FontDialog.h"
#include "toolkit/PrintDialog.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <QTextEdit>

#include <algorithm>

namespace sorvanti::printing {

namespace {

// Screen pixels per inch that a font size in pixels refers to.
constexpr double kScreenDpi = 96.0;

[[noreturn]] void cannotPrint(const QPrinter& printer) {
    const QString target = printer.outputFileName().isEmpty()
                               ? QStringLiteral("プリンター ") + printer.printerName()
                               : QStringLiteral("ファイル ") + printer.outputFileName();
    throw Error((target + QStringLiteral(" に印刷できません")).toStdString());
}

} // namespace

int pageCount(qsizetype lineCount) {
    if (lineCount <= 0)
        return 1;
    return int((lineCount + kLinesPerPage - 1) / kLinesPerPage);
}

QFont printerFont(const QFont& chosen) {
    QFont font = chosen;
    if (chosen.pixelSize() > 0)
        font.setPointSizeF(chosen.pixelSize() * 72.0 / kScreenDpi);
    return font;
}

void printLines(QPrinter& printer, const QStringList& lines, const QFont& font, const QColor& color,
                int fromPage, int toPage) {
    const int pages = pageCount(lines.size());
    fromPage = std::clamp(fromPage, 1, pages);
    toPage = std::clamp(toPage, fromPage, pages);
    printer.setDocName(QString());
    // The pitch follows the printable area alone; a font taller than it makes lines overlap.
    const int pitch = printer.height() / kLinesPerPage;

    QPainter painter;
    if (!painter.begin(&printer))
        cannotPrint(printer);
    painter.setFont(printerFont(font));
    painter.setPen(color);
    // Lines are not wrapped or clipped: a long one runs off the right edge of the page.
    const int flags =
        Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs | Qt::TextDontClip;
    const qreal width = printer.width();
    for (int page = fromPage; page <= toPage; ++page) {
        if (page > fromPage && !printer.newPage()) {
            painter.end();
            cannotPrint(printer);
        }
        const qsizetype first = qsizetype(page - 1) * kLinesPerPage;
        const qsizetype last = std::min<qsizetype>(first + kLinesPerPage, lines.size());
        for (qsizetype i = first; i < last; ++i) {
            const qreal y = qreal(i - first) * pitch;
            painter.drawText(QRectF(0, y, width, pitch), flags, lines[i]);
        }
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        cannotPrint(printer);
}

void printPane(PrintDialog& dialog, const QTextEdit& pane, const FontDialog& font) {
    const QStringList lines = paneLines(*pane.document());
    const int pages = pageCount(lines.size());
    dialog.PageNums = true;
    dialog.FromPage = 1;
    dialog.MinPage = 1;
    dialog.ToPage = pages;
    dialog.MaxPage = pages;
    if (!dialog.Execute())
        return;
    printLines(dialog.Printer(), lines, font.Font, font.Color, dialog.FromPage, dialog.ToPage);
}

void printSetup(PrintDialog& dialog) {
    dialog.ExecuteSetup();
}

} // namespace sorvanti::printing
