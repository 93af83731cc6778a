#include "help/Manual.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocument>

#include <algorithm>

namespace sorvanti {

namespace {

const QString kContentsFile = QStringLiteral("index.html");

QString readUtf8(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString plainText(const QString& html) {
    QTextDocument doc;
    doc.setHtml(html);
    return doc.toPlainText();
}

// The page's title and its sections: the part before the first <h2 id="…"> (titled by the
// page) and one per such heading.
Manual::Page readPage(const QString& folder, const QString& file) {
    static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression body(QStringLiteral("<body[^>]*>(.*)</body>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression heading(QStringLiteral("<h2 id=\"([^\"]+)\"[^>]*>(.*?)</h2>"),
                                            QRegularExpression::DotMatchesEverythingOption);
    const QString html = readUtf8(folder + QLatin1Char('/') + file);
    Manual::Page page;
    page.file = file;
    page.title = plainText(title.match(html).captured(1)).trimmed();
    const auto bodyMatch = body.match(html);
    const QString text = bodyMatch.hasMatch() ? bodyMatch.captured(1) : html;

    QString anchor;
    QString sectionTitle = page.title;
    qsizetype from = 0;
    auto close = [&](qsizetype to) {
        const QString content = plainText(text.mid(from, to - from));
        page.sections.append({file, anchor, sectionTitle, Manual::fold(content)});
    };
    for (auto it = heading.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        close(match.capturedStart());
        anchor = match.captured(1);
        sectionTitle = plainText(match.captured(2)).trimmed();
        from = match.capturedStart();
    }
    close(text.size());
    return page;
}

} // namespace

const Manual& Manual::builtIn() {
    static const Manual manual(QStringLiteral(":/help"));
    return manual;
}

Manual::Manual(const QString& folder) : folder_(folder) {
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    for (const QString& file : files)
        if (file != kContentsFile)
            pages_.append(readPage(folder, file));
}

QString Manual::fold(const QString& text) {
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

QUrl Manual::url(const QString& page, const QString& anchor) const {
    QUrl url = folder_.startsWith(QLatin1Char(':'))
                   ? QUrl(QStringLiteral("qrc") + folder_ + QLatin1Char('/') + page)
                   : QUrl::fromLocalFile(folder_ + QLatin1Char('/') + page);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    return url;
}

QUrl Manual::contentsUrl() const {
    return url(kContentsFile);
}

QString Manual::contentsHtml() const {
    QString html = QStringLiteral("<html><head><title>目次</title></head><body><h1>目次</h1><ul>");
    for (const Page& page : pages_) {
        html +=
            QStringLiteral("<li><a href=\"%1\">%2</a>").arg(page.file, page.title.toHtmlEscaped());
        QString sections;
        for (const Section& s : page.sections)
            if (!s.anchor.isEmpty())
                sections += QStringLiteral("<li><a href=\"%1#%2\">%3</a></li>")
                                .arg(page.file, s.anchor, s.title.toHtmlEscaped());
        if (!sections.isEmpty())
            html += QStringLiteral("<ul>") + sections + QStringLiteral("</ul>");
        html += QStringLiteral("</li>");
    }
    return html + QStringLiteral("</ul></body></html>");
}

QStringList Manual::words(const QString& query) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return query.split(blanks, Qt::SkipEmptyParts);
}

QList<const Manual::Section*> Manual::search(const QString& query) const {
    const QStringList words = Manual::words(fold(query));
    QList<const Section*> found;
    if (words.isEmpty())
        return found;
    for (const Page& page : pages_)
        for (const Section& section : page.sections)
            if (std::all_of(words.begin(), words.end(),
                            [&](const QString& w) { return section.text.contains(w); }))
                found.append(&section);
    return found;
}

} // namespace sorvanti
