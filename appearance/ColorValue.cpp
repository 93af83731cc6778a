#include "appearance/ColorValue.h"

namespace sorvanti::colorvalue {

bool isSystemColor(int32_t value) {
    return (static_cast<uint32_t>(value) & 0xFF000000u) == 0x80000000u;
}

QPalette::ColorRole systemRole(int index) {
    switch (index) {
    case 1:  // desktop
    case 4:  // menu
    case 30: // menu bar
        return QPalette::Window;
    case 5: // window background
        return QPalette::Base;
    case 6:  // window frame
    case 21: // 3D dark shadow
        return QPalette::Shadow;
    case 7: // menu text
        return QPalette::WindowText;
    case 8:  // window text
    case 19: // inactive caption text
        return QPalette::Text;
    case 2:  // active caption
    case 13: // highlight
    case 27: // gradient active caption
    case 29: // menu highlight
        return QPalette::Highlight;
    case 9:  // caption text
    case 14: // highlight text
        return QPalette::HighlightedText;
    case 3:  // inactive caption
    case 28: // gradient inactive caption
        return QPalette::Mid;
    case 12: // application workspace
    case 16: // button shadow
        return QPalette::Dark;
    case 17: // grey text
        return QPalette::PlaceholderText;
    case 18: // button text
        return QPalette::ButtonText;
    case 20: // button highlight
        return QPalette::Light;
    case 22: // 3D light
        return QPalette::Midlight;
    case 23: // tool tip text
        return QPalette::ToolTipText;
    case 24: // tool tip background
        return QPalette::ToolTipBase;
    case 26: // hot-tracked item
        return QPalette::Link;
    default: // 0 scroll bar, 10/11 borders, 15 button face and anything unknown
        return QPalette::Button;
    }
}

QColor toQColor(int32_t value, const QPalette& palette) {
    const auto bits = static_cast<uint32_t>(value);
    if (isSystemColor(value))
        return palette.color(QPalette::Active, systemRole(static_cast<int>(bits & 0xFF)));
    // Any other high byte carries no meaning of its own here: the low three bytes decide.
    return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                  static_cast<int>((bits >> 16) & 0xFF));
}

int32_t fromQColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<int32_t>(static_cast<uint32_t>(rgb.red()) |
                                (static_cast<uint32_t>(rgb.green()) << 8) |
                                (static_cast<uint32_t>(rgb.blue()) << 16));
}

} // namespace sorvanti::colorvalue
