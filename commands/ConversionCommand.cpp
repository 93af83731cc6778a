#include "commands/ConversionCommand.h"

#include "commands/ReplacementMarks.h"
#include "conversion/DictionaryTable.h"
#include "documents/Pane.h"
#include "toolkit/Cp932.h"
#include "toolkit/Utf16.h"

#include <QTextBlock>
#include <QTextDocument>

#include <string>

namespace sorvanti::conversioncommand {

QString entryWord(const DictionaryTable& table, int32_t entry, int side) {
    return toQString(cp932::decode(table.word(entry, side)));
}

QString convertedText(Engine& engine, const QStringList& lines, int side, LineMatches* matches,
                      WordMode* words) {
    std::u16string out;
    if (matches) {
        matches->all.clear();
        // Room for a few replacements a line: a long text then grows its list once or twice.
        matches->all.reserve(size_t(lines.size()) * 4);
        matches->first.assign(1, 0);
        matches->first.reserve(size_t(lines.size()) + 1);
    }
    for (const QString& text : lines) {
        // Each line's replacements count their output positions from the line's start.
        convertUnicodeLine(engine, utf16View(text), side, out, RawByteEscapes::AsBytes,
                           matches ? &matches->all : nullptr, words);
        out += u'\n';
        if (matches)
            matches->first.push_back(matches->all.size());
    }
    return toQString(out);
}

void convert(Engine& engine, const Pane& source, Pane& target, ReplacementMarks* marks,
             WordMode* words) {
    // A target without a document of its own is saved as the text it came from would be.
    if (target.fileName().isEmpty())
        target.setFormat(source.format());
    const bool marking = marks && marks->isOn();
    LineMatches found;
    const QStringList lines = source.lines();
    const QString text =
        convertedText(engine, lines, source.index(), marking ? &found : nullptr, words);
    {
        const ReplacementMarks::Writing writing(marks);
        target.replaceText(text);
    }
    if (marking)
        marks->mark(target.document().begin(), found);
}

} // namespace sorvanti::conversioncommand
