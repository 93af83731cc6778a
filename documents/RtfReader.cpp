#include "documents/RtfReader.h"

#include "documents/RtfParser.h"
#include "toolkit/FormFont.h"
#include "toolkit/TextEncoding.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace sorvanti {

namespace {

using rtf::CharProps;
using rtf::ParsedDocument;

// The largest size word processors offer (1638 pt, in half points); larger ones are taken as
// this. Rasterising glyphs of tens of thousands of points takes the layout minutes.
constexpr int kMaxHalfPoints = 3276;

// A document of more distinct sizes than this gets each size as the nearest of kSizeSteps.
// Real documents use a dozen; each distinct size is a font engine of its own, and with
// thousands of them Qt's font cache evicts and reloads engines for seconds, as it lays out
// runs of hundreds of points for seconds too: such a document's sizes stop at 96 points. The
// steps are fewer than the bound and map to themselves, so a file written from such a
// document reads back with the same sizes.
constexpr size_t kMaxSizes = 64;
constexpr int kSizeSteps[] = {1,  2,  4,  6,  8,  10, 12, 14,  16,  18,  20,  22,  24,
                              26, 28, 30, 32, 34, 36, 38, 40,  42,  44,  46,  48,  52,
                              56, 60, 64, 72, 80, 88, 96, 108, 120, 132, 144, 168, 192};

struct CharPropsHash {
    size_t operator()(const CharProps& p) const {
        size_t h = std::hash<int>()(p.font);
        auto mix = [&h](size_t v) { h ^= v + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2); };
        mix(std::hash<int>()(p.halfPoints));
        mix(std::hash<int>()(p.color));
        mix(size_t(p.bold) | size_t(p.italic) << 1 | size_t(p.underline) << 2 |
            size_t(p.strike) << 3 | size_t(p.hidden) << 4);
        return h;
    }
};

// Turns the parsed runs into the text document's formats.
class Builder {
public:
    explicit Builder(const ParsedDocument& parsed) : parsed_(parsed) {}
    void build(QTextDocument& doc);

private:
    QTextCharFormat formatOf(const CharProps& props) const;
    const QTextCharFormat& formatFor(const CharProps& props);
    // The size (half points) the document gets for `halfPoints`: itself, or the nearest of
    // kSizeSteps when the document uses more than kMaxSizes sizes.
    int boundedSize(int halfPoints) const;

    const ParsedDocument& parsed_;
    bool coarseSizes_ = false;
    // Equal properties share one format, so the document's format table stays as small as
    // the number of distinct formats.
    std::unordered_map<CharProps, QTextCharFormat, CharPropsHash> formats_;
};

int Builder::boundedSize(int halfPoints) const {
    if (!coarseSizes_)
        return halfPoints;
    const int* at = std::lower_bound(std::begin(kSizeSteps), std::end(kSizeSteps), halfPoints);
    if (at == std::end(kSizeSteps))
        return *(at - 1);
    if (at == std::begin(kSizeSteps))
        return *at;
    return halfPoints - *(at - 1) <= *at - halfPoints ? *(at - 1) : *at;
}

// The faces to ask for a font of the file: the program's own face stands for its whole list of
// Linux faces, as the panes ask for it, so that a text written by the program reads back in
// the face it was typed in where "ＭＳ Ｐゴシック" itself is not installed.
QStringList familiesOf(const QString& name) {
    const QStringList form = formFontFamilies();
    return name == form.front() ? form : QStringList{name};
}

QTextCharFormat Builder::formatOf(const CharProps& props) const {
    QTextCharFormat format;
    // A font the table does not hold (or no longer keeps) takes the document's default face.
    const auto& fonts = parsed_.fonts;
    auto font = fonts.find(props.font >= 0 ? props.font : parsed_.defaultFont);
    if (font == fonts.end())
        font = fonts.find(parsed_.defaultFont);
    if (font != fonts.end() && !font->second.name.isEmpty())
        format.setFontFamilies(familiesOf(font->second.name));
    if (props.halfPoints > 0)
        format.setFontPointSize(boundedSize(std::min(props.halfPoints, kMaxHalfPoints)) / 2.0);
    format.setFontWeight(props.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(props.italic);
    format.setFontUnderline(props.underline);
    format.setFontStrikeOut(props.strike);
    const auto& colors = parsed_.colors;
    if (props.color > 0 && size_t(props.color) < colors.size() && colors[props.color].isValid())
        format.setForeground(colors[props.color]);
    return format;
}

const QTextCharFormat& Builder::formatFor(const CharProps& props) {
    auto [it, added] = formats_.try_emplace(props);
    if (added)
        it->second = formatOf(props);
    return it->second;
}

void Builder::build(QTextDocument& doc) {
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    doc.clear(); // inside the edit: see plaintext::setDocumentText()
    std::unordered_set<int> sizes;
    for (const rtf::Run& run : parsed_.runs)
        sizes.insert(std::min(run.props.halfPoints, kMaxHalfPoints));
    for (const CharProps& props : parsed_.marks)
        sizes.insert(std::min(props.halfPoints, kMaxHalfPoints));
    coarseSizes_ = sizes.size() > kMaxSizes;
    const QString& text = parsed_.text;
    size_t mark = 0;
    auto endBlock = [&] {
        // A block takes the formatting of its own mark; an empty one has no other.
        if (mark < parsed_.marks.size())
            cursor.setBlockCharFormat(formatFor(parsed_.marks[mark]));
        ++mark;
    };
    for (size_t i = 0; i < parsed_.runs.size(); ++i) {
        const rtf::Run& run = parsed_.runs[i];
        const qsizetype end = i + 1 < parsed_.runs.size() ? parsed_.runs[i + 1].start : text.size();
        const QTextCharFormat& format = formatFor(run.props);
        qsizetype from = run.start;
        while (from < end) {
            const qsizetype found =
                QStringView(text).mid(from, end - from).indexOf(QChar::ParagraphSeparator);
            const qsizetype to = found < 0 ? end : from + found;
            if (to > from)
                cursor.insertText(text.mid(from, to - from), format);
            from = to;
            if (to < end) {
                endBlock();
                cursor.insertBlock(QTextBlockFormat(), format);
                ++from;
            }
        }
    }
    endBlock();
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
}

size_t rtfStart(std::string_view bytes) {
    size_t i = 0;
    if (bytes.substr(0, textencoding::kUtf8Bom.size()) == textencoding::kUtf8Bom)
        i = textencoding::kUtf8Bom.size();
    while (i < bytes.size() &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return bytes.substr(i, 5) == "{\\rtf" ? i : std::string_view::npos;
}

} // namespace

bool RtfReader::isRtf(std::string_view bytes) {
    return rtfStart(bytes) != std::string_view::npos;
}

bool RtfReader::read(QTextDocument& doc, std::string_view bytes) {
    const size_t start = rtfStart(bytes);
    if (start == std::string_view::npos)
        return false;
    const ParsedDocument parsed = rtf::Parser(bytes.substr(start)).parse();
    Builder(parsed).build(doc);
    return true;
}

} // namespace sorvanti
