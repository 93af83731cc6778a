#include "documents/RtfWriter.h"

#include "documents/RtfFormat.h"

#include "toolkit/Cp932.h"
#include "toolkit/Utf16.h"

#include <QColor>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace sorvanti {

namespace {

using rtf::RunFormat;

constexpr char kHex[] = "0123456789abcdef";

bool isJapaneseFace(const QString& family) {
    for (QChar c : family)
        if (c.unicode() >= 0x80)
            return true;
    static const char* const knownPrefixes[] = {
        "MS Gothic", "MS PGothic",       "MS UI Gothic",      "MS Mincho",  "MS PMincho",
        "Meiryo",    "Yu Gothic",        "Yu Mincho",         "IPA",        "Takao",
        "VL Gothic", "Noto Sans CJK JP", "Noto Serif CJK JP", "Source Han", "Hiragino",
        "Osaka",     "MigMix",
    };
    for (const char* prefix : knownPrefixes)
        if (family.startsWith(QLatin1String(prefix)))
            return true;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
        QFontDatabase::families().contains(family))
        return QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese);
    return false;
}

// Takes the runs, fonts and colours of a document.
class Capturer {
public:
    explicit Capturer(const QTextDocument& doc) : doc_(doc) {
        // The default font is entry 0 so that \deff0 names it.
        const QFont font = doc_.defaultFont();
        const QStringList families = font.families();
        fontIndex(families.isEmpty() ? font.family() : families.first());
    }
    RtfWriter::Capture take();
    RtfWriter::Capture takeText();

private:
    RunFormat formatOf(const QTextCharFormat& format);
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);
    // The one run format of the whole document when all its character formats give the same
    // (a plain text, typed or converted): then no fragment needs to be visited.
    std::optional<RunFormat> singleFormat();
    void addRun(qsizetype position, const RunFormat& format);

    const QTextDocument& doc_;
    RtfWriter::Capture out_;
    // Table positions by face and by colour: a document with many distinct ones must not
    // search the tables for each of its runs.
    QHash<QString, int> fontIndexes_;
    QHash<QRgb, int> colorIndexes_;
    // Run formats by the document's format index, worked out once each.
    QHash<int, RunFormat> formats_;
};

int Capturer::fontIndex(const QString& family) {
    const auto found = fontIndexes_.constFind(family);
    if (found != fontIndexes_.constEnd())
        return found.value();
    out_.fonts.push_back({family, isJapaneseFace(family)});
    fontIndexes_.insert(family, int(out_.fonts.size() - 1));
    return int(out_.fonts.size() - 1);
}

int Capturer::colorIndex(const QColor& color) {
    const QRgb rgb = color.rgb();
    const auto found = colorIndexes_.constFind(rgb);
    if (found != colorIndexes_.constEnd())
        return found.value();
    out_.colors.push_back(color);
    colorIndexes_.insert(rgb, int(out_.colors.size()));
    return int(out_.colors.size());
}

RunFormat Capturer::formatOf(const QTextCharFormat& format) {
    const QFont font = format.font().resolve(doc_.defaultFont());
    RunFormat f;
    const QStringList families = font.families();
    f.font = fontIndex(families.isEmpty() ? font.family() : families.first());
    double points = font.pointSizeF();
    if (points <= 0 && font.pixelSize() > 0)
        points = font.pixelSize() * 0.75;
    f.halfPoints = points > 0 ? int(std::lround(points * 2)) : 24;
    f.bold = font.bold();
    f.italic = font.italic();
    f.underline = font.underline();
    f.strike = font.strikeOut();
    const QBrush brush = format.foreground();
    if (brush.style() != Qt::NoBrush)
        f.color = colorIndex(brush.color());
    return f;
}

std::optional<RunFormat> Capturer::singleFormat() {
    // Past a handful of formats the fragments are visited anyway. The tables then start again
    // from the default font, so that they hold what the text uses, in the order it uses it.
    constexpr int kMostFormats = 16;
    const RtfWriter::Capture tables = out_;
    const QHash<QString, int> fontIndexes = fontIndexes_;
    const auto giveUp = [&]() -> std::optional<RunFormat> {
        out_ = tables;
        fontIndexes_ = fontIndexes;
        colorIndexes_.clear();
        formats_.clear();
        return std::nullopt;
    };
    std::optional<RunFormat> single;
    int seen = 0;
    const QList<QTextFormat> all = doc_.allFormats();
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (!all[i].isCharFormat())
            continue;
        if (++seen > kMostFormats)
            return giveUp();
        const RunFormat f = formatOf(all[i].toCharFormat());
        formats_.insert(int(i), f);
        if (single && !(*single == f))
            return giveUp();
        single = f;
    }
    return single;
}

