#include "app/ScreenFit.h"

#include <algorithm>
#include <limits>

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

// The rectangle of `box`, whose size is in range already; QRect reckons its far edges as
// start + length - 1, so a start too far out for that is brought back.
QRect rectOf(const Box& box) {
    constexpr int64_t kMin = std::numeric_limits<int>::min();
    constexpr int64_t kMax = std::numeric_limits<int>::max();
    auto start = [](int64_t at, int64_t length) {
        return int(std::clamp(at, kMin + 1 - length, kMax - length));
    };
    return QRect(start(box.left, box.width), start(box.top, box.height), int(box.width),
                 int(box.height));
}

} // namespace

int32_t storedLength(int32_t stored, int minimum, int fallback) {
    return stored >= minimum ? stored : fallback;
}

int32_t centredStart(int screenLength, int32_t windowLength) {
    return static_cast<int32_t>((int64_t{screenLength} - windowLength) >> 1);
}

QRect fitToScreens(const StoredGeometry& stored, const QList<QRect>& available) {
    const Box window{stored.left, stored.top, std::max<int64_t>(stored.width, 0),
                     std::max<int64_t>(stored.height, 0)};
    if (available.isEmpty())
        return rectOf(window);
    for (const QRect& area : available)
        if (fitsOn(window, boxOf(area)))
            return rectOf(window);

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
    return rectOf({clampInto(window.left, width, area.left, area.width),
                   clampInto(window.top, height, area.top, area.height), width, height});
}

} // namespace sorvanti
