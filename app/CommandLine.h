#pragma once

#include <QString>

#include <optional>
#include <string>

namespace sorvanti::commandline {

// The document named on the command line: the text after the first `" "` (quote, blank,
// quote) with its last character removed; nothing when the line holds no `" "`.
//   "/opt/Sorvanti" "/home/a/b.svt"      -> /home/a/b.svt
//   "/opt/Sorvanti" /home/a/b.svt        -> nothing
//   "/opt/Sorvanti" "a.svt" "b.svt"      -> a.svt" "b.svt
// The rule looks at nothing else, so a line of several documents yields their names
// joined by `" "`, which names no file.
std::optional<QString> documentName(const QString& commandLine);

// What the program prints instead of opening its window when its only argument asks for
// information, as command-line programs answer: "--help" (or "-h") the usage, "--version" the
// version. Nothing for any other command line, which then names a document as above.
std::optional<std::string> informationRequested(int argc, const char* const* argv);

} // namespace sorvanti::commandline
