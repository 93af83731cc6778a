#pragma once

class QColor;
class QFont;
class QTextEdit;

namespace sorvanti::fontbutton {

// Gives the pane's selection the chosen font: colour, faces, style (bold, italic,
// underline, strike-out), size and pitch. With nothing selected only text typed at the
// caret afterwards takes it.
void applyFont(QTextEdit& pane, const QFont& font, const QColor& color);

} // namespace sorvanti::fontbutton
