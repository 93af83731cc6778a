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
#include <vector>

namespace sorvanti {

namespace {

using rtf::RunFormat;

struct FontEntry {
    QString family;
    bool japanese = false;
};

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

class Writer {
public:
    explicit Writer(const QTextDocument& doc) : doc_(doc) {}
    std::string write();

private:
    RunFormat formatOf(const QTextCharFormat& format);
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);
    void controlWords(const RunFormat& f);

    const QTextDocument& doc_;
    std::vector<FontEntry> fonts_;
    std::vector<QColor> colors_;
    // Table positions by face and by colour: a document with many distinct ones must not
    // search the tables for each of its runs.
    QHash<QString, int> fontIndexes_;
    QHash<QRgb, int> colorIndexes_;
    std::string body_;
};

int Writer::fontIndex(const QString& family) {
    const auto found = fontIndexes_.constFind(family);
    if (found != fontIndexes_.constEnd())
        return found.value();
    fonts_.push_back({family, isJapaneseFace(family)});
    fontIndexes_.insert(family, int(fonts_.size() - 1));
    return int(fonts_.size() - 1);
}

int Writer::colorIndex(const QColor& color) {
    const QRgb rgb = color.rgb();
    const auto found = colorIndexes_.constFind(rgb);
    if (found != colorIndexes_.constEnd())
        return found.value();
    colors_.push_back(color);
    colorIndexes_.insert(rgb, int(colors_.size()));
    return int(colors_.size());
}

RunFormat Writer::formatOf(const QTextCharFormat& format) {
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
        if (c >= cp932::kRawByteBase && c <= cp932::kRawByteBase + 0xFF) {
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

std::string Writer::write() {
    // The default font is entry 0 so that \deff0 names it.
    fontIndex([&] {
        const QFont font = doc_.defaultFont();
        const QStringList families = font.families();
        return families.isEmpty() ? font.family() : families.first();
    }());
    std::vector<bool> fontHoldsNonAscii;
    RunFormat current;
    bool first = true;
    for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
        bool blockHasText = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const RunFormat f = formatOf(fragment.charFormat());
            if (first || !(f == current)) {
                controlWords(f);
                current = f;
                first = false;
            }
            bool nonAscii = false;
            appendText(body_, fragment.text(), nonAscii);
            if (fontHoldsNonAscii.size() < fonts_.size())
                fontHoldsNonAscii.resize(fonts_.size(), false);
            if (nonAscii)
                fontHoldsNonAscii[size_t(f.font)] = true;
            blockHasText = true;
        }
        if (!blockHasText) {
            // An empty paragraph keeps its size and face through its mark.
            const RunFormat f = formatOf(block.charFormat());
            if (first || !(f == current)) {
                controlWords(f);
                current = f;
                first = false;
            }
        }
        body_ += "\\par\n";
    }
    fontHoldsNonAscii.resize(fonts_.size(), false);

    std::string out = "{\\rtf1\\ansi\\ansicpg932\\deff0\\uc1\n{\\fonttbl";
    for (size_t i = 0; i < fonts_.size(); ++i) {
        // \'hh text is decoded in the character set of its font: every font that carries
        // Japanese bytes declares code page 932.
        const bool japanese = fonts_[i].japanese || fontHoldsNonAscii[i];
        out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset" + (japanese ? "128 " : "0 ");
        appendFontName(out, fonts_[i].family);
        out += ";}";
    }
    out += "}\n{\\colortbl;";
    for (const QColor& c : colors_)
        out += "\\red" + std::to_string(c.red()) + "\\green" + std::to_string(c.green()) +
               "\\blue" + std::to_string(c.blue()) + ';';
    out += "}\n\\pard ";
    out += body_;
    out += "}\n";
    return out;
}

} // namespace

std::string RtfWriter::write(const QTextDocument& doc) {
    return Writer(doc).write();
}

} // namespace sorvanti
