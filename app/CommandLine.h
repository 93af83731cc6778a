#pragma once

#include <QString>

#include <optional>

namespace sorvanti::commandline {

// The document named on the command line: the text after the first `" "` (quote, blank,
// quote) with its last character removed; nothing when the line holds no `" "`.
//   "/opt/Sorvanti" "/home/a/b.svt"      -> /home/a/b.svt
//   "/opt/Sorvanti" /home/a/b.svt        -> nothing
//   "/opt/Sorvanti" "a.svt" "b.svt"      -> a.svt" "b.svt
// The rule looks at nothing else, so a line of several documents yields their names
// joined by `" "`, which names no file.
std::optional<QString> documentName(const QString& commandLine);

} // namespace sorvanti::commandline
