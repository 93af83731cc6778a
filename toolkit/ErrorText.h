#pragma once

#include <string>

namespace sorvanti {

// What a failed system call's error number `error` means, in Japanese, for messages that a
// user reads: a short text of the program's own for the errors that file operations meet,
// and for any other "システムエラー (errno N)".
// Example: systemErrorText(ENOENT) == "そのようなファイルやフォルダーはありません".
std::string systemErrorText(int error);

// "path: " and that text, for a failure on one file or folder.
std::string pathErrorText(const std::string& path, int error);

} // namespace sorvanti
