#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace sorvanti {

// The program's 32-bit colour values: 0x00BBGGRR for a colour of its own, 0x80000000 + n
// for system colour n, which follows the palette (5 window background -> Base,
// 15 button face -> Button, ...).
namespace colorvalue {

constexpr int32_t kButtonFace = static_cast<int32_t>(0x8000000F);
constexpr int32_t kWindow = static_cast<int32_t>(0x80000005);
constexpr int32_t kSkyBlue = 0x00F0CAA6;
constexpr int32_t kMoneyGreen = 0x00C0DCC0;

bool isSystemColor(int32_t value);
// The palette role that stands in for system colour `index`.
QPalette::ColorRole systemRole(int index);
QColor toQColor(int32_t value, const QPalette& palette);
// An opaque colour as 0x00BBGGRR.
int32_t fromQColor(const QColor& color);

} // namespace colorvalue
} // namespace sorvanti
