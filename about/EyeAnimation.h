#pragma once

#include <functional>

namespace sorvanti {

// The about box's eyes: which of the ten eye pictures shows and when the next timer tick is
// due. Frames 0–8 look in nine directions on a 3 × 3 grid (3 × row + column, row 0 up,
// column 0 left), 4 straight ahead, 9 closed. Each tick either blinks (from straight ahead
// only, closed for 100 ms, then open for 200 ms) or moves the gaze one step on the grid.
class EyeAnimation {
public:
    static constexpr int kAhead = 4;
    static constexpr int kClosed = 9;
    static constexpr int kFirstInterval = 4000;
    static constexpr int kClosedInterval = 100;
    static constexpr int kReopenedInterval = 200;
    static constexpr int kMoveInterval = 800;     // shortest wait after a move
    static constexpr int kMoveIntervalSpan = 400; // a move waits 800–1199 ms

    // `random` gives non-negative numbers (std::rand by default); tests drive it.
    explicit EyeAnimation(std::function<int()> random);

    int frame() const { return frame_; }
    // Milliseconds to the next tick.
    int interval() const { return interval_; }

    void tick();
    // The eyes turn to a link at once, from whatever frame; the interval is kept.
    void lookAt(int frame) { frame_ = frame; }

    // Whether one tick may move the gaze from `from` to `to` (both 0–8): the same or a
    // neighbouring cell of the grid, diagonals included.
    static bool mayMove(int from, int to);

private:
    std::function<int()> random_;
    int frame_ = kAhead;
    int interval_ = kFirstInterval;
};

} // namespace sorvanti
