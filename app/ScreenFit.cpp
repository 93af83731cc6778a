#include "app/ScreenFit.h"

#include <algorithm>

namespace sorvanti {

namespace {

// Rectangles in 64 bits: stored values may be anywhere in the 32-bit range.
struct Box {
    int64_t left, top, width, height;
    int64_t right() const { return left + width; }
    int64_t bottom() const { return top + height; }
};

Box boxOf(const QRect& r) {
    return {r.left(), r.top(), r.width(), r.height()};
}

int64_t overlap(const Box& a, const Box& b) {
    const int64_t w = std::min(a.right(), b.right()) - std::max(a.left, b.left);
    const int64_t h = std::min(a.bottom(), b.bottom()) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

bool fitsOn(const Box& window, const Box& area) {
    if (window.width > area.width || window.height > area.height)
        return false;
    if (window.top < area.top || window.top >= area.bottom())
        return false;
    const int64_t visible =
        std::min(window.right(), area.right()) - std::max(window.left, area.left);
    return visible >= std::min<int64_t>(kReachable, std::max<int64_t>(window.width, 1));
}

int64_t clampInto(int64_t start, int64_t length, int64_t areaStart, int64_t areaLength) {
    return std::clamp(start, areaStart, areaStart + areaLength - length);
}

} // namespace

QRect fitToScreens(const StoredGeometry& stored, const QList<QRect>& available) {
    const Box window{stored.left, stored.top, stored.width, stored.height};
    if (available.isEmpty())
        return QRect(stored.left, stored.top, stored.width, stored.height);
    for (const QRect& area : available)
        if (fitsOn(window, boxOf(area)))
            return QRect(stored.left, stored.top, stored.width, stored.height);

    Box area = boxOf(available.first());
    int64_t best = 0;
    for (const QRect& candidate : available) {
        const int64_t shared = overlap(window, boxOf(candidate));
        if (shared > best) {
            best = shared;
            area = boxOf(candidate);
        }
    }
    const int64_t width = std::clamp<int64_t>(window.width, 0, area.width);
    const int64_t height = std::clamp<int64_t>(window.height, 0, area.height);
    const int64_t left = clampInto(window.left, width, area.left, area.width);
    const int64_t top = clampInto(window.top, height, area.top, area.height);
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(width),
                 static_cast<int>(height));
}

} // namespace sorvanti
