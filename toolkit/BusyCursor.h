#pragma once

#include <QGuiApplication>

namespace sorvanti {

// Shows the busy cursor for the lifetime of the object: around work that may take seconds
// (a long conversion, loading or saving a large document) so the user sees it is under way.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace sorvanti
