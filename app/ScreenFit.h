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

// The geometry to show for `stored`, given the available areas of the screens (the first is
// the primary screen). A geometry that fits is kept exactly: it is no larger than the area of
// the screen it is on, and its top edge lies on that area with at least kReachable pixels
// of its width, so the user can still grab it there. Otherwise the size is cut to the area of
// the screen it overlaps most (the primary when none) and the window is moved just enough to
// lie inside that area. With no screen known, `stored` is returned as it is.
QRect fitToScreens(const StoredGeometry& stored, const QList<QRect>& available);

constexpr int kReachable = 64;

} // namespace sorvanti
