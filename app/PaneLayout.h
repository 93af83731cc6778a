#pragma once

#include <QRect>

#include <array>
#include <cstdint>

namespace sorvanti {

// Where the two frames go inside the centre panel and the two panes inside their frames.
// The arithmetic is 16-bit signed with arithmetic shifts, and sizes are passed on as
// computed: a panel smaller than the margins gives negative sizes.
struct PaneLayout {
    std::array<QRect, 2> frame; // relative to the centre panel
    std::array<QRect, 2> pane;  // relative to its frame

    // `orientation` 0: stacked, pane 0 above; 1: side by side, pane 0 on the left.
    static PaneLayout compute(int panelWidth, int panelHeight, int orientation);
};

} // namespace sorvanti
