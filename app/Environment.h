#pragma once

#include "settings/DataFolders.h"

#include <QString>
#include <QStringList>

namespace sorvanti {

// Where the program runs from and how it was started. `main` fills it from the process;
// tests make one for a program placed in a temporary folder.
struct Environment {
    QString programPath;   // full path of the program file
    QString programFolder; // its folder, ending with "/"
    QString commandLine;   // "\"<program>\" \"<arg1>\" ..."
    QString settingsPath;  // the settings file (Oini maps a name ending in ".ini" to itself)
    QString dataFolder;    // the folder that holds "辞書/", ending with "/"
    QString keptFolder;    // where unsaved text is kept between runs, ending with "/"

    // An environment for the program file `programPath` started with `arguments`, its
    // settings and dictionaries beside it whether or not "辞書/" is there yet.
    static Environment forProgram(const QString& programPath, const QStringList& arguments = {});
    // The same program placed by locateDataFolders() for `user`; an installed program's
    // folders are readied (prepareUserFolders) and a failure is told on standard error,
    // since no window is there yet to show it.
    static Environment locate(const QString& programPath, const QStringList& arguments,
                              const UserDirectories& user);
    // The running process: the program from /proc/self/exe, the arguments after argv[0],
    // located for the user's own folders.
    static Environment fromProcess(int argc, char** argv);
};

} // namespace sorvanti