void Capturer::addRun(qsizetype position, const RunFormat& format) {
    // The writer switches formats only where they differ.
    if (out_.runs.empty() || !(out_.runs.back().format == format))
        out_.runs.push_back({position, format});
}

RtfWriter::Capture Capturer::takeText() {
    addRun(0, formatOf(QTextCharFormat()));
    out_.text = doc_.toRawText();
    return std::move(out_);
}

RtfWriter::Capture Capturer::take() {
    if (const std::optional<RunFormat> single = singleFormat()) {
        out_.text = doc_.toRawText();
        addRun(0, *single);
        return std::move(out_);
    }
    out_.text = doc_.toRawText();
    // A run goes on as long as the fragments keep the format index of its first one.
    int lastIndex = -1;
    const auto add = [&](qsizetype position, int index, const auto& format) {
        if (index == lastIndex)
            return;
        lastIndex = index;
        auto found = formats_.constFind(index);
        if (found == formats_.constEnd())
            found = formats_.insert(index, formatOf(format()));
        addRun(position, found.value());
    };
    for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
        bool blockHasText = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            add(fragment.position(), fragment.charFormatIndex(),
                [&] { return fragment.charFormat(); });
            blockHasText = true;
        }
        // An empty paragraph keeps its size and face through its mark.
        if (!blockHasText)
            add(block.position(), block.charFormatIndex(), [&] { return block.charFormat(); });
    }
    return std::move(out_);
}

// Writes captured runs as RTF.
class Writer {
public:
    explicit Writer(const RtfWriter::Capture& capture) : in_(capture) {}
    std::string write();

private:
    void controlWords(const RunFormat& f);
    // Switches to run `run`'s format where it differs from the one written last.
    void switchTo(size_t run);
    // Writes the text [from, to) of one block in the formats of its runs; `run` is the run in
    // force, and moves on with the text.
    void blockText(qsizetype from, qsizetype to, size_t& run);

    const RtfWriter::Capture& in_;
    std::vector<bool> fontHoldsNonAscii_;
    std::optional<RunFormat> current_;
    std::string body_;
};

void Writer::controlWords(const RunFormat& f) {
    // \f names the face of Latin text only; word processors take the face of Japanese text
    // from the double-byte associated font (\dbch\af), and its glyph forms from \langfe.
    const std::string font = std::to_string(f.font);
    body_ += "\\plain\\langfe1041\\f" + font + "\\dbch\\af" + font + "\\loch\\fs" +
             std::to_string(f.halfPoints);
    for (const rtf::FlagWord& flag : rtf::kFlagWords)
        if (f.*flag.flag) {
            body_ += '\\';
            body_ += flag.word;
        }
    if (f.color > 0)
        body_ += "\\cf" + std::to_string(f.color);
    body_ += ' ';
}

void appendUnicode(std::string& out, char16_t unit) {
    out += "\\u" + std::to_string(int(static_cast<int16_t>(unit))) + '?';
}

void appendHex(std::string& out, unsigned char b) {
    out += "\\'";
    out += kHex[b >> 4];
    out += kHex[b & 15];
}

