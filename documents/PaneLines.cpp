#include "documents/PaneLines.h"

#include <QTextBlock>
#include <QTextDocument>

namespace sorvanti {

QStringList paneLines(const QTextDocument& document) {
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines += block.text().split(QChar::LineSeparator);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace sorvanti
