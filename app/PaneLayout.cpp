#include "app/PaneLayout.h"

namespace sorvanti {

PaneLayout PaneLayout::compute(int panelWidth, int panelHeight, int orientation) {
    const auto W = static_cast<int16_t>(panelWidth - 2);
    const auto H = static_cast<int16_t>(panelHeight - 2);
    const int o = orientation & 1;
    const auto fw = static_cast<int16_t>(W >> o);
    const auto fh = static_cast<int16_t>(H >> (o ^ 1));
    int16_t top = 0;
    int16_t left = 0;
    PaneLayout layout;
    for (int p = 0; p < 2; ++p) {
        // QRect keeps a negative width or height as given; the widgets clamp it.
        layout.frame[p] = QRect(left, top, fw, fh);
        layout.pane[p] = QRect(6, 12, static_cast<int16_t>(fw - 12), static_cast<int16_t>(fh - 18));
        top = static_cast<int16_t>(top + static_cast<int16_t>((H >> 1) * (o ^ 1)));
        left = static_cast<int16_t>(left + static_cast<int16_t>((W >> 1) * o));
    }
    return layout;
}

} // namespace sorvanti
