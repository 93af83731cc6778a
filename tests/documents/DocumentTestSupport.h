#pragma once

// Small file helpers shared by the document tests.
#include <QBrush>
#include <QFile>
#include <QFont>
#include <QString>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace sorvanti::test {

inline std::string readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    const QByteArray data = file.readAll();
    return std::string(data.constData(), size_t(data.size()));
}

inline void writeBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        throw std::runtime_error("cannot write test file " + path.toStdString());
}

inline QString u8(const char* text) {
    return QString::fromUtf8(text);
}

// What the pane shows of one character: the formatting the writer keeps.
struct Shown {
    QChar ch;
    QString family;
    double points;
    bool bold, italic, underline, strike;
    QRgb color; // 0 for the automatic colour
    bool operator==(const Shown&) const = default;
};

inline void PrintTo(const Shown& s, std::ostream* os) {
    *os << "U+" << std::hex << int(s.ch.unicode()) << std::dec << " " << s.family.toStdString()
        << " " << s.points << (s.bold ? " b" : "") << (s.italic ? " i" : "")
        << (s.underline ? " u" : "") << (s.strike ? " s" : "") << " #" << std::hex << s.color;
}

inline std::vector<Shown> shown(const QTextDocument& doc) {
    std::vector<Shown> out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat fmt = f.charFormat();
            const QFont font = fmt.font().resolve(doc.defaultFont());
            const QBrush brush = fmt.foreground();
            for (QChar c : f.text())
                out.push_back({c, font.families().value(0, font.family()), font.pointSizeF(),
                               font.bold(), font.italic(), font.underline(), font.strikeOut(),
                               brush.style() == Qt::NoBrush ? 0 : brush.color().rgb()});
        }
        if (block.next().isValid())
            out.push_back({QChar(QChar::ParagraphSeparator), {}, 0, false, false, false, false, 0});
    }
    return out;
}

// Gives `doc` the pane's default font and returns a cursor at its start, so
// that runs inserted with format() differ from the pane only where they say.
inline QTextCursor paneCursor(QTextDocument& doc) {
    QFont pane(QStringLiteral("IPAGothic"));
    pane.setPointSizeF(10.5);
    doc.setDefaultFont(pane);
    return QTextCursor(&doc);
}

inline QTextCharFormat format(const char* family, double points, bool bold = false,
                              bool italic = false, bool underline = false, bool strike = false,
                              QColor color = {}) {
    QTextCharFormat f;
    f.setFontFamilies({QString::fromUtf8(family)});
    f.setFontPointSize(points);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(italic);
    f.setFontUnderline(underline);
    f.setFontStrikeOut(strike);
    if (color.isValid())
        f.setForeground(color);
    return f;
}

} // namespace sorvanti::test
