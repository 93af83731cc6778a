#include "about/FacePictures.h"

#include "toolkit/BasicColors.h"

#include <QPainter>
#include <QPainterPath>

namespace sorvanti::facepictures {

using namespace basiccolors;

QImage eyes(int frame) {
    QImage image(kEyeWidth, kEyeHeight, QImage::Format_ARGB32);
    image.fill(kRed);
    QPainter painter(&image);
    if (frame == 9) {
        painter.fillRect(1, 3, 6, 2, kBlack);
        painter.fillRect(19, 3, 6, 2, kBlack);
    } else {
        const int x = 2 * (frame % 3);
        const int y = 2 * (frame / 3);
        painter.fillRect(x, y, 4, 4, kBlack);
        painter.fillRect(x + 18, y, 4, 4, kBlack);
    }
    return image;
}

QImage face() {
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);

    // An abacus behind the face, up on the right: frame, beam, rods and beads.
    painter.fillRect(30, 4, 32, 30, kMaroon);
    painter.fillRect(33, 7, 26, 24, kWhite);
    painter.fillRect(33, 14, 26, 2, kMaroon);
    for (int rod = 0; rod < 5; ++rod) {
        const int x = 36 + rod * 5;
        painter.fillRect(x, 7, 1, 24, kOlive);
        painter.fillRect(x - 1, rod % 2 ? 8 : 10, 3, 3, kTeal);
        for (int bead = 0; bead < 2 + rod % 3; ++bead)
            painter.fillRect(x - 1, 27 - bead * 4, 3, 3, kTeal);
    }

    // The face: a red round head, a yellow cap, cheeks and a smile. Without antialiasing,
    // so that the picture keeps to its few colours.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kRed);
    painter.drawEllipse(QRect(0, 22, 35, 41));
    painter.setBrush(kYellow);
    QPainterPath cap;
    cap.moveTo(1, 34);
    cap.cubicTo(2, 16, 32, 16, 34, 34);
    cap.closeSubpath();
    painter.drawPath(cap);
    painter.fillRect(0, 33, 36, 3, kOlive);
    painter.fillRect(3, 49, 4, 2, kFuchsia);
    painter.fillRect(28, 49, 4, 2, kFuchsia);
    painter.setPen(QPen(kBlack, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRect(11, 48, 13, 8), 200 * 16, 140 * 16);

    painter.drawImage(kEyeOffset, eyes(4));
    return image;
}

} // namespace sorvanti::facepictures
