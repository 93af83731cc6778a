#include "commands/ConversionCommand.h"

#include "conversion/UnicodeConversion.h"
#include "documents/Pane.h"
#include "toolkit/Utf16.h"

#include <string>

namespace sorvanti::conversioncommand {

QString convertedText(Engine& engine, const QStringList& lines, int side, WordMode* words) {
    std::u16string out;
    for (const QString& text : lines) {
        convertUnicodeLine(engine, utf16View(text), side, out, RawByteEscapes::AsBytes, nullptr,
                           words);
        out += u'\n';
    }
    return toQString(out);
}

void convert(Engine& engine, const Pane& source, Pane& target, WordMode* words) {
    // A target without a document of its own is saved as the text it came from would be.
    if (target.fileName().isEmpty())
        target.setFormat(source.format());
    target.replaceText(convertedText(engine, source.lines(), source.index(), words));
}

} // namespace sorvanti::conversioncommand