// Appends `text` to `out` as RTF text; `nonAscii` is set when a byte of 0x80 or above was
// written as \'hh.
void appendText(std::string& out, QStringView text, bool& nonAscii) {
    const std::u16string_view units = utf16View(text);
    std::string bytes;
    for (size_t i = 0; i < units.size();) {
        const char16_t c = units[i];
        if (c >= 0x20 && c < 0x7F) {
            if (c == u'\\' || c == u'{' || c == u'}')
                out += '\\';
            out += char(c);
            ++i;
            continue;
        }
        ++i;
        switch (c) {
        case u'\t':
            out += "\\tab ";
            continue;
        case QChar::LineSeparator:
            out += "\\line ";
            continue;
        case QChar::Nbsp:
            out += "\\~";
            continue;
        case QChar::ObjectReplacementCharacter:
            continue; // an image or object: not written
        default:
            break;
        }
        if (cp932::isRawByteEscape(c)) {
            // A byte a plain-text file held that was no text: only this program knows it.
            appendUnicode(out, c);
            continue;
        }
        size_t width = 1;
        if (cp932::encodable(units, i - 1, &width)) {
            bytes.clear();
            cp932::encodeAppend(units.substr(i - 1, width), bytes);
            for (unsigned char b : bytes) {
                appendHex(out, b);
                nonAscii = nonAscii || b >= 0x80;
            }
            i += width - 1;
            continue;
        }
        appendUnicode(out, c);
    }
}

// A font name: text of the font's own character set, where ';' would end the entry.
void appendFontName(std::string& out, const QString& name) {
    std::string escaped;
    bool unused = false;
    // Body text writes a tab, a line break and a no-break space as control words, which a
    // font table does not take as part of a name: there they are written as \uN.
    qsizetype from = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c == u'\t' || c == QChar::LineSeparator || c == QChar::Nbsp) {
            appendText(escaped, QStringView(name).mid(from, i - from), unused);
            appendUnicode(escaped, c);
            from = i + 1;
        }
    }
    appendText(escaped, QStringView(name).mid(from), unused);
    for (char c : escaped) {
        if (c == ';')
            out += "\\'3b";
        else
            out += c;
    }
}

void Writer::switchTo(size_t run) {
    const RunFormat& f = in_.runs[run].format;
    if (current_ && *current_ == f)
        return;
    controlWords(f);
    current_ = f;
}

void Writer::blockText(qsizetype from, qsizetype to, size_t& run) {
    const std::vector<RtfWriter::Run>& runs = in_.runs;
    const auto next = [&] {
        return run + 1 < runs.size() ? runs[run + 1].position : in_.text.size() + 1;
    };
    while (next() <= from)
        ++run;
    switchTo(run);
    if (from == to)
        return; // an empty paragraph: its mark's format only
    for (qsizetype at = from; at < to;) {
        while (next() <= at)
            switchTo(++run);
        const qsizetype end = std::min(to, next());
        bool nonAscii = false;
        appendText(body_, QStringView(in_.text).mid(at, end - at), nonAscii);
        if (nonAscii)
            fontHoldsNonAscii_[size_t(runs[run].format.font)] = true;
        at = end;
    }
}

std::string Writer::write() {
    fontHoldsNonAscii_.assign(in_.fonts.size(), false);
    size_t run = 0;
    qsizetype from = 0;
    while (!in_.runs.empty()) {
        qsizetype to = in_.text.indexOf(QChar::ParagraphSeparator, from);
        const bool last = to < 0;
        if (last)
            to = in_.text.size();
        blockText(from, to, run);
        body_ += "\\par\n";
        if (last)
            break;
        from = to + 1;
    }

    std::string out = "{\\rtf1\\ansi\\ansicpg932\\deff0\\uc1\n{\\fonttbl";
    for (size_t i = 0; i < in_.fonts.size(); ++i) {
        // \'hh text is decoded in the character set of its font: every font that carries
        // Japanese bytes declares code page 932.
        const bool japanese = in_.fonts[i].japanese || fontHoldsNonAscii_[i];
        out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset" + (japanese ? "128 " : "0 ");
        appendFontName(out, in_.fonts[i].family);
        out += ";}";
    }
    out += "}\n{\\colortbl;";
    for (const QColor& c : in_.colors)
        out += "\\red" + std::to_string(c.red()) + "\\green" + std::to_string(c.green()) +
               "\\blue" + std::to_string(c.blue()) + ';';
    out += "}\n\\pard ";
    out += body_;
    out += "}\n";
    return out;
}

} // namespace

RtfWriter::Capture RtfWriter::capture(const QTextDocument& doc) {
    return Capturer(doc).take();
}

RtfWriter::Capture RtfWriter::captureText(const QTextDocument& doc) {
    return Capturer(doc).takeText();
}

std::string RtfWriter::write(const Capture& capture) {
    return Writer(capture).write();
}

} // namespace sorvanti
