#include "integration/FileAssociation.h"

#include "settings/DataFolders.h"
#include "toolkit/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

#include <utility>

namespace sorvanti::association {

namespace {

const QString kDescription = QStringLiteral("そるばんち文章");
const QString kProgramName = QStringLiteral("秘密 の そるばんち");
const QString kProgramIconName = QStringLiteral("sorvanti");
const QString kDocumentIconName = QStringLiteral("application-x-sorvanti-svt");
const QString kDefaultSection = QStringLiteral("[Default Applications]");

// A failed write names the value as the registry would have: the default value's empty name.
[[noreturn]] void settingFailed() {
    throw Error("'' の設定に失敗しました");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        settingFailed();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        settingFailed();
}

QByteArray resource(const QString& name) {
    QFile file(QStringLiteral(":/icons/") + name);
    if (!file.open(QIODevice::ReadOnly))
        settingFailed();
    return file.readAll();
}

// Lines of a list file; a final line end opens no further line.
QStringList linesOf(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString joined(const QStringList& lines) {
    return lines.isEmpty() ? QString() : lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool isHeader(const QString& line) {
    return line.trimmed().startsWith(QLatin1Char('['));
}

QString keyOf(const QString& line) {
    const QString t = line.trimmed();
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq < 0 || t.startsWith(QLatin1Char('#')))
        return QString();
    return t.left(eq).trimmed();
}

QStringList valuesOf(const QString& line) {
    const QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    return value.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

QString entryLine(const QString& mimeType, const QStringList& ids) {
    return mimeType + QLatin1Char('=') + ids.join(QLatin1Char(';')) + QLatin1Char(';');
}

// The [Default Applications] section as [header, end): end is the index after its last
// line. {-1, -1} when the list has no such section.
std::pair<qsizetype, qsizetype> defaultSection(const QStringList& lines) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed() != kDefaultSection)
            continue;
        qsizetype end = i + 1;
        while (end < lines.size() && !isHeader(lines[end]))
            ++end;
        return {i, end};
    }
    return {-1, -1};
}

qsizetype lineOf(const QStringList& lines, qsizetype start, qsizetype end, const QString& key) {
    for (qsizetype i = start + 1; i < end; ++i)
        if (keyOf(lines[i]) == key)
            return i;
    return -1;
}

void runTool(const QString& name, const QString& folder) {
    const QString tool = QStandardPaths::findExecutable(name);
    if (tool.isEmpty() || !QFileInfo(folder).isDir())
        return;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(tool, {folder});
    process.waitForFinished(60000);
}

} // namespace

QString documentTypeIdentifier(const QString& programPath) {
    QString name = QFileInfo(programPath).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    return name + QStringLiteral(".svt");
}

QString mimeTypeFor(const QString& identifier) {
    QString subtype = identifier.toLower();
    for (QChar& c : subtype) {
        const bool allowed = (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
                             QStringView(u"!#$&^_+-").contains(c);
        if (!allowed)
            c = u'-';
    }
    return QStringLiteral("application/x-") + subtype;
}

QString execValue(const QString& programPath) {
    // Inside the double quotes of an argument, these four take a backslash.
    QString quoted = QStringLiteral("\"");
    for (const QChar c : programPath) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';
    // A per cent sign would start a field code.
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    // The value string's own escapes come on top of the argument quoting.
    QString value;
    for (const QChar c : quoted) {
        switch (c.unicode()) {
        case u'\\':
            value += QStringLiteral("\\\\");
            break;
        case u'\n':
            value += QStringLiteral("\\n");
            break;
        case u'\t':
            value += QStringLiteral("\\t");
            break;
        case u'\r':
            value += QStringLiteral("\\r");
            break;
        default:
            value += c;
        }
    }
    return value + QStringLiteral(" %f");
}

QString mimePackageText(const QString& identifier) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info "
                          "xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"%1\">\n"
                          "    <comment>%2</comment>\n"
                          "    <icon name=\"%3\"/>\n"
                          "    <glob pattern=\"*.svt\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n")
        .arg(mimeTypeFor(identifier).toHtmlEscaped(), kDescription, kDocumentIconName);
}

QString desktopEntryText(const QString& programPath, const QString& identifier) {
    // Hidden from the menus: the entry exists to open documents; an installed program has
    // its own menu entry.
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Exec=%2\n"
                          "Icon=%3\n"
                          "MimeType=%4;\n"
                          "Terminal=false\n"
                          "NoDisplay=true\n")
        .arg(kProgramName, execValue(programPath), kProgramIconName, mimeTypeFor(identifier));
}

