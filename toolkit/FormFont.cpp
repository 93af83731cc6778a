#include "toolkit/FormFont.h"

namespace sorvanti {

QStringList formFontFamilies() {
    return {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
            QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"),
            QStringLiteral("VL PGothic")};
}

QFont formFont() {
    QFont font;
    font.setFamilies(formFontFamilies());
    font.setPixelSize(12);
    return font;
}

} // namespace sorvanti
