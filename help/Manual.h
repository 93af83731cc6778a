#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace sorvanti {

// The program's manual: the HTML pages compiled into the program under ":/help/", in the
// order of their file names ("10-introduction.html", "20-panes.html", …). A page is one
// topic; its sections are its <h2 id="…"> headings. The contents and the search come from
// the pages themselves, so adding a topic is adding one file (a number in its name places
// it) and adding a section is adding one heading with an id.
class Manual {
public:
    struct Section {
        QString page;   // file name, e.g. "40-dictionaries.html"
        QString anchor; // id of the heading; empty for the part before the first heading
        QString title;  // the heading, or the page's title for the part before it
        QString text;   // title and text, folded for searching (see fold())
    };
    struct Page {
        QString file;
        QString title; // the page's <title>
        QList<Section> sections;
    };

    // The manual compiled into the program.
    static const Manual& builtIn();
    // The manual of the *.html pages in `folder` (a resource or file path).
    explicit Manual(const QString& folder);

    const QList<Page>& pages() const { return pages_; }

    // The generated contents page, and where the browser finds it (beside the pages, so
    // its links are the pages' file names).
    QString contentsHtml() const;
    QUrl contentsUrl() const;
    // A page, or one of its sections.
    QUrl url(const QString& page, const QString& anchor = {}) const;

    // The sections that hold every word of `query` (words are separated by blanks), in the
    // manual's order. Nothing for a query without words.
    QList<const Section*> search(const QString& query) const;

    // Text as the search compares it: compatibility forms unified (full- and half-width
    // letters and digits, half-width kana) and letter case folded.
    static QString fold(const QString& text);
    // The words of a query: its parts between blanks.
    static QStringList words(const QString& query);

private:
    QString folder_;
    QList<Page> pages_;
};

} // namespace sorvanti
