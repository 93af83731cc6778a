#include "about/EyeAnimation.h"

#include <cstdlib>
#include <utility>

namespace sorvanti {

EyeAnimation::EyeAnimation(std::function<int()> random) : random_(std::move(random)) {}

bool EyeAnimation::mayMove(int from, int to) {
    return std::abs(from / 3 - to / 3) <= 1 && std::abs(from % 3 - to % 3) <= 1;
}

void EyeAnimation::tick() {
    if (frame_ == kClosed) {
        frame_ = kAhead;
        interval_ = kReopenedInterval;
        return;
    }
    if (frame_ == kAhead && random_() % 2 == 0) {
        frame_ = kClosed;
        interval_ = kClosedInterval;
        return;
    }
    int next = kAhead;
    if (random_() % 3 != 0) {
        do
            next = random_() % 9;
        while (!mayMove(frame_, next));
    }
    frame_ = next;
    interval_ = kMoveInterval + random_() % kMoveIntervalSpan;
}

} // namespace sorvanti
