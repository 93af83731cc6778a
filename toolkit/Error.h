#pragma once

#include <stdexcept>
#include <string>

namespace sorvanti {

// An error meant for the user. The message is UTF-8 and complete without the final "."
// that the error box adds (for example "ファイル /tmp/a.svt は開けません").
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A command abandoned on purpose (the user cancelled); unwinds to the event loop
// and is swallowed there without any message.
class Abort : public std::exception {
public:
    const char* what() const noexcept override { return "abort"; }
};

} // namespace sorvanti
