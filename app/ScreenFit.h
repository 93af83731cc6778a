#pragma once

#include <QList>
#include <QRect>

#include <cstdint>

namespace sorvanti {

// A window geometry as the settings file stores it: any 32-bit values.
struct StoredGeometry {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// A stored width or height as the window takes it: `stored` when the window can have it (it is
// at least `minimum`, the window's minimum), else `fallback`, the default size.
// Example: (-5, 120, 441) -> 441; (500, 120, 441) -> 500.
int32_t storedLength(int32_t stored, int minimum, int fallback);

// Where a window of `windowLength` starts when it is centred on a screen of `screenLength`:
// half of what is left beside it, rounded down; negative when the window is the larger.
// Computed in 64 bits, so any stored length gives a value in range.
int32_t centredStart(int screenLength, int32_t windowLength);

// The geometry to show for `stored`, given the available areas of the screens (the first is
// the primary screen). A geometry that fits is kept exactly: it is no larger than the area of
// the screen it is on, and its top edge lies on that area with at least kReachable pixels
// of its width, so the user can still grab it there. Otherwise the size is cut to the area of
// the screen it overlaps most (the primary when none) and the window is moved just enough to
// lie inside that area. With no screen known, `stored` is returned as it is, but for a
// position that would put the far edge past the range of a rectangle. A size below 0 counts
// as 0.
QRect fitToScreens(const StoredGeometry& stored, const QList<QRect>& available);

constexpr int kReachable = 64;

} // namespace sorvanti
