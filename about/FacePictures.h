#pragma once

#include <QImage>
#include <QPoint>

namespace sorvanti::facepictures {

// The about box's face, 64 × 64 in the 16 basic colours on a transparent ground, and the
// 26 × 8 eye strip laid over it at kEyeOffset. The face carries the eyes of picture 4.
inline constexpr QPoint kEyeOffset{4, 38};
inline constexpr int kEyeWidth = 26;
inline constexpr int kEyeHeight = 8;

QImage face();

// Eye picture `frame`: 0–8 two 4 × 4 pupils looking in the grid direction of the frame,
// 9 two 6 × 2 closed lids; the ground is the face colour.
QImage eyes(int frame);

} // namespace sorvanti::facepictures
