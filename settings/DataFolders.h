#pragma once

#include <string>
#include <vector>

namespace sorvanti {

// The parts of the process environment that say where a user's files belong.
struct UserDirectories {
    std::string home;       // $HOME, or the home folder of the user's account when unset
    std::string configHome; // $XDG_CONFIG_HOME as set (may be empty or relative)
    std::string dataHome;   // $XDG_DATA_HOME as set (may be empty or relative)
    std::string stateHome;  // $XDG_STATE_HOME as set (may be empty or relative)

    static UserDirectories fromProcess();

    // The per-user folders by the XDG rule: the variable when it is an absolute path,
    // otherwise ~/.config/, ~/.local/share/ or ~/.local/state/ under an absolute home; ""
    // when neither is to be had. They end with "/".
    std::string configFolder() const;
    std::string dataFolder() const;
    std::string stateFolder() const;
};

// Where the program keeps its settings file and its dictionaries. The window and
// sorvanti-convert both take them from locateDataFolders(), so they never disagree.
struct DataFolders {
    bool installed = false;
    std::string settingsFile;   // full path of the settings file
    std::string dictionaryBase; // the folder that holds "辞書/", ending with "/"
    std::string samplesBase;    // installed: the folder that holds the shipped "辞書/"; else ""
    std::string keptFolder;     // where unsaved text is kept between runs, ending with "/"
};

// The folders of a program that keeps everything beside itself: the settings file
// settingsFileName(programPath), the dictionaries' base (the program's folder, "./" for a
// bare name), and the kept text in the settings file's name with "kept" in place of "ini"
// ("/opt/x/Sorvanti" -> "/opt/x/Sorvanti.kept/").
DataFolders foldersBeside(const std::string& programPath);

// The rule for the program file `programPath`:
// - a folder "辞書" beside the program (the build folder, a copied program folder): the
//   folders are foldersBeside(programPath);
// - otherwise the program is installed: "$XDG_CONFIG_HOME/Sorvanti/Sorvanti.ini",
//   "$XDG_DATA_HOME/Sorvanti/辞書/" and "$XDG_STATE_HOME/Sorvanti/" for the kept text, where an
//   unset, empty or relative variable means ~/.config, ~/.local/share or ~/.local/state (the
//   data folder's "Sorvanti/kept/" when only the state folder cannot be had); the shipped
//   samples are found from the program's own
//   folder ("../share/sorvanti/辞書/" for /usr/bin), so an installed tree can be moved.
//   Without any home folder to go by, the program stays with the first form.
DataFolders locateDataFolders(const std::string& programPath, const UserDirectories& user);

// The "辞書/" folders in which a dictionary name is looked up, first match wins: the
// user's, then (installed) the shipped samples, so the converter finds them even before
// the window's first start has copied them.
std::vector<std::string> dictionaryBases(const DataFolders& folders);

struct FolderSetup {
    bool firstStart = false; // the user's "辞書/" did not exist and the samples did
    int copied = 0;          // sample files written
    std::string error;       // the first failure: the path and the system's reason
};

// Readies an installed program's folders (a program with "辞書/" beside it needs none):
// makes the settings file's folder, since the settings are written there at exit, and on
// the first start gives the user a "辞書/" of their own holding a copy of each shipped
// "*.txt" sample, so that registration writes to a file the user owns. Later starts leave
// that folder alone (a sample the user deleted stays deleted), and a file that is already
// there is never replaced.
FolderSetup prepareUserFolders(const DataFolders& folders);

} // namespace sorvanti
