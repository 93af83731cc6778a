#pragma once

#include "toolkit/Error.h"
#include "toolkit/Messages.h"

#include <exception>
#include <utility>

class QWidget;

namespace sorvanti {

// Runs one event handler the way the event loop runs them: an error that escapes is shown
// in the standard error box, a silent abort is dropped, and either way the program goes on.
// Returns true when `fn` ran to its end.
template <typename Fn> bool guarded(QWidget* parent, Fn&& fn) noexcept {
    try {
        std::forward<Fn>(fn)();
        return true;
    } catch (const Abort&) {
    } catch (const std::exception& e) {
        try {
            ReportException(parent, QString::fromUtf8(e.what()));
        } catch (...) {
        }
    } catch (...) {
        try {
            ReportException(parent, QString());
        } catch (...) {
        }
    }
    return false;
}

} // namespace sorvanti
