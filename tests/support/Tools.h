#pragma once

// The command-line tools that tests read results back with (poppler, desktop-file-utils).

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

// The pages of a PDF as `pdftotext -layout` reads them: each page's non-blank lines, trimmed.
inline std::vector<QStringList> pdfPages(const QString& pdf) {
    const QString text = runTool("pdftotext", {"-layout", pdf, "-"}).out;
    std::vector<QStringList> pages;
    for (const QString& page : text.split(QLatin1Char('\f'))) {
        pages.emplace_back();
        for (const QString& line : page.split(QLatin1Char('\n')))
            if (!line.trimmed().isEmpty())
                pages.back() << line.trimmed();
    }
    pages.pop_back(); // the text after the last page's form feed
    return pages;
}

// The names of the fonts a PDF uses ("IPAGothic"), without the subset prefix ("ABCDEF+").
inline QStringList pdfFonts(const QString& pdf) {
    const QStringList rows = runTool("pdffonts", {pdf}).out.split(QLatin1Char('\n'));
    QStringList fonts;
    for (qsizetype i = 2; i < rows.size(); ++i)
        if (const QString name = rows[i].section(QLatin1Char(' '), 0, 0); !name.isEmpty())
            fonts << name.section(QLatin1Char('+'), -1);
    return fonts;
}

} // namespace sorvanti::test
