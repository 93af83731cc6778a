#include "appearance/FontButton.h"

#include <QColor>
#include <QFont>
#include <QTextCharFormat>
#include <QTextEdit>

namespace sorvanti::fontbutton {

void applyFont(QTextEdit& pane, const QFont& font, const QColor& color) {
    QTextCharFormat format;
    format.setForeground(color);
    format.setFontFamilies(font.families().isEmpty() ? QStringList{font.family()}
                                                     : font.families());
    format.setFontWeight(font.weight());
    format.setFontItalic(font.italic());
    format.setFontUnderline(font.underline());
    format.setFontStrikeOut(font.strikeOut());
    if (font.pointSizeF() > 0)
        format.setFontPointSize(font.pointSizeF());
    else
        format.setProperty(QTextFormat::FontPixelSize, font.pixelSize());
    format.setFontFixedPitch(font.fixedPitch());
    // Merging applies to the selection when there is one, else to the caret's format.
    pane.mergeCurrentCharFormat(format);
}

} // namespace sorvanti::fontbutton
