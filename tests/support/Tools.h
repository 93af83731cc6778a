#pragma once

// Running the command-line tools that the tests read results back with (pdftotext,
// pdffonts, desktop-file-validate, xdg-mime).

#include <QProcess>
#include <QString>
#include <QStringList>

namespace sorvanti::test {

struct ToolResult {
    int exitCode = -1;
    QString out;
};

inline ToolResult runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
}

// The non-blank lines of page `page` of a PDF as `pdftotext -layout` reads them, trimmed.
inline QStringList pdfLines(const QString& pdf, int page) {
    const QString n = QString::number(page);
    const ToolResult r =
        runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), n,
                                              QStringLiteral("-l"), n, pdf, QStringLiteral("-")});
    QStringList lines;
    for (const QString& line : r.out.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty() && line.trimmed() != QStringLiteral("\f"))
            lines << line.trimmed();
    return lines;
}

inline int pdfPages(const QString& pdf) {
    const ToolResult r = runTool(QStringLiteral("pdfinfo"), {pdf});
    for (const QString& line : r.out.split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

// The base names of the fonts a PDF embeds ("IPAGothic"), without the subset prefix.
inline QStringList pdfFonts(const QString& pdf) {
    const QStringList rows = runTool(QStringLiteral("pdffonts"), {pdf}).out.split('\n');
    QStringList fonts;
    for (qsizetype i = 2; i < rows.size(); ++i) {
        QString name = rows[i].section(QLatin1Char(' '), 0, 0);
        if (name.isEmpty())
            continue;
        if (name.size() > 7 && name[6] == QLatin1Char('+'))
            name = name.mid(7);
        fonts << name;
    }
    return fonts;
}

} // namespace sorvanti::test
