#include "commands/ConversionCommand.h"

#include "conversion/UnicodeConversion.h"
#include "documents/PaneLines.h"
#include "toolkit/Utf16.h"

#include <QTextDocument>

#include <string>
#include <string_view>

namespace sorvanti::conversioncommand {

QString convertedText(Engine& engine, const QTextDocument& source, int side) {
    const QStringList lines = paneLines(source);
    std::u16string out;
    for (const QString& text : lines) {
        convertUnicodeLine(engine, utf16View(text), side, out);
        out += u'\n';
    }
    return toQString(out);
}

} // namespace sorvanti::conversioncommand
