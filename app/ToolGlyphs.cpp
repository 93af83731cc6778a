#include "app/ToolGlyphs.h"

#include "toolkit/BasicColors.h"

#include <QImage>
#include <QPainter>

namespace sorvanti::glyphs {

using namespace basiccolors;

namespace {

// The bitmap's transparent colour is the one of its bottom-left pixel.
QPixmap withTransparentSilver(QImage image) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == key)
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
    return QPixmap::fromImage(image);
}
} // namespace

QPixmap splitGlyph(int index) {
    QImage image(16, 17, QImage::Format_RGB32);
    image.fill(kSilver);
    QPainter painter(&image);
    painter.fillRect(0, 0, 16, 16, kBlue);
    if (index == 0) {
        painter.fillRect(2, 2, 5, 12, kWhite);
        painter.fillRect(9, 2, 5, 12, kGreen);
    } else {
        painter.fillRect(2, 2, 12, 5, kWhite);
        painter.fillRect(2, 9, 12, 5, kGreen);
    }
    painter.end();
    return withTransparentSilver(image);
}

QPixmap fontGlyph() {
    QImage image(16, 17, QImage::Format_RGB32);
    image.fill(kSilver);
    QPainter painter(&image);
    painter.setPen(QPen(kBlack, 2));
    painter.drawLine(3, 13, 8, 1);
    painter.drawLine(8, 1, 13, 13);
    painter.drawLine(5, 9, 11, 9);
    painter.fillRect(1, 14, 14, 2, kRed);
    painter.end();
    return withTransparentSilver(image);
}

} // namespace sorvanti::glyphs
