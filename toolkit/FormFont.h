#pragma once

#include <QFont>
#include <QStringList>

namespace sorvanti {

// The faces asked for wherever the program shows Japanese: the classic Japanese UI face
// where it exists, then faces that Linux desktops install.
QStringList formFontFamilies();

// The forms' font: those faces at 12 pixels (9 points on a 96-dpi screen).
QFont formFont();

} // namespace sorvanti
