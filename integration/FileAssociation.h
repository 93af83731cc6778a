#pragma once

#include <QString>

namespace sorvanti {

// The program's document type ".svt" on a freedesktop desktop: a shared-mime-info package,
// a desktop entry that opens the document with the program, the two icons in the hicolor
// theme and the program as the type's default application, all per user. Every name comes
// from the program file, so a renamed program registers a type of its own.
namespace association {

// The document type identifier: the program's file name without its folder, cut before its
// last full stop, + ".svt" ("/opt/Sorvanti" -> "Sorvanti.svt", "/x/a.b.exe" -> "a.b.svt").
QString documentTypeIdentifier(const QString& programPath);

// "application/x-" + the identifier in lower case with "." as "-"
// ("Sorvanti.svt" -> "application/x-sorvanti-svt"). Characters a MIME type cannot hold
// become "-" as well.
QString mimeTypeFor(const QString& identifier);

// The desktop entry's Exec value: the program's path in double quotes and "%f", escaped for
// the entry's quoting rules and for the value string of the file.
QString execValue(const QString& programPath);

// The text of the shared-mime-info package and of the desktop entry.
QString mimePackageText(const QString& identifier);
QString desktopEntryText(const QString& programPath, const QString& identifier);

// mimeapps.list with the type's line in [Default Applications] set to `desktopId` (the
// section is added when missing), or with `desktopId` taken out of that line again (the line
// goes when nothing else is left in it). Every other line stays as it was.
QString withDefault(const QString& list, const QString& mimeType, const QString& desktopId);
QString withoutDefault(const QString& list, const QString& mimeType, const QString& desktopId);
// True when `list` holds nothing but an empty [Default Applications] section.
bool isEmptyList(const QString& list);

// Where per-user data and settings go: $XDG_DATA_HOME and $XDG_CONFIG_HOME, or
// ~/.local/share and ~/.config when they are unset or not absolute.
struct Places {
    QString dataHome;
    QString configHome;
    static Places fromEnvironment();
};

// The files that registration writes for `identifier`.
struct Files {
    QString mimePackage;
    QString desktopEntry;
    QString programIcon;
    QString documentIcon;
    QString mimeappsList;
};
Files filesFor(const QString& identifier, const Places& places);

// Writes (or rewrites, after the program moved) every file of the registration. A write that
// fails throws Error("'' の設定に失敗しました"): what was written before stays, the rest is
// not written.
void registerDocumentType(const QString& programPath, const Places& places);

// Deletes what registration wrote; nothing happens where nothing was registered.
void removeDocumentType(const QString& programPath, const Places& places);

// Has the desktop re-read its MIME and desktop-entry caches (update-mime-database and
// update-desktop-database, where installed).
void notifyDesktop(const Places& places);

} // namespace association
} // namespace sorvanti
