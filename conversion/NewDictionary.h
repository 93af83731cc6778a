#pragma once

#include <string>
#include <string_view>

namespace sorvanti::newdictionary {

// Why a name cannot name a new dictionary in the dictionary folder.
enum class NameProblem {
    None,
    Empty,
    Slash,   // holds "/", which would name a file in another folder
    Zero,    // holds a zero byte, which no file name can
    Dots,    // "." or "..", which name folders
    Exists,  // a file (or anything else) of that name is there
    TooLong, // name + ".txt" is longer than the file system takes
};

// The problem of `name` (UTF-8) as a new dictionary in dataFolder + "辞書/".
NameProblem checkName(const std::string& dataFolder, std::string_view name);

// Creates the empty dictionary `name` there (an empty file reads as code page 932 and is
// written with CR LF), and the folder when it is missing. 0, or the system's error number
// (EEXIST when the name was taken meanwhile).
int create(const std::string& dataFolder, std::string_view name);

} // namespace sorvanti::newdictionary
