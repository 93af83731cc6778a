#pragma once

#include <QPixmap>

namespace sorvanti {

// The bitmaps of the tool buttons, drawn here rather than shipped as files.
namespace glyphs {

// "VH0" / "VH1": 16 x 17, on a blue square a white and a green rectangle side by side (0)
// or one above the other (1); the bottom row is the transparent colour.
QPixmap splitGlyph(int index);
// The font button's glyph: a letter A over a coloured bar.
QPixmap fontGlyph();

} // namespace glyphs
} // namespace sorvanti
