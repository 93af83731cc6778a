#include "app/Environment.h"

#include "settings/DataFolders.h"
#include "settings/Oini.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace sorvanti {

Environment Environment::forProgram(const QString& programPath, const QStringList& arguments) {
    Environment env;
    env.programPath = programPath;
    const DataFolders beside = foldersBeside(programPath.toStdString());
    env.programFolder = QString::fromStdString(beside.dictionaryBase);
    // Each part quoted and separated by one blank, the form a document name is read from.
    env.commandLine = QLatin1Char('"') + programPath + QLatin1Char('"');
    for (const QString& arg : arguments)
        env.commandLine += QStringLiteral(" \"") + arg + QLatin1Char('"');
    env.settingsPath = QString::fromStdString(beside.settingsFile);
    env.dataFolder = env.programFolder;
    env.keptFolder = QString::fromStdString(beside.keptFolder);
    return env;
}

Environment Environment::locate(const QString& programPath, const QStringList& arguments,
                                const UserDirectories& user) {
    Environment env = forProgram(programPath, arguments);
    const DataFolders folders = locateDataFolders(programPath.toStdString(), user);
    env.settingsPath = QString::fromStdString(folders.settingsFile);
    env.dataFolder = QString::fromStdString(folders.dictionaryBase);
    env.keptFolder = QString::fromStdString(folders.keptFolder);
    const FolderSetup setup = prepareUserFolders(folders);
    if (!setup.error.empty())
        std::fprintf(stderr, "Sorvanti: 利用者のフォルダを用意できません: %s\n",
                     setup.error.c_str());
    return env;
}

Environment Environment::fromProcess(int argc, char** argv) {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    QString program = ec ? QString() : QString::fromStdString(exe.string());
    if (program.isEmpty() && QCoreApplication::instance())
        program = QCoreApplication::applicationFilePath();
    if (program.isEmpty() && argc > 0)
        program = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return locate(program, arguments, UserDirectories::fromProcess());
}

} // namespace sorvanti
