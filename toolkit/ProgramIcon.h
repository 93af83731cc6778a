#pragma once

#include <QIcon>

namespace sorvanti {

// The program's icon (resources/icons/sorvanti.svg, compiled in as ":/icons/sorvanti.svg"),
// for the title bars of its windows: QApplication::setWindowIcon(programIcon()). Drawing it
// takes Qt's SVG plug-ins (Debian's libqt6svg6); without them the icon is empty.
QIcon programIcon();

} // namespace sorvanti
