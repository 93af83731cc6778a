#include "conversion/ConversionCommand.h"

#include "conversion/UnicodeConversion.h"
#include "documents/PaneLines.h"

#include <QTextDocument>

#include <string>
#include <string_view>

namespace sorvanti::conversioncommand {

QString convertedText(Engine& engine, const QTextDocument& source, int side) {
    const QStringList lines = paneLines(source);
    std::u16string out;
    for (const QString& text : lines) {
        const std::u16string_view line(reinterpret_cast<const char16_t*>(text.utf16()),
                                       static_cast<size_t>(text.size()));
        convertUnicodeLine(engine, line, side, out);
        out += u'\n';
    }
    return QString::fromUtf16(out.data(), static_cast<qsizetype>(out.size()));
}

} // namespace sorvanti::conversioncommand
