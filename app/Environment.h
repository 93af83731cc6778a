#pragma once

#include <QString>
#include <QStringList>

namespace sorvanti {

// Where the program runs from and how it was started. `main` fills it from the process;
// tests make one for a program placed in a temporary folder.
struct Environment {
    QString programPath;   // full path of the program file
    QString programFolder; // its folder, ending with "/"
    QString commandLine;   // "\"<program>\" \"<arg1>\" ..."

    // An environment for the program file `programPath` started with `arguments`.
    static Environment forProgram(const QString& programPath, const QStringList& arguments = {});
    // The running process: the program from /proc/self/exe, the arguments after argv[0].
    static Environment fromProcess(int argc, char** argv);
};

} // namespace sorvanti