QString withDefault(const QString& list, const QString& mimeType, const QString& desktopId) {
    QStringList lines = linesOf(list);
    const auto [start, end] = defaultSection(lines);
    if (start < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << kDefaultSection << entryLine(mimeType, {desktopId});
        return joined(lines);
    }
    const qsizetype at = lineOf(lines, start, end, mimeType);
    if (at >= 0) {
        // Ours goes first, which makes it the default; the others stay as the fall-backs.
        QStringList ids = valuesOf(lines[at]);
        ids.removeAll(desktopId);
        ids.prepend(desktopId);
        lines[at] = entryLine(mimeType, ids);
        return joined(lines);
    }
    qsizetype insertAt = end;
    while (insertAt - 1 > start && lines[insertAt - 1].trimmed().isEmpty())
        --insertAt;
    lines.insert(insertAt, entryLine(mimeType, {desktopId}));
    return joined(lines);
}

QString withoutDefault(const QString& list, const QString& mimeType, const QString& desktopId) {
    QStringList lines = linesOf(list);
    const auto [start, end] = defaultSection(lines);
    const qsizetype at = start < 0 ? -1 : lineOf(lines, start, end, mimeType);
    if (at < 0)
        return list;
    QStringList ids = valuesOf(lines[at]);
    if (ids.removeAll(desktopId) == 0)
        return list;
    if (ids.isEmpty())
        lines.removeAt(at);
    else
        lines[at] = entryLine(mimeType, ids);
    return joined(lines);
}

bool isEmptyList(const QString& list) {
    for (const QString& line : linesOf(list))
        if (!line.trimmed().isEmpty() && line.trimmed() != kDefaultSection)
            return false;
    return true;
}

Places Places::fromEnvironment() {
    UserDirectories user = UserDirectories::fromProcess();
    // Without a home folder to go by, the root folder stands in for it.
    if (user.home.empty() || user.home.front() != '/')
        user.home.assign(1, '/'); // not = "/": GCC 12 warns falsely (-Wrestrict) on that
    const auto place = [](const std::string& folder) {
        return QDir::cleanPath(QString::fromStdString(folder));
    };
    return {place(user.dataFolder()), place(user.configFolder())};
}

Files filesFor(const QString& identifier, const Places& places) {
    const QString icons = places.dataHome + QStringLiteral("/icons/hicolor/scalable/");
    return {places.dataHome + QStringLiteral("/mime/packages/") + identifier +
                QStringLiteral(".xml"),
            places.dataHome + QStringLiteral("/applications/") + identifier +
                QStringLiteral(".desktop"),
            icons + QStringLiteral("apps/") + kProgramIconName + QStringLiteral(".svg"),
            icons + QStringLiteral("mimetypes/") + kDocumentIconName + QStringLiteral(".svg"),
            places.configHome + QStringLiteral("/mimeapps.list")};
}

void registerDocumentType(const QString& programPath, const Places& places) {
    const QString identifier = documentTypeIdentifier(programPath);
    const Files files = filesFor(identifier, places);
    writeFile(files.mimePackage, mimePackageText(identifier).toUtf8());
    writeFile(files.documentIcon, resource(kDocumentIconName + QStringLiteral(".svg")));
    writeFile(files.programIcon, resource(kProgramIconName + QStringLiteral(".svg")));
    writeFile(files.desktopEntry, desktopEntryText(programPath, identifier).toUtf8());

    QString list;
    QFile existing(files.mimeappsList);
    if (existing.exists()) {
        // Never rewrite a list that could not be read: it would lose the user's defaults.
        if (!existing.open(QIODevice::ReadOnly))
            settingFailed();
        list = QString::fromUtf8(existing.readAll());
    }
    const QString desktopId = QFileInfo(files.desktopEntry).fileName();
    writeFile(files.mimeappsList, withDefault(list, mimeTypeFor(identifier), desktopId).toUtf8());
}

void removeDocumentType(const QString& programPath, const Places& places) {
    const QString identifier = documentTypeIdentifier(programPath);
    const Files files = filesFor(identifier, places);
    for (const QString& path :
         {files.mimePackage, files.desktopEntry, files.programIcon, files.documentIcon})
        QFile::remove(path);

    QFile existing(files.mimeappsList);
    if (!existing.open(QIODevice::ReadOnly))
        return;
    const QString list = QString::fromUtf8(existing.readAll());
    existing.close();
    const QString desktopId = QFileInfo(files.desktopEntry).fileName();
    const QString rest = withoutDefault(list, mimeTypeFor(identifier), desktopId);
    if (rest == list)
        return;
    // Deleting never reports an error; a list that cannot be rewritten keeps the line.
    if (isEmptyList(rest)) {
        QFile::remove(files.mimeappsList);
        return;
    }
    QSaveFile file(files.mimeappsList);
    if (file.open(QIODevice::WriteOnly) && file.write(rest.toUtf8()) >= 0)
        file.commit();
}

void notifyDesktop(const Places& places) {
    runTool(QStringLiteral("update-mime-database"), places.dataHome + QStringLiteral("/mime"));
    runTool(QStringLiteral("update-desktop-database"),
            places.dataHome + QStringLiteral("/applications"));
}

} // namespace sorvanti::association
